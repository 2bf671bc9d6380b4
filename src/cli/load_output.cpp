#include "cli/load_output.h"

#include "cli/json_reporter.h"
#include "cli/terminal_columns.h"
#include "cli/terminal_reporter.h"

#include <cstdio>
#include <string>
#include <utility>

namespace quarvel {

void LoadOutput::errorLine(std::string_view line) {
    // One write, so that the lines of loads sharing the stream never interleave.
    std::string whole(line);
    whole.push_back('\n');
    std::fwrite(whole.data(), 1, whole.size(), stderr);
    std::fflush(stderr);
}

std::unique_ptr<LoadOutput> makeLoadOutput(const LoadOptions& options,
                                           std::function<bool()> stopped) {
    if (!options.json) {
        TerminalReporter::Streams streams;
        streams.columns = terminalColumns(stderr);
        return std::make_unique<TerminalReporter>(streams, options.progress, options.retry,
                                                  std::move(stopped));
    }
    // The retry question stays with the operator on the error stream and the input; the
    // percentage goes into the events only.
    auto question = std::make_shared<TerminalReporter>(TerminalReporter::Streams{},
                                                       ProgressStyle::None, options.retry, stopped);
    return std::make_unique<JsonReporter>(
        stdout, std::nullopt, [question] { return question->askRetry(); }, std::move(stopped));
}

} // namespace quarvel
