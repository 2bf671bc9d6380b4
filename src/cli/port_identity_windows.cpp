#include "cli/port_identity.h"

#include <algorithm>
#include <cctype>

namespace quarvel {

std::string deviceIdentity(const std::string& devicePath) {
    std::string name = devicePath;
    // \\.\COM3 is the form that reaches every COM port; the system's names ignore case.
    constexpr std::string_view kDevicePrefix = "\\\\.\\";
    if (name.starts_with(kDevicePrefix)) {
        name.erase(0, kDevicePrefix.size());
    }
    std::ranges::transform(name, name.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name;
}

} // namespace quarvel
