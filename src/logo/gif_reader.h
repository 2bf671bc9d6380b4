#pragma once

#include "logo/logo_geometry.h"

#include <functional>
#include <string>
#include <string_view>

namespace quarvel {

// Receives the conversion's diagnostics ("file is not a GIF file", "Bad Code Size", ...). They
// describe the picture and never change the course or the answer of a conversion.
using GifDiagnosticSink = std::function<void(std::string_view)>;

// Why a conversion answered -1.
enum class LogoConversionFailure {
    None,
    GifNotOpened,
    OutputNotCreated,
    // The picture ends before its trailer: it is truncated or damaged.
    GifEndedEarly,
    OutputNotWritten,
};

// What a caller may want to know beyond the answer.
struct LogoConversionReport {
    LogoConversionFailure failure = LogoConversionFailure::None;
    // The picture had pixels beyond column 127 or row 55; only the top-left 128 x 56 are used.
    bool pictureClipped = false;
    // The converted logo as written to the file.
    LogoRaster raster{};
};

// Converts the GIF picture at gifPath into the logo S-record file at outputPath (116 lines, each
// ending in CR LF). Answers 0 when the file has been written, -1 otherwise. A picture that cannot
// be read to its trailer leaves an existing file at outputPath as it was; whatever the failure,
// no half-written file is ever left there.
int convertGifToLogo(const std::string& gifPath, const std::string& outputPath,
                     const GifDiagnosticSink& diagnostics = {});
int convertGifToLogo(const std::string& gifPath, const std::string& outputPath,
                     const GifDiagnosticSink& diagnostics, LogoConversionReport& report);

} // namespace quarvel
