#include "cli/logo_messages.h"

#include "files/path_text.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace quarvel {

std::string logoFailureText(LogoConversionFailure failure, const std::string& gif,
                            const std::string& output) {
    switch (failure) {
    case LogoConversionFailure::GifNotOpened: {
        std::error_code error;
        const bool exists = std::filesystem::exists(pathFromText(gif), error);
        return gif + ": " + (exists ? "cannot be read as a picture" : "no such file");
    }
    case LogoConversionFailure::OutputNotCreated:
        return output + ": cannot be created";
    case LogoConversionFailure::GifEndedEarly:
        return gif + ": the picture ends before its trailer; it is truncated or damaged";
    case LogoConversionFailure::OutputNotWritten:
        return output + ": cannot be written";
    case LogoConversionFailure::None:
        break;
    }
    return gif + ": not converted";
}

void warnPictureClipped(std::string_view program, const std::string& gif) {
    std::fprintf(stderr,
                 "%.*s: warning: %s is larger than 128 x 56 pixels; only the top-left 128 x 56 "
                 "pixels are used\n",
                 static_cast<int>(program.size()), program.data(), gif.c_str());
}

} // namespace quarvel
