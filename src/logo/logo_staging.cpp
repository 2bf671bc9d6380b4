#include "logo/logo_staging.h"

#include "files/platform_folders.h"
#include "files/unique_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
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

// The staging folder; empty where there is none, with error set where the system refused to
// create it.
std::filesystem::path stagingFolder(const std::filesystem::path& executable,
                                    std::error_code& error) {
    const auto programFolder = executable.parent_path();
    if (!programFolder.empty() && userMayWriteInto(programFolder) && !isInstalled(programFolder)) {
        return programFolder;
    }
    const auto cache = userCacheFolder();
    if (!cache.empty()) {
        std::filesystem::create_directories(cache, error);
    }
    return error ? std::filesystem::path() : cache;
}

} // namespace

bool isLogoPicture(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::ranges::transform(extension, extension.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".gif";
}

std::filesystem::path logoStagingFolder(const std::filesystem::path& executable) {
    std::error_code ignored;
    return stagingFolder(executable, ignored);
}

std::filesystem::path stagedLogoPath(const std::filesystem::path& executable) {
    const auto folder = logoStagingFolder(executable);
    return folder.empty() ? folder : folder / kStagedLogoName;
}

std::filesystem::path reserveOwnLogoFile(const std::filesystem::path& executable,
                                         std::error_code& error) {
    error.clear();
    const auto folder = stagingFolder(executable, error);
    std::filesystem::path created;
    if (!folder.empty()) {
        if (std::FILE* file = createUniqueFile(folder / kOwnLogoStem, kLogoExtension, created)) {
            std::fclose(file);
        } else {
            error = std::error_code(errno, std::generic_category());
        }
    }
    return created;
}

} // namespace quarvel
