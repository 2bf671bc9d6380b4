#pragma once

#include <string_view>

namespace quarvel {

// True when the command-line text after the program's name holds "+boot" in any case, anywhere,
// even inside a longer word.
bool commandLineAsksForBoot(std::string_view arguments);

} // namespace quarvel
