#pragma once

#include "cli/station_options.h"

namespace quarvel {

// Loads unit after unit at every port of options at once, each port on its own: waits for a
// unit, loads it, says how it ended, appends its record to the log, waits for it to go. Ends at
// Ctrl-C, once every port has loaded its --units, or when the log cannot be written; then one
// line per port with its units passed and failed. Answers the exit code: success only when
// every unit passed and the log took every record.
int serveStation(const StationOptions& options);

} // namespace quarvel
