#include "cli/logo_staging.h"

#include "files/platform_folders.h"
#include "logo/gif_reader.h"
#include "logo/logo_staging.h"

#include <cstdio>

namespace quarvel {
namespace {

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

std::optional<std::string> stageLogo(const std::string& picture) {
    const std::string output = stagedLogoPath(runningExecutable()).string();
    if (output.empty()) {
        std::fprintf(stderr,
                     "quarvel-cli load: could not convert '%s' into a logo: there is no folder to "
                     "write the logo file in (set XDG_CACHE_HOME)\n",
                     picture.c_str());
        return std::nullopt;
    }
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
