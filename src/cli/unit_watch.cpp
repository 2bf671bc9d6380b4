#include "cli/unit_watch.h"

#include <cstdio>
#include <string>
#include <utility>

namespace quarvel {

UnitWatch::UnitWatch(LoadOutput& output, std::function<std::int64_t()> clockMs,
                     std::function<bool()> stopped)
    : LoadOutput(std::move(stopped)), m_output(output), m_clockMs(std::move(clockMs)) {}

void UnitWatch::addMessage(std::string_view text) {
    // The job's own lines mark where each step of the load begins.
    if (text == "Searching for device") {
        beginStep(&m_facts.searchMs);
    } else if (text == "Erasing flash") {
        beginStep(&m_facts.eraseMs);
    } else if (text == "Flash Erased, sending new program") {
        beginStep(&m_facts.transferMs);
    } else if (text.ends_with("Trying record again")) {
        ++m_facts.retries;
    } else if (int type = 0, expected = 0;
               std::sscanf(std::string(text).c_str(), "Found Device %d, expecting %d", &type,
                           &expected) == 2) {
        m_facts.deviceType = type;
    }
    m_output.addMessage(text);
}

void UnitWatch::setPercentage(int percent) {
    m_output.setPercentage(percent);
}

bool UnitWatch::askRetry() {
    return m_output.askRetry();
}

void UnitWatch::failed(LoadFailure reason) {
    LoadOutput::failed(reason);
    m_output.failed(reason);
}

void UnitWatch::errorLine(std::string_view line) {
    m_output.errorLine(line);
}

void UnitWatch::finish(bool failed) {
    beginStep(nullptr);
    m_output.finish(failed);
}

void UnitWatch::beginStep(std::optional<std::int64_t>* step) {
    const std::int64_t now = m_clockMs();
    if (m_step != nullptr) {
        *m_step = now - m_stepStartMs;
    }
    m_step = step;
    m_stepStartMs = now;
}

} // namespace quarvel
