#pragma once

#include "cli/load_options.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quarvel {

// The --port that stands for the one port where a device answers.
inline constexpr std::string_view kAutoPort = "auto";

// True when ports hold --port auto; usage error when it is not the only --port.
bool wantsAutoPort(const std::vector<PortChoice>& ports, std::string& error);

// Probes every port (as `ports --probe` does) and answers the one where a device answers the
// search frame on channel, saying on the error stream which it is. None, or several, is said
// there too, with the ports that answered, and answers nothing.
std::optional<PortChoice> answeringPort(std::uint8_t channel, std::string_view command);

} // namespace quarvel
