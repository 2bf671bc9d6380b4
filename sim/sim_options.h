#pragma once

#include "sim/device_model.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quarvel {

// What ktv-sim is asked to do by its command line.
struct SimOptions {
    DeviceConfig device;
    std::string linkPath;
    std::string flashOutPath;
    std::string receivedOutPath;
    bool paced = false;
    // No unit on the line at the start: silent until told to put one on.
    bool absent = false;
    // The unit, counted from 1 as they are put on, whose flash refuses every record; 0 for none.
    int failingUnit = 0;
    bool once = false;
    bool verbose = false;
    bool help = false;
    bool version = false;
};

struct SimOptionsResult {
    std::optional<SimOptions> options;
    // Why the command line was refused, when it was.
    std::string error;
};

SimOptionsResult parseSimOptions(std::span<const std::string_view> arguments);

// The --help text.
std::string_view simUsage();

} // namespace quarvel
