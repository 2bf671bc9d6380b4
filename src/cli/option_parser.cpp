#include "cli/option_parser.h"

#include <algorithm>

namespace quarvel {
namespace {

bool isHelp(std::string_view arg) {
    return arg == "-h" || arg == "--help";
}

// The option an option word names, and where its attached value starts (npos when none).
const OptionSpec* findOption(std::string_view arg, std::span<const OptionSpec> options,
                             std::size_t& valueStart) {
    valueStart = std::string_view::npos;
    if (arg.starts_with("--")) {
        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        const auto found = std::find_if(options.begin(), options.end(),
                                        [name](const OptionSpec& o) { return o.name == name; });
        if (found == options.end()) {
            return nullptr;
        }
        valueStart = equals == std::string_view::npos ? equals : equals + 1;
        return &*found;
    }
    const auto found = std::find_if(options.begin(), options.end(), [arg](const OptionSpec& o) {
        return o.shortName != '\0' && arg[1] == o.shortName;
    });
    if (found == options.end() || (arg.size() > 2 && !found->takesValue)) {
        return nullptr;
    }
    valueStart = arg.size() > 2 ? 2 : std::string_view::npos;
    return &*found;
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
    // Help is asked for even in an otherwise broken command line; it stops at "--" like the rest.
    for (const std::string_view arg : args) {
        if (arg == "--") {
            break;
        }
        if (isHelp(arg)) {
            parsed.helpWanted = true;
            return true;
        }
    }
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || arg.size() < 2 || arg.front() != '-') {
            parsed.operands.emplace_back(arg);
            continue;
        }
        std::size_t valueStart = 0;
        const OptionSpec* option = findOption(arg, syntax.options, valueStart);
        if (option == nullptr) {
            error = "unknown option '" + std::string(arg) + "'";
            return false;
        }
        GivenOption given{option->name, {}};
        if (!option->takesValue) {
            if (valueStart != std::string_view::npos) {
                error = std::string(option->name) + " takes no value";
                return false;
            }
        } else if (valueStart != std::string_view::npos) {
            given.value = arg.substr(valueStart);
        } else if (i + 1 < args.size()) {
            given.value = args[++i];
        } else {
            error = std::string(option->name) + " needs a value";
            return false;
        }
        if (!option->repeatable && parsed.given(option->name)) {
            error = std::string(option->name) + " is given more than once";
            return false;
        }
        parsed.options.push_back(std::move(given));
    }
    return checkOperands(syntax, parsed, error);
}

} // namespace quarvel
