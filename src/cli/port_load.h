#pragma once

#include "cli/failure_explanation.h"
#include "cli/load_options.h"
#include "cli/load_output.h"

#include <optional>
#include <string>

namespace quarvel {

// How one port's load ended.
struct PortLoadResult {
    bool completed = false;
    // Why it failed, when the job or Ctrl-C said so.
    std::optional<LoadFailure> failure;
    // What the error stream may say of the failure.
    FailureFacts facts;
};

// Loads file through port as the options say, the way the loading dialog runs its job but without
// its pause between steps, until the job ends or Ctrl-C is pressed; releases the port and the file
// either way and ends output. traceLabel names the port on the --trace lines of a gang.
PortLoadResult runPortLoad(const LoadOptions& options, const PortChoice& port,
                           const std::string& file, LoadOutput& output,
                           const std::string& traceLabel = {});

} // namespace quarvel
