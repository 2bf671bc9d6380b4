#pragma once

#include <optional>
#include <string>

namespace quarvel {

// The group that owns a device file and may open it (dialout on Debian), where the system has
// such groups and the device can be looked at.
std::optional<std::string> deviceGroup(const std::string& device);

} // namespace quarvel
