#include "settings/settings_location.h"

#ifndef _WIN32
#include "files/user_database.h"
#endif

#include <cstdlib>

namespace quarvel {

namespace {

#ifdef _WIN32
// Read wide, so that a user name beyond the code page's letters is kept.
std::filesystem::path environmentFolder(const wchar_t* name) {
    const wchar_t* value = ::_wgetenv(name);
    return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
}
#else
std::filesystem::path environmentFolder(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
}
#endif

std::filesystem::path fileNameOf(const std::filesystem::path& executablePath) {
    auto name = executablePath.stem();
    name += ".INI";
    return name;
}

} // namespace

std::filesystem::path settingsFolder() {
#ifdef _WIN32
    return environmentFolder(L"APPDATA");
#else
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base directory rules say.
    if (auto folder = environmentFolder("XDG_CONFIG_HOME"); folder.is_absolute()) {
        return folder;
    }
    if (auto home = environmentFolder("HOME"); home.is_absolute()) {
        return home / ".config";
    }
    // Without HOME the password database still knows the user's home: a bare file name would
    // follow the working directory, which Browse changes.
    if (auto home = homeFolderOfUser(); !home.empty()) {
        return home / ".config";
    }
    return {};
#endif
}

std::filesystem::path settingsFilePath(const std::filesystem::path& executablePath) {
    return settingsFolder() / fileNameOf(executablePath);
}

std::filesystem::path earlierSettingsFilePath(const std::filesystem::path& executablePath) {
#ifdef _WIN32
    if (auto folder = environmentFolder(L"WINDIR"); !folder.empty()) {
        return folder / fileNameOf(executablePath);
    }
#else
    static_cast<void>(executablePath);
#endif
    return {};
}

} // namespace quarvel
