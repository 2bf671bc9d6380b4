#include "cli/port_identity.h"

#include <filesystem>
#include <sys/stat.h>

namespace quarvel {

std::string deviceIdentity(const std::string& devicePath) {
    struct stat status {};
    // A character device is the same line under every name that reaches it.
    if (::stat(devicePath.c_str(), &status) == 0 && S_ISCHR(status.st_mode)) {
        return "device " + std::to_string(status.st_rdev);
    }
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(devicePath, error);
    return "path " + (error ? devicePath : resolved.string());
}

} // namespace quarvel
