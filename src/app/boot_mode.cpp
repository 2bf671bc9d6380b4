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

} // namespace quarvel
