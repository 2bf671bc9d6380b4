#include "sim/sim_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>

namespace quarvel {

namespace {

constexpr std::string_view kUsage = R"(Usage: ktv-sim [OPTION]...
A stand-in KTV-271 device on a pseudo-terminal. Prints the terminal's path as its first line,
then answers the loader on it until it is stopped (Ctrl-C or SIGTERM).

Options:
  --link PATH        also make PATH a symbolic link to the terminal (a stale link is replaced;
                     the link is removed at exit)
  --channel CH       the device's MIDI channel, 1 to 16, or all to answer every channel
                     (default all); frames for channel All reach every device
  --type N           the type number the device reports, 0 to 12799 (default 271)
  --model MODEL      normal: answers search, identify and handshake (default);
                     assumed: the older model that ignores them and only echoes FE
  --pace             pace both directions at 1920 bytes a second, as a 19200 baud line
  --delay-ms N       wait N milliseconds, 0 to 60000, before every answer (default 0)
  --fault WHAT       misbehave as WHAT; may be given more than once:
                       no-identify     no answer to the identify frame (the loader falls back
                                       to the FE echo)
                       silent          no answer to anything, not even FE
                       no-erase        no answer to erase frames
                       status:N:S[:K]  answer record N with status S (hex, 00 to 7F), K times
                                       (default once); records count from 1, the header first
                       restart:N       ask for the whole file again at record N, once
                       skip:N          answer record N with status 05 and skip it, once
                       drop:N          drop the line when record N arrives
                       overlong:N      answer record N with a frame longer than any reply
                                       buffer (the record itself is programmed), once
                       garbage         send noise bytes before every frame
                       trickle:MS      send the bytes of every answer MS milliseconds apart
                                       (1 to 2000)
                     a wrong type number is --type N
  --absent           start with no unit on the line: nothing is answered until one is put on
  --fail-unit N      the Nth unit put on (the first is unit 1) answers every record with
                     status 04, as a unit whose flash cannot be programmed
  --flash-out FILE   write the 512 KiB flash image to FILE at exit
  --received-out FILE  write every byte the loader sent, as it came, to FILE at exit
  --once             exit when the loader closes the terminal after a load
  --verbose          log refused frames and the line's events on stderr
  --help             show this text and exit
  --version          show the version and exit

Units come and go as on a production bench: SIGUSR1 takes the unit off the line (it falls
silent), SIGUSR2 puts a new unit on (answers again, its flash erased, its faults afresh).

Frames of another maker, or for another channel, are ignored. A record with a bad checksum is
answered with status 03, an incomplete one with 02, and one that would need an erased bit
(a 0 made 1) with 04.
)";

std::optional<int> wholeNumber(std::string_view text, int lowest, int highest) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() ||
        value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

constexpr std::array<std::string_view, 9> kValueOptions{
    "--link",  "--channel",   "--type",         "--model",     "--delay-ms",
    "--fault", "--flash-out", "--received-out", "--fail-unit",
};

constexpr int kHighestTypeNumber = 12799; // both reply bytes must stay below 80h
constexpr int kLongestDelayMs = 60000;

// Applies one option with its value; answers why it cannot.
std::string applyValue(SimOptions& options, std::string_view name, std::string_view value) {
    DeviceConfig& device = options.device;
    if (name == "--link") {
        options.linkPath = value;
    } else if (name == "--flash-out") {
        options.flashOutPath = value;
    } else if (name == "--received-out") {
        options.receivedOutPath = value;
    } else if (name == "--channel") {
        if (value == "all") {
            device.channel.reset();
        } else if (const auto channel = wholeNumber(value, 1, 16)) {
            device.channel = static_cast<std::uint8_t>(*channel - 1);
        } else {
            return "--channel takes all or 1 to 16";
        }
    } else if (name == "--type") {
        const auto type = wholeNumber(value, 0, kHighestTypeNumber);
        if (!type) {
            return "--type takes a number from 0 to 12799";
        }
        device.typeNumber = *type;
    } else if (name == "--model") {
        if (value != "normal" && value != "assumed") {
            return "--model takes normal or assumed";
        }
        device.answersIdentify = value == "normal";
    } else if (name == "--delay-ms") {
        const auto delay = wholeNumber(value, 0, kLongestDelayMs);
        if (!delay) {
            return "--delay-ms takes a number from 0 to 60000";
        }
        device.replyDelayMs = *delay;
    } else if (name == "--fail-unit") {
        const auto unit = wholeNumber(value, 1, std::numeric_limits<int>::max());
        if (!unit) {
            return "--fail-unit takes a unit number from 1";
        }
        options.failingUnit = *unit;
    } else if (name == "--fault") {
        const auto fault = parseFault(value);
        if (!fault) {
            return "unknown fault '" + std::string(value) + "'";
        }
        device.faults.push_back(*fault);
    }
    return {};
}

} // namespace

std::string_view simUsage() {
    return kUsage;
}

SimOptionsResult parseSimOptions(std::span<const std::string_view> arguments) {
    SimOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--help") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--pace") {
            options.paced = true;
        } else if (argument == "--absent") {
            options.absent = true;
        } else if (argument == "--once") {
            options.once = true;
        } else if (argument == "--verbose") {
            options.verbose = true;
        } else if (std::find(kValueOptions.begin(), kValueOptions.end(), argument) ==
                   kValueOptions.end()) {
            return {std::nullopt, "unknown option '" + std::string(argument) + "'"};
        } else if (i + 1 == arguments.size()) {
            return {std::nullopt, "option '" + std::string(argument) + "' needs a value"};
        } else if (std::string error = applyValue(options, argument, arguments[++i]);
                   !error.empty()) {
            return {std::nullopt, error};
        }
    }
    return {options, {}};
}

} // namespace quarvel
