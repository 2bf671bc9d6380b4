#pragma once

#include "cli/load_options.h"
#include "cli/load_output.h"

#include <cstddef>
#include <cstdio>
#include <functional>
#include <optional>

namespace quarvel {

// The loading dialog on a terminal: message lines on the output, the percentage on the error
// stream, the retry question answered by policy or by the operator on the input.
class TerminalReporter final : public LoadOutput {
public:
    struct Streams {
        std::FILE* output = stdout;
        std::FILE* error = stderr;
        std::FILE* input = stdin;
        // Columns of the terminal the error stream writes to; 0 where that is not known.
        std::size_t columns = 0;
    };

    TerminalReporter(Streams streams, ProgressStyle progress, RetryPolicy retry,
                     std::function<bool()> stopped);

    void addMessage(std::string_view text) override;
    void setPercentage(int percent) override;
    bool askRetry() override;
    void errorLine(std::string_view line) override;

    // Ends the load's output: "Error!" after a failed load, and the bar's line closed.
    void finish(bool failed) override;

private:
    // line on stream, with the bar taken away for it and drawn again after.
    void writeLine(std::FILE* stream, std::string_view line);
    void drawBar();
    void clearBar();
    bool readAnswer();

    Streams m_streams;
    ProgressStyle m_progress;
    RetryPolicy m_retry;
    // As the bar control: it starts at 0 and repaints only when the value changes.
    int m_percent = 0;
    bool m_barShown = false;
    // Characters of the bar's line as last drawn, which clearing it blanks.
    int m_barLength = 0;
};

} // namespace quarvel
