#pragma once

#include <span>
#include <string_view>

namespace quarvel {

// Exit codes shared by every subcommand.
enum ExitCode : int {
    ExitSuccess = 0,
    ExitFailure = 1,
    ExitUsage = 2,
};

// Each subcommand takes the arguments that follow its name and returns an ExitCode.
inline constexpr std::string_view kCheckUsage = "check [--boot] FILE";
int runCheck(std::span<char* const> args);
inline constexpr std::string_view kConvertLogoUsage =
    "convert-logo [--preview] [--verbose] GIF OUT";
int runConvertLogo(std::span<char* const> args);
inline constexpr std::string_view kLoadUsage =
    "load FILE --port PORT... [--channel CH] [--boot] [--retry ask|always|never] "
    "[--progress bar|lines|none] [--json] [--trace]";
int runLoad(std::span<char* const> args);
inline constexpr std::string_view kPortsUsage = "ports [--probe [--channel CH]] [--json]";
int runPorts(std::span<char* const> args);
inline constexpr std::string_view kStationUsage =
    "station FILE --port PORT... [--channel CH] [--boot] [--log FILE] [--units N] [--json]";
int runStation(std::span<char* const> args);

} // namespace quarvel
