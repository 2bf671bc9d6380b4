#pragma once

#include "cli/load_options.h"

namespace quarvel {

// Loads the file into the devices on every port of options at once, each with a job, a line and
// a clock of its own, and ends with one summary line per port. Answers the exit code: success
// only when every load completed.
int runGangLoad(const LoadOptions& options);

} // namespace quarvel
