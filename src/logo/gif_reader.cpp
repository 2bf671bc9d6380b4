#include "logo/gif_reader.h"

#include "logo/gif_decoder.h"

namespace quarvel {

int convertGifToLogo(const std::string& gifPath, const std::string& outputPath,
                     const GifDiagnosticSink& diagnostics, LogoConversionReport& report) {
    GifDecoder decoder(diagnostics);
    return decoder.convertGifToLogo(gifPath, outputPath, report);
}

int convertGifToLogo(const std::string& gifPath, const std::string& outputPath,
                     const GifDiagnosticSink& diagnostics) {
    LogoConversionReport report;
    return convertGifToLogo(gifPath, outputPath, diagnostics, report);
}

} // namespace quarvel
