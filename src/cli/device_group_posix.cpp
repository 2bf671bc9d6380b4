#include "cli/device_group.h"

#include <grp.h>
#include <sys/stat.h>

namespace quarvel {

std::optional<std::string> deviceGroup(const std::string& device) {
    struct stat status {};
    if (::stat(device.c_str(), &status) != 0) {
        return std::nullopt;
    }
    const group* owner = ::getgrgid(status.st_gid);
    if (owner == nullptr || owner->gr_name == nullptr) {
        return std::nullopt;
    }
    return std::string(owner->gr_name);
}

} // namespace quarvel
