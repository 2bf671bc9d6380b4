#include "cli/json_reporter.h"

#include <utility>

namespace quarvel {

JsonReporter::JsonReporter(std::FILE* output, std::optional<std::string> port,
                           std::function<bool()> askOperator, std::function<bool()> stopped)
    : LoadOutput(std::move(stopped)), m_output(output), m_port(std::move(port)),
      m_askOperator(std::move(askOperator)) {}

void JsonReporter::addMessage(std::string_view text) {
    // What a load says after Ctrl-C is about the interruption, not the device.
    if (stopped()) {
        return;
    }
    write(event("message").add("text", text));
}

void JsonReporter::setPercentage(int percent) {
    if (percent == m_percent) {
        return;
    }
    m_percent = percent;
    write(event("progress").add("percent", std::int64_t{percent}));
}

bool JsonReporter::askRetry() {
    if (stopped()) {
        return false;
    }
    const bool tryAgain = m_askOperator();
    write(event("retry").add("answer", tryAgain ? "try-again" : "cancel"));
    return tryAgain;
}

void JsonReporter::finish(bool failed) {
    const std::optional<LoadFailure> reason = failed ? failure() : std::nullopt;
    const char* status = "completed";
    if (reason == LoadFailure::Interrupted) {
        status = "interrupted";
    } else if (failed) {
        status = "failed";
    }
    write(event("result")
              .add("status", status)
              .addOrNull("reason",
                         reason ? std::optional<std::string>(failureName(*reason)) : std::nullopt));
}

JsonObject JsonReporter::event(std::string_view name) const {
    JsonObject object;
    object.add("event", name);
    if (m_port) {
        object.add("port", std::string_view(*m_port));
    }
    return object;
}

void JsonReporter::write(const JsonObject& event) {
    // One write per line, so that the lines of loads sharing the output never interleave.
    const std::string line = event.text() + '\n';
    std::fwrite(line.data(), 1, line.size(), m_output);
    std::fflush(m_output);
}

} // namespace quarvel
