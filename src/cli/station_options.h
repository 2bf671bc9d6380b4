#pragma once

#include "cli/load_options.h"

#include <span>
#include <string>

namespace quarvel {

// What `quarvel-cli station` was asked to do: each unit is loaded as `load --retry never` with
// the same file, ports, channel, boot switch and --json.
struct StationOptions {
    LoadOptions load;
    // The unit record log; empty for none.
    std::string logPath;
    // Units to load at each port before the station ends; 0 for no end but Ctrl-C.
    int units = 0;
    bool helpWanted = false;
};

// Reads the arguments after `station`. On bad usage answers false with error saying why.
bool parseStationOptions(std::span<char* const> args, StationOptions& options, std::string& error);

} // namespace quarvel
