#pragma once

#include "cli/json_writer.h"
#include "cli/load_output.h"

#include <cstdio>
#include <functional>
#include <optional>
#include <string>

namespace quarvel {

// A load's events as one JSON object per line, for programs that drive quarvel-cli:
//   {"event":"message","text":"..."}             a message line of the job
//   {"event":"progress","percent":N}             each new percentage
//   {"event":"retry","answer":"try-again"|"cancel"}
//   {"event":"result","status":"completed"|"failed"|"interrupted","reason":...}  last
// The result takes the place of the closing "Error!"; its reason is the failure's name, or null
// when the load completed. Given a port label, every event carries it as "port", so that the
// events of several loads can share one output.
class JsonReporter final : public LoadOutput {
public:
    // askOperator puts the retry question and answers true for Try Again; stopped tells that
    // Ctrl-C was pressed.
    JsonReporter(std::FILE* output, std::optional<std::string> port,
                 std::function<bool()> askOperator, std::function<bool()> stopped);

    void addMessage(std::string_view text) override;
    void setPercentage(int percent) override;
    bool askRetry() override;

    // Writes the result event.
    void finish(bool failed) override;

private:
    // An event of that name, with the port when there is one.
    JsonObject event(std::string_view name) const;
    void write(const JsonObject& event);

    std::FILE* m_output;
    std::optional<std::string> m_port;
    std::function<bool()> m_askOperator;
    // As the bar control: it starts at 0 and tells only of changes.
    int m_percent = 0;
};

} // namespace quarvel
