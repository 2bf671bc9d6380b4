#include "cli/option_parser.h"

#include <algorithm>

namespace quarvel {
namespace {

bool isHelp(std::string_view arg) {
    return arg == "-h" || arg == "--help";
}

const OptionSpec* findLong(std::string_view name, std::span<const OptionSpec> options) {
    const auto found = std::find_if(options.begin(), options.end(),
                                    [name](const OptionSpec& o) { return o.name == name; });
    return found == options.end() ? nullptr : &*found;
}

const OptionSpec* findShort(char letter, std::span<const OptionSpec> options) {
    const auto found = std::find_if(options.begin(), options.end(), [letter](const OptionSpec& o) {
        return o.shortName != '\0' && o.shortName == letter;
    });
    return found == options.end() ? nullptr : &*found;
}

bool isOptionWord(std::string_view arg) {
    return arg.size() >= 2 && arg.front() == '-';
}

// True when the option word ends in an option that takes the next word as its value: --port,
// -p, -bp; not --port=3, -p3 or -bp3.
bool takesNextWord(std::string_view arg, std::span<const OptionSpec> options) {
    if (arg.starts_with("--")) {
        const OptionSpec* option = findLong(arg, options);
        return option != nullptr && option->takesValue;
    }
    for (std::size_t at = 1; at < arg.size(); ++at) {
        const OptionSpec* option = findShort(arg[at], options);
        if (option == nullptr || option->takesValue) {
            return option != nullptr && at + 1 == arg.size();
        }
    }
    return false;
}

// The value of an option that takes the next word, and i moved past it. A next word that looks
// like an option is a forgotten value, never asked-for help.
bool takeNextWord(std::span<char* const> args, std::size_t& i, const OptionSpec& option,
                  std::string& value, std::string& error) {
    if (i + 1 >= args.size() || isOptionWord(args[i + 1])) {
        error = std::string(option.name) + " needs a value";
        return false;
    }
    value = args[++i];
    return true;
}

// --name, --name=value or --name value.
bool takeLongOption(std::span<char* const> args, std::size_t& i,
                    std::span<const OptionSpec> options, std::vector<GivenOption>& taken,
                    std::string& error) {
    const std::string_view arg = args[i];
    const std::size_t equals = arg.find('=');
    const OptionSpec* option = findLong(arg.substr(0, equals), options);
    if (option == nullptr) {
        error = "unknown option '" + std::string(arg) + "'";
        return false;
    }
    GivenOption given{option->name, {}};
    if (!option->takesValue && equals != std::string_view::npos) {
        error = std::string(option->name) + " takes no value";
        return false;
    }
    if (equals != std::string_view::npos) {
        given.value = arg.substr(equals + 1);
    } else if (option->takesValue && !takeNextWord(args, i, *option, given.value, error)) {
        return false;
    }
    taken.push_back(std::move(given));
    return true;
}

// One or more short options in one word: -b, -p 3, -p3, and bundled -bp 3 or -bp3, where the
// first option that takes a value takes the rest of the word or else the next word.
bool takeShortOptions(std::span<char* const> args, std::size_t& i,
                      std::span<const OptionSpec> options, std::vector<GivenOption>& taken,
                      std::string& error) {
    const std::string_view arg = args[i];
    for (std::size_t at = 1; at < arg.size(); ++at) {
        const OptionSpec* option = findShort(arg[at], options);
        if (option == nullptr) {
            error = "unknown option '-" + std::string(1, arg[at]) + "'";
            if (arg.size() > 2) {
                error += " in '" + std::string(arg) + "'";
            }
            return false;
        }
        taken.push_back({option->name, {}});
        if (!option->takesValue) {
            continue;
        }
        if (at + 1 < arg.size()) {
            taken.back().value = arg.substr(at + 1);
            return true;
        }
        return takeNextWord(args, i, *option, taken.back().value, error);
    }
    return true;
}

bool checkOperands(const CommandSyntax& syntax, const ParsedArguments& parsed, std::string& error) {
    if (parsed.operands.size() < syntax.operands.size()) {
        error = "missing " + std::string(syntax.operands[parsed.operands.size()]);
        return false;
    }
    if (parsed.operands.size() > syntax.operands.size()) {
        error = "unexpected argument '" + parsed.operands[syntax.operands.size()] + "'";
        return false;
    }
    return true;
}

} // namespace

bool ParsedArguments::given(std::string_view name) const {
    return std::any_of(options.begin(), options.end(),
                       [name](const GivenOption& o) { return o.name == name; });
}

bool parseArguments(std::span<char* const> args, const CommandSyntax& syntax,
                    ParsedArguments& parsed, std::string& error) {
    parsed = ParsedArguments{};
    // Help is asked for even in an otherwise broken command line; it stops at "--" like the rest,
    // and a -h that is an option's value is no question.
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--") {
            break;
        }
        if (isHelp(arg)) {
            parsed.helpWanted = true;
            return true;
        }
        if (isOptionWord(arg) && takesNextWord(arg, syntax.options)) {
            ++i;
        }
    }
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !isOptionWord(arg)) {
            parsed.operands.emplace_back(arg);
            continue;
        }
        std::vector<GivenOption> taken;
        const bool took = arg.starts_with("--")
                              ? takeLongOption(args, i, syntax.options, taken, error)
                              : takeShortOptions(args, i, syntax.options, taken, error);
        if (!took) {
            return false;
        }
        for (GivenOption& given : taken) {
            if (!findLong(given.name, syntax.options)->repeatable && parsed.given(given.name)) {
                error = std::string(given.name) + " is given more than once";
                return false;
            }
            parsed.options.push_back(std::move(given));
        }
    }
    return checkOperands(syntax, parsed, error);
}

} // namespace quarvel
