#include "cli/logo_staging.h"

#include "cli/logo_messages.h"
#include "files/path_text.h"
#include "files/platform_folders.h"
#include "logo/logo_staging.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace quarvel {
namespace {

std::optional<std::string> convertInto(const std::string& picture, const std::string& output) {
    if (output.empty()) {
        std::fprintf(stderr,
                     "quarvel-cli load: could not convert the picture into a logo: there is no "
                     "folder to write the logo file in (set %s)\n",
                     userCacheVariable());
        return std::nullopt;
    }
    LogoConversionReport report;
    if (convertGifToLogo(picture, output, {}, report) != 0) {
        std::fprintf(stderr, "quarvel-cli load: could not convert the picture into a logo: %s\n",
                     logoFailureText(report.failure, picture, output).c_str());
        return std::nullopt;
    }
    if (report.pictureClipped) {
        warnPictureClipped("quarvel-cli load", picture);
    }
    return output;
}

} // namespace

std::optional<std::string> stageLogo(const std::string& picture) {
    return convertInto(picture, textFromPath(stagedLogoPath(runningExecutable())));
}

std::optional<std::string> stageOwnLogo(const std::string& picture) {
    std::error_code error;
    const auto own = reserveOwnLogoFile(runningExecutable(), error);
    if (error) {
        std::fprintf(stderr,
                     "quarvel-cli load: could not convert the picture into a logo: its logo file "
                     "cannot be created (%s)\n",
                     error.message().c_str());
        return std::nullopt;
    }
    auto converted = convertInto(picture, textFromPath(own));
    if (!converted && !own.empty()) {
        std::error_code ignored;
        std::filesystem::remove(own, ignored);
    }
    return converted;
}

} // namespace quarvel
