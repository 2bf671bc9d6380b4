#include "cli/commands.h"
#include "cli/logo_messages.h"
#include "cli/option_parser.h"
#include "cli/usage.h"
#include "logo/gif_reader.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace quarvel {
namespace {

constexpr OptionSpec kOptions[] = {{"--preview"}, {"--verbose"}};
constexpr std::string_view kOperands[] = {"GIF", "OUT"};
constexpr std::string_view kConvertLogoHelp =
    "  --preview  also show the converted 128 x 56 logo as text (# lit, . dark)\n"
    "  --verbose  show what the reader noticed in the picture on stderr\n";

// The reader names every version but 87a unknown, the common 89a too, yet reads them all alike.
constexpr std::string_view kUnknownVersion = "unknown GIF version number";
constexpr std::string_view kUnknownVersionNote = " (the picture is read as usual)";

void printPreview(const LogoRaster& raster) {
    std::string line(kLogoWidth, '.');
    for (int y = 0; y < kLogoHeight; ++y) {
        for (int x = 0; x < kLogoWidth; ++x) {
            const std::uint8_t byte =
                raster[static_cast<std::size_t>(x * kLogoBands + y / kRowsPerBand)];
            line[static_cast<std::size_t>(x)] = ((byte >> (y % kRowsPerBand)) & 1) != 0 ? '#' : '.';
        }
        std::puts(line.c_str());
    }
}

} // namespace

int runConvertLogo(std::span<char* const> args) {
    ParsedArguments parsed;
    std::string error;
    if (!parseArguments(args, {kOptions, kOperands}, parsed, error)) {
        return badUsage(kConvertLogoUsage, error);
    }
    if (parsed.helpWanted) {
        return printHelp(kConvertLogoUsage, kConvertLogoHelp);
    }
    const std::string& gif = parsed.operands[0];
    const std::string& output = parsed.operands[1];
    GifDiagnosticSink diagnostics;
    if (parsed.given("--verbose")) {
        diagnostics = [&gif](std::string_view text) {
            const std::string_view note = text == kUnknownVersion ? kUnknownVersionNote : "";
            std::fprintf(stderr, "%s: %.*s%.*s\n", gif.c_str(), static_cast<int>(text.size()),
                         text.data(), static_cast<int>(note.size()), note.data());
        };
    }
    LogoConversionReport report;
    if (convertGifToLogo(gif, output, diagnostics, report) != 0) {
        std::fprintf(stderr, "quarvel-cli: %s; no logo file written\n",
                     logoFailureText(report.failure, gif, output).c_str());
        return ExitFailure;
    }
    if (report.pictureClipped) {
        warnPictureClipped("quarvel-cli", gif);
    }
    std::printf("%s: logo written to %s\n", gif.c_str(), output.c_str());
    if (parsed.given("--preview")) {
        printPreview(report.raster);
    }
    return ExitSuccess;
}

} // namespace quarvel
