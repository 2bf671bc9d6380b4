#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// One option a command takes: --name, an optional one-letter short form, and whether it takes a
// value and may be given more than once.
struct OptionSpec {
    std::string_view name;
    char shortName = '\0';
    bool takesValue = false;
    bool repeatable = false;
};

// What a command accepts: its options and the names of its operands, in order (FILE, GIF, OUT).
struct CommandSyntax {
    std::span<const OptionSpec> options;
    std::span<const std::string_view> operands;
};

struct GivenOption {
    std::string_view name;
    std::string value;
};

struct ParsedArguments {
    bool helpWanted = false;
    // In the order given, each under its long name.
    std::vector<GivenOption> options;
    std::vector<std::string> operands;

    // True when the option of that long name was given at least once.
    bool given(std::string_view name) const;
};

// The one grammar of every command: -h/--help; --name value, --name=value, -n value and -nvalue;
// short options bundled in one word (-bp 3, -bp3); "--" ends the options; options and operands in
// any order. A value never looks like an option: "--port -h" lacks its value. On bad usage answers
// false with error naming the argument at fault. Help wins over every other fault.
bool parseArguments(std::span<char* const> args, const CommandSyntax& syntax,
                    ParsedArguments& parsed, std::string& error);

} // namespace quarvel
