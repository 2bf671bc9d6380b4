#include "cli/logo_staging.h"

#include "logo/gif_reader.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <unistd.h>

namespace quarvel {
namespace {

constexpr const char* kLogoFileName = "Temp.s21";

std::filesystem::path executableFolder() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

std::filesystem::path cacheFolder() {
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && *cache == '/') {
        return std::filesystem::path(cache) / "quarvel";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : "/tmp") / ".cache" / "quarvel";
}

const char* failureText(LogoConversionFailure failure) {
    switch (failure) {
    case LogoConversionFailure::GifNotOpened:
        return "the picture cannot be opened";
    case LogoConversionFailure::OutputNotCreated:
        return "the logo file cannot be created";
    case LogoConversionFailure::GifEndedEarly:
        return "the picture is truncated or damaged";
    case LogoConversionFailure::OutputNotWritten:
        return "the logo file cannot be written";
    case LogoConversionFailure::None:
        break;
    }
    return "the picture is not a GIF picture the logo can be made from";
}

} // namespace

bool isLogoPicture(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".gif";
}

std::filesystem::path convertedLogoPath() {
    const auto folder = executableFolder();
    if (!folder.empty() && ::access(folder.c_str(), W_OK) == 0) {
        return folder / kLogoFileName;
    }
    const auto cache = cacheFolder();
    std::error_code error;
    std::filesystem::create_directories(cache, error);
    return cache / kLogoFileName;
}

std::optional<std::string> stageLogo(const std::string& picture) {
    const std::string output = convertedLogoPath().string();
    LogoConversionReport report;
    if (convertGifToLogo(picture, output, {}, report) != 0) {
        std::fprintf(stderr, "quarvel-cli load: could not convert '%s' into a logo: %s\n",
                     picture.c_str(), failureText(report.failure));
        return std::nullopt;
    }
    if (report.pictureClipped) {
        std::fprintf(stderr,
                     "quarvel-cli load: '%s' is larger than 128 x 56 pixels; only the "
                     "top-left 128 x 56 pixels are used\n",
                     picture.c_str());
    }
    return output;
}

} // namespace quarvel
