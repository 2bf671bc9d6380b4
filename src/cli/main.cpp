#include "cli/commands.h"
#include "cli/utf8_console.h"
#include "quarvel_version.h"

#include <array>
#include <cstdio>
#include <span>
#include <string_view>

namespace quarvel {
namespace {

struct Command {
    std::string_view name;
    std::string_view usage;
    std::string_view summary;
    int (*run)(std::span<char* const> args);
};

constexpr std::array kCommands{
    Command{"check", kCheckUsage,
            "tell whether a load would send a program file, and the flash sectors it writes",
            runCheck},
    Command{"convert-logo", kConvertLogoUsage,
            "convert a GIF picture into the logo file that a load sends to the device",
            runConvertLogo},
    Command{"load", kLoadUsage,
            "load a program file (or a GIF logo) into the device on a serial port", runLoad},
    Command{"ports", kPortsUsage,
            "list the serial ports of this machine and the COM numbers the settings map", runPorts},
    Command{"station", kStationUsage,
            "load unit after unit at each port of a production bench, with a record of each",
            runStation},
};

void printUsage(std::FILE* stream) {
    std::fputs("usage: quarvel-cli COMMAND [ARGUMENTS]\n"
               "       quarvel-cli -h | --help | --version\n\ncommands:\n",
               stream);
    for (const Command& command : kCommands) {
        std::fprintf(stream, "  quarvel-cli %.*s\n      %.*s\n",
                     static_cast<int>(command.usage.size()), command.usage.data(),
                     static_cast<int>(command.summary.size()), command.summary.data());
    }
    std::fputs("\nEvery command takes -h/--help. Options take their value as --opt VALUE or\n"
               "--opt=VALUE, stand before or after the other arguments, and end at --.\n",
               stream);
}

int run(std::span<char* const> args) {
    if (args.empty()) {
        printUsage(stderr);
        return ExitUsage;
    }
    const std::string_view first = args.front();
    if (first == "--help" || first == "-h") {
        printUsage(stdout);
        return ExitSuccess;
    }
    if (first == "--version") {
        std::printf("quarvel-cli %s\n", kQuarvelVersion);
        return ExitSuccess;
    }
    for (const Command& command : kCommands) {
        if (command.name == first) {
            return command.run(args.subspan(1));
        }
    }
    std::fprintf(stderr, "quarvel-cli: unknown %s '%.*s'\n",
                 first.starts_with('-') ? "option" : "command", static_cast<int>(first.size()),
                 first.data());
    printUsage(stderr);
    return ExitUsage;
}

} // namespace
} // namespace quarvel

int main(int argc, char* argv[]) {
    const quarvel::Utf8Console console;
    const std::span<char* const> words(argv, static_cast<std::size_t>(argc));
    return quarvel::run(words.empty() ? words : words.subspan(1));
}
