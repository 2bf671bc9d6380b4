#pragma once

#include "cli/load_options.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quarvel {

// The device a port opens, named so that two spellings of one device give one name: a link and
// its target, a COM number and its device path, 3 and \\.\COM3. One file per platform.
std::string deviceIdentity(const std::string& devicePath);

// The first two ports, as given, that open one device; nothing when each opens a device of its own.
std::optional<std::pair<std::string, std::string>>
portsOnOneDevice(const std::vector<PortChoice>& ports);

} // namespace quarvel
