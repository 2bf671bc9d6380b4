#include "app/app_paths.h"

#include <cstdlib>
#include <system_error>

#if __has_include(<unistd.h>)
#include <unistd.h>
#endif

namespace quarvel {

namespace {

constexpr char convertedLogoName[] = "Temp.s21";

bool canWriteInto(const std::filesystem::path& folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        return false;
    }
#if __has_include(<unistd.h>)
    return ::access(folder.string().c_str(), W_OK) == 0;
#else
    const auto permissions = std::filesystem::status(folder, error).permissions();
    return !error &&
           (permissions & std::filesystem::perms::owner_write) != std::filesystem::perms::none;
#endif
}

} // namespace

std::filesystem::path helpFilePath(const std::filesystem::path& executablePath,
                                   const std::filesystem::path& dataFolder) {
    auto besideProgram = executablePath;
    besideProgram.replace_extension(".html");
    std::error_code error;
    if (std::filesystem::exists(besideProgram, error)) {
        return besideProgram;
    }
    auto installed = dataFolder / besideProgram.filename();
    return std::filesystem::exists(installed, error) ? installed : besideProgram;
}

std::filesystem::path cacheFolder() {
    if (const char* cache = std::getenv("XDG_CACHE_HOME");
        cache != nullptr && std::filesystem::path(cache).is_absolute()) {
        return cache;
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return std::filesystem::path(home) / ".cache";
    }
    return std::filesystem::temp_directory_path();
}

std::filesystem::path convertedLogoPath(const std::filesystem::path& programFolder) {
    if (canWriteInto(programFolder)) {
        return programFolder / convertedLogoName;
    }
    const auto folder = cacheFolder() / "quarvel";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return folder / convertedLogoName;
}

} // namespace quarvel
