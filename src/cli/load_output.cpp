#include "cli/load_output.h"

#include "cli/json_reporter.h"
#include "cli/terminal_reporter.h"

#include <utility>

namespace quarvel {

std::unique_ptr<LoadOutput> makeLoadOutput(const LoadOptions& options,
                                           std::function<bool()> stopped) {
    if (!options.json) {
        return std::make_unique<TerminalReporter>(TerminalReporter::Streams{}, options.progress,
                                                  options.retry, std::move(stopped));
    }
    // The retry question stays with the operator on the error stream and the input; the
    // percentage goes into the events only.
    auto question = std::make_shared<TerminalReporter>(TerminalReporter::Streams{},
                                                       ProgressStyle::None, options.retry, stopped);
    return std::make_unique<JsonReporter>(
        stdout, std::nullopt, [question] { return question->askRetry(); }, std::move(stopped));
}

} // namespace quarvel
