#include "cli/load_options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <string_view>

namespace quarvel {
namespace {

constexpr int kHighestPortNumber = 9;
constexpr int kHighestChannel = 16;
constexpr std::uint8_t kEveryChannel = 0x7F;

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// A whole decimal number and nothing else.
std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || status != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

bool setPort(std::string_view text, LoadOptions& options, std::string& error) {
    std::string_view number = text;
    if (number.size() > 3 && equalsIgnoringCase(number.substr(0, 3), "COM")) {
        number.remove_prefix(3);
    }
    if (!number.empty() && std::isdigit(static_cast<unsigned char>(number.front()))) {
        const auto value = wholeNumber(number);
        if (!value || *value < 1 || *value > kHighestPortNumber) {
            error = "port number must be 1 to 9, or a device path: '" + std::string(text) + "'";
            return false;
        }
        options.portNumber = *value;
        options.devicePath.clear();
        return true;
    }
    if (text.empty()) {
        error = "the port is empty";
        return false;
    }
    options.portNumber = 0;
    options.devicePath = text;
    return true;
}

bool setChannel(std::string_view text, LoadOptions& options, std::string& error) {
    if (equalsIgnoringCase(text, "all")) {
        options.channel = kEveryChannel;
        return true;
    }
    const auto value = wholeNumber(text);
    if (!value || *value < 1 || *value > kHighestChannel) {
        error = "channel must be 'all' or 1 to 16: '" + std::string(text) + "'";
        return false;
    }
    options.channel = static_cast<std::uint8_t>(*value - 1);
    return true;
}

bool setRetry(std::string_view text, LoadOptions& options, std::string& error) {
    if (text == "ask") {
        options.retry = RetryPolicy::Ask;
    } else if (text == "always") {
        options.retry = RetryPolicy::Always;
    } else if (text == "never") {
        options.retry = RetryPolicy::Never;
    } else {
        error = "--retry takes ask, always or never: '" + std::string(text) + "'";
        return false;
    }
    return true;
}

bool setProgress(std::string_view text, LoadOptions& options, std::string& error) {
    if (text == "bar") {
        options.progress = ProgressStyle::Bar;
    } else if (text == "lines") {
        options.progress = ProgressStyle::Lines;
    } else if (text == "none") {
        options.progress = ProgressStyle::None;
    } else {
        error = "--progress takes bar, lines or none: '" + std::string(text) + "'";
        return false;
    }
    return true;
}

using ValueSetter = bool (*)(std::string_view, LoadOptions&, std::string&);

struct ValueOption {
    std::string_view name;
    ValueSetter set;
};

constexpr ValueOption kValueOptions[] = {
    {"--port", setPort},
    {"--channel", setChannel},
    {"--retry", setRetry},
    {"--progress", setProgress},
};

} // namespace

bool parseLoadOptions(std::span<char* const> args, TerminalFacts terminal, LoadOptions& options,
                      std::string& error) {
    options = LoadOptions{};
    options.retry = terminal.inputIsTerminal ? RetryPolicy::Ask : RetryPolicy::Never;
    options.progress = terminal.errorIsTerminal ? ProgressStyle::Bar : ProgressStyle::None;
    bool portGiven = false;
    bool fileGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.helpWanted = true;
            return true;
        }
        if (arg == "--boot") {
            options.bootMode = true;
            continue;
        }
        const auto option = std::find_if(
            std::begin(kValueOptions), std::end(kValueOptions), [arg](const ValueOption& o) {
                return arg == o.name || (arg.size() > o.name.size() && arg.starts_with(o.name) &&
                                         arg[o.name.size()] == '=');
            });
        if (option != std::end(kValueOptions)) {
            std::string_view value;
            if (arg.size() > option->name.size()) {
                value = arg.substr(option->name.size() + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                error = std::string(option->name) + " needs a value";
                return false;
            }
            if (!option->set(value, options, error)) {
                return false;
            }
            portGiven = portGiven || option->name == "--port";
            continue;
        }
        if (arg.size() > 1 && arg.front() == '-') {
            error = "unknown option '" + std::string(arg) + "'";
            return false;
        }
        if (fileGiven) {
            error = "only one FILE can be loaded: '" + std::string(arg) + "'";
            return false;
        }
        options.file = arg;
        fileGiven = true;
    }
    if (!fileGiven || options.file.empty()) {
        error = "no FILE given";
        return false;
    }
    if (!portGiven) {
        error = "no --port given";
        return false;
    }
    return true;
}

} // namespace quarvel
