#include "app/boot_mode.h"

#include <algorithm>
#include <cctype>

namespace quarvel {

bool commandLineAsksForBoot(std::string_view arguments) {
    constexpr std::string_view switchText = "+boot";
    const auto found = std::ranges::search(
        arguments, switchText, [](unsigned char a, char b) { return std::tolower(a) == b; });
    return !found.empty();
}

std::string_view argumentsAfterProgramName(std::string_view commandLine) {
    std::size_t end = 0;
    if (commandLine.starts_with('"')) {
        end = commandLine.find('"', 1);
        end = end == std::string_view::npos ? commandLine.size() : end + 1;
    } else {
        end = std::min(commandLine.find_first_of(" \t"), commandLine.size());
    }
    commandLine.remove_prefix(end);
    const auto start = commandLine.find_first_not_of(" \t");
    return start == std::string_view::npos ? std::string_view() : commandLine.substr(start);
}

} // namespace quarvel
