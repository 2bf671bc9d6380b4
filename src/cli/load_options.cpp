#include "cli/load_options.h"

#include "cli/option_parser.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <string_view>

namespace quarvel {
namespace {

constexpr int kHighestChannel = 16;

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

bool samePort(const PortChoice& a, const PortChoice& b) {
    return a.number == b.number && a.devicePath == b.devicePath;
}

bool setPort(std::string_view text, LoadOptions& options, std::string& error) {
    return addPort(text, options.ports, error);
}

bool setChannel(std::string_view text, LoadOptions& options, std::string& error) {
    const auto channel = channelByte(text, error);
    options.channel = channel.value_or(kAllChannels);
    return channel.has_value();
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

bool setBoot(std::string_view, LoadOptions& options, std::string&) {
    options.bootMode = true;
    return true;
}

bool setJson(std::string_view, LoadOptions& options, std::string&) {
    options.json = true;
    return true;
}

bool setTrace(std::string_view, LoadOptions& options, std::string&) {
    options.trace = true;
    return true;
}

using ValueSetter = bool (*)(std::string_view, LoadOptions&, std::string&);

constexpr OptionSpec kOptions[] = {
    {"--port", 'p', true, true},
    {"--channel", 'c', true},
    {"--boot", 'b'},
    {"--retry", '\0', true},
    {"--progress", '\0', true},
    {"--json"},
    {"--trace"},
};
constexpr ValueSetter kSetters[] = {setPort,     setChannel, setBoot, setRetry,
                                    setProgress, setJson,    setTrace};
static_assert(std::size(kOptions) == std::size(kSetters));
constexpr std::string_view kOperands[] = {"FILE"};

} // namespace

bool addPort(std::string_view text, std::vector<PortChoice>& ports, std::string& error) {
    PortChoice port;
    port.given = text;
    std::string_view number = text;
    if (number.size() > 3 && equalsIgnoringCase(number.substr(0, 3), "COM")) {
        number.remove_prefix(3);
    }
    if (!number.empty() && std::isdigit(static_cast<unsigned char>(number.front()))) {
        const auto value = wholeNumber(number);
        if (!value || *value < 1 || *value > kHighestPortNumber) {
            error = "port number must be 1 to " + std::to_string(kHighestPortNumber) +
                    ", or a device path: '" + std::string(text) + "'";
            return false;
        }
        port.number = *value;
    } else if (text.empty()) {
        error = "the port is empty";
        return false;
    } else {
        port.devicePath = text;
    }
    // Two loads on one line would only fight over it.
    if (std::ranges::any_of(ports,
                            [&port](const PortChoice& other) { return samePort(other, port); })) {
        error = "port '" + std::string(text) + "' is given more than once";
        return false;
    }
    ports.push_back(std::move(port));
    return true;
}

std::optional<std::uint8_t> channelByte(std::string_view text, std::string& error) {
    if (equalsIgnoringCase(text, "all")) {
        return kAllChannels;
    }
    const auto value = wholeNumber(text);
    if (!value || *value < 1 || *value > kHighestChannel) {
        error = "channel must be 'all' or 1 to 16: '" + std::string(text) + "'";
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(*value - 1);
}

bool parseLoadOptions(std::span<char* const> args, TerminalFacts terminal, LoadOptions& options,
                      std::string& error) {
    options = LoadOptions{};
    options.retry = terminal.inputIsTerminal ? RetryPolicy::Ask : RetryPolicy::Never;
    options.progress = terminal.errorIsTerminal ? ProgressStyle::Bar : ProgressStyle::None;
    ParsedArguments parsed;
    if (!parseArguments(args, {kOptions, kOperands}, parsed, error)) {
        return false;
    }
    if (parsed.helpWanted) {
        options.helpWanted = true;
        return true;
    }
    for (const GivenOption& given : parsed.options) {
        const auto index = static_cast<std::size_t>(
            std::find_if(std::begin(kOptions), std::end(kOptions),
                         [&given](const OptionSpec& o) { return o.name == given.name; }) -
            std::begin(kOptions));
        if (!kSetters[index](given.value, options, error)) {
            return false;
        }
    }
    options.file = parsed.operands.front();
    if (options.file.empty()) {
        error = "the FILE is empty";
        return false;
    }
    if (options.ports.empty()) {
        error = "no --port given";
        return false;
    }
    // Nobody can answer the retry question of several loads at once.
    if (options.ports.size() > 1) {
        if (parsed.given("--retry") && options.retry == RetryPolicy::Ask) {
            error = "--retry ask takes one --port; several ports take always or never";
            return false;
        }
        if (!parsed.given("--retry")) {
            options.retry = RetryPolicy::Never;
        }
    }
    return true;
}

} // namespace quarvel
