#include "cli/device_access_hint.h"
#include "files/user_database.h"

#include <optional>
#include <sys/stat.h>

namespace quarvel {
namespace {

// The group that owns the device file and may open it, where the device can be looked at.
std::optional<std::string> deviceGroup(const std::string& device) {
    struct stat status {};
    if (::stat(device.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return groupName(status.st_gid);
}

} // namespace

std::string deviceAccessHint(const std::string& device) {
    // Debian's serial ports belong to dialout.
    const std::string group = deviceGroup(device).value_or("dialout");
    return device + " belongs to group " + group + "; join it with \"sudo usermod -aG " + group +
           " $USER\", then log in again\n";
}

} // namespace quarvel
