#include "cli/gang_reporter.h"

#include "cli/retry_prompt.h"

#include <string>
#include <utility>

namespace quarvel {

GangReporter::GangReporter(GangOutput& output, std::size_t load, RetryPolicy retry,
                           std::function<bool()> stopped)
    : m_output(output), m_load(load), m_retry(retry), m_stopped(std::move(stopped)) {}

void GangReporter::addMessage(std::string_view text) {
    // What a load says after Ctrl-C is about the interruption, not the device.
    if (!m_stopped()) {
        m_output.message(m_load, text);
    }
}

void GangReporter::setPercentage(int percent) {
    m_output.percentage(m_load, percent);
}

bool GangReporter::askRetry() {
    if (m_stopped()) {
        return false;
    }
    const bool tryAgain = m_retry == RetryPolicy::Always;
    m_output.note(m_load, std::string(kRetryPrompt) + (tryAgain ? " Try Again" : " Cancel"));
    return tryAgain;
}

void GangReporter::failed(LoadFailure reason) {
    m_failure = reason;
}

LoadFailure GangReporter::failure() const {
    if (m_stopped() || !m_failure) {
        return LoadFailure::Interrupted;
    }
    return *m_failure;
}

} // namespace quarvel
