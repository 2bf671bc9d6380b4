#include "cli/commands.h"
#include "cli/option_parser.h"
#include "cli/usage.h"
#include "logo/gif_reader.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

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

std::string failureText(LogoConversionFailure failure, const std::string& gif,
                        const std::string& output) {
    switch (failure) {
    case LogoConversionFailure::GifNotOpened: {
        std::error_code error;
        const bool exists = std::filesystem::exists(gif, error);
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
                     failureText(report.failure, gif, output).c_str());
        return ExitFailure;
    }
    if (report.pictureClipped) {
        std::fprintf(stderr,
                     "quarvel-cli: warning: %s is larger than 128 x 56 pixels; only the top-left "
                     "128 x 56 pixels are used\n",
                     gif.c_str());
    }
    std::printf("%s: logo written to %s\n", gif.c_str(), output.c_str());
    if (parsed.given("--preview")) {
        printPreview(report.raster);
    }
    return ExitSuccess;
}

} // namespace quarvel
