#pragma once

#include "cli/load_options.h"
#include "job/load_reporter.h"

#include <functional>
#include <memory>
#include <optional>

namespace quarvel {

// A load's reporter on the command line: beside what the job reports, it ends the output when the
// load ends and keeps why it failed for the explanation on the error stream.
class LoadOutput : public LoadReporter {
public:
    // Ends the load's output; failed is true for a load that failed or was interrupted.
    virtual void finish(bool failed) = 0;
    // Why the load failed, once it has; Ctrl-C outweighs what the job saw of it.
    virtual std::optional<LoadFailure> failure() const = 0;
};

// The output that options ask for: JSON events or the message lines with their percentage.
// stopped tells that Ctrl-C was pressed.
std::unique_ptr<LoadOutput> makeLoadOutput(const LoadOptions& options,
                                           std::function<bool()> stopped);

} // namespace quarvel
