#pragma once

#include <optional>
#include <string>

namespace quarvel {

// The names of a port that stay the same from one plugging in to the next, where the system
// makes them: on Linux its links in /dev/serial/by-id (the adapter) and /dev/serial/by-path (the
// socket it is in). One file per platform.
struct StableNames {
    std::optional<std::string> byId;
    std::optional<std::string> byPath;
};

StableNames stablePortNames(const std::string& device);

} // namespace quarvel
