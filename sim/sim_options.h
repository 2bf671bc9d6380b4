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
