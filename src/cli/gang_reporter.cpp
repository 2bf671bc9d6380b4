#include "cli/gang_reporter.h"

#include "cli/json_reporter.h"
#include "cli/retry_prompt.h"

#include <cstdio>
#include <string>
#include <utility>

namespace quarvel {
namespace {

// The policy's answer, told on the error stream under the port's name.
bool answerByPolicy(GangOutput& output, std::size_t load, RetryPolicy retry) {
    const bool tryAgain = retry == RetryPolicy::Always;
    output.note(load, std::string(kRetryPrompt) + (tryAgain ? " Try Again" : " Cancel"));
    return tryAgain;
}

} // namespace

GangReporter::GangReporter(GangOutput& output, std::size_t load, RetryPolicy retry,
                           std::function<bool()> stopped)
    : LoadOutput(std::move(stopped)), m_output(output), m_load(load), m_retry(retry) {}

void GangReporter::addMessage(std::string_view text) {
    // What a load says after Ctrl-C is about the interruption, not the device.
    if (!stopped()) {
        m_output.message(m_load, text);
    }
}

void GangReporter::setPercentage(int percent) {
    m_output.percentage(m_load, percent);
}

bool GangReporter::askRetry() {
    return !stopped() && answerByPolicy(m_output, m_load, m_retry);
}

void GangReporter::errorLine(std::string_view line) {
    m_output.errorLine(line);
}

void GangReporter::finish(bool failed) {
    if (failed) {
        m_output.message(m_load, "Error!");
    }
}

std::unique_ptr<LoadOutput> makeGangLoadOutput(const LoadOptions& options, GangOutput& output,
                                               std::size_t load, std::function<bool()> stopped) {
    if (!options.json) {
        return std::make_unique<GangReporter>(output, load, options.retry, std::move(stopped));
    }
    return std::make_unique<JsonReporter>(
        stdout, output.port(load),
        [&output, load, retry = options.retry] { return answerByPolicy(output, load, retry); },
        std::move(stopped));
}

} // namespace quarvel
