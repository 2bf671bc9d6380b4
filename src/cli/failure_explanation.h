#pragma once

#include "job/load_failure.h"
#include "link/byte_channel.h"
#include "link/command_set.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quarvel {

// What the command line knows of a failed load beyond its message lines.
struct FailureFacts {
    // The port as the operator named it: "port 3" or the device path.
    std::string port;
    std::string file;
    bool bootMode = false;
    // 0 to 15, or 127 for every device.
    std::uint8_t channel = kAllChannels;
    // Why the port did not open, when that is how the load ended.
    std::optional<OpenFailure> openFailure;
};

// Why the load failed, as lines for standard error without their line feeds; none where the
// message lines already say all the program knows.
std::vector<std::string> explainFailure(LoadFailure reason, const FailureFacts& facts);

} // namespace quarvel
