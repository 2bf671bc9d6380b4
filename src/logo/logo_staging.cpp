#include "logo/logo_staging.h"

#include "files/platform_folders.h"
#include "files/unique_file.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <system_error>

namespace quarvel {

namespace {

constexpr char kStagedLogoName[] = "Temp.s21";
constexpr char kOwnLogoStem[] = "Temp";
constexpr char kLogoExtension[] = ".s21";

// An installed program never writes beside itself, even where it may (root in /usr/bin): its
// folder is the install prefix's bin folder, or the data folder the install puts beside it is
// there (a package, or an installed tree moved elsewhere as a whole).
bool isInstalled(const std::filesystem::path& programFolder) {
    std::error_code error;
    return std::filesystem::equivalent(programFolder, QUARVEL_INSTALL_BINDIR, error) ||
           std::filesystem::is_directory(programFolder.parent_path() / "share" / "quarvel", error);
}

} // namespace

bool isLogoPicture(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::ranges::transform(extension, extension.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".gif";
}

std::filesystem::path logoStagingFolder(const std::filesystem::path& executable) {
    const auto programFolder = executable.parent_path();
    if (!programFolder.empty() && userMayWriteInto(programFolder) && !isInstalled(programFolder)) {
        return programFolder;
    }
    const auto cache = userCacheFolder();
    std::error_code error;
    if (!cache.empty()) {
        std::filesystem::create_directories(cache, error);
    }
    return error ? std::filesystem::path() : cache;
}

std::filesystem::path stagedLogoPath(const std::filesystem::path& executable) {
    const auto folder = logoStagingFolder(executable);
    return folder.empty() ? folder : folder / kStagedLogoName;
}

std::filesystem::path reserveOwnLogoFile(const std::filesystem::path& executable) {
    const auto folder = logoStagingFolder(executable);
    std::filesystem::path created;
    if (!folder.empty()) {
        if (std::FILE* file = createUniqueFile(folder / kOwnLogoStem, kLogoExtension, created)) {
            std::fclose(file);
        }
    }
    return created;
}

} // namespace quarvel
