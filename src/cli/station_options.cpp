#include "cli/station_options.h"

#include "cli/option_parser.h"

#include <charconv>

namespace quarvel {
namespace {

constexpr OptionSpec kOptions[] = {
    {"--port", 'p', true, true}, {"--channel", 'c', true}, {"--boot", 'b'},
    {"--log", '\0', true},       {"--units", '\0', true},  {"--json"},
};
constexpr std::string_view kOperands[] = {"FILE"};

bool setUnits(const std::string& text, int& units, std::string& error) {
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), units);
    if (text.empty() || status != std::errc{} || end != text.data() + text.size() || units < 1) {
        error = "--units takes a whole number from 1: '" + text + "'";
        return false;
    }
    return true;
}

bool apply(const GivenOption& given, StationOptions& options, std::string& error) {
    LoadOptions& load = options.load;
    if (given.name == "--port") {
        return addPort(given.value, load.ports, error);
    }
    if (given.name == "--channel") {
        const auto channel = channelByte(given.value, error);
        load.channel = channel.value_or(kAllChannels);
        return channel.has_value();
    }
    if (given.name == "--log") {
        options.logPath = given.value;
        if (options.logPath.empty()) {
            error = "the --log file is empty";
        }
        return !options.logPath.empty();
    }
    if (given.name == "--units") {
        return setUnits(given.value, options.units, error);
    }
    (given.name == "--boot" ? load.bootMode : load.json) = true;
    return true;
}

} // namespace

bool parseStationOptions(std::span<char* const> args, StationOptions& options, std::string& error) {
    options = StationOptions{};
    // A unit that fails is recorded and taken off; nobody stands by to answer a retry question.
    options.load.retry = RetryPolicy::Never;
    options.load.progress = ProgressStyle::None;
    ParsedArguments parsed;
    if (!parseArguments(args, {kOptions, kOperands}, parsed, error)) {
        return false;
    }
    if (parsed.helpWanted) {
        options.helpWanted = true;
        return true;
    }
    for (const GivenOption& given : parsed.options) {
        if (!apply(given, options, error)) {
            return false;
        }
    }
    options.load.file = parsed.operands.front();
    if (options.load.file.empty()) {
        error = "the FILE is empty";
        return false;
    }
    if (options.load.ports.empty()) {
        error = "no --port given";
        return false;
    }
    return true;
}

} // namespace quarvel
