#include "files/platform_folders.h"
#include "files/user_database.h"

#include <cstdlib>
#include <system_error>
#include <unistd.h>

namespace quarvel {

namespace {

constexpr char kProgramFolderName[] = "quarvel";

std::filesystem::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') {
        return home;
    }
    // A program started without HOME (a service, sudo -i, env -i) still has its user's home.
    return homeFolderOfUser();
}

} // namespace

std::filesystem::path runningExecutable() {
    std::error_code error;
    auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable;
}

std::filesystem::path userCacheFolder() {
    // A relative XDG_CACHE_HOME is invalid and ignored, as the base directory rules say.
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && *cache == '/') {
        return std::filesystem::path(cache) / kProgramFolderName;
    }
    const auto home = homeFolder();
    return home.empty() ? home : home / ".cache" / kProgramFolderName;
}

const char* userCacheVariable() {
    return "XDG_CACHE_HOME";
}

bool userMayWriteInto(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_directory(folder, error) && ::access(folder.c_str(), W_OK) == 0;
}

} // namespace quarvel
