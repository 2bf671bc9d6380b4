#pragma once

#include <string_view>

namespace quarvel {

// True when the command-line text after the program's name holds "+boot" in any case, anywhere,
// even inside a longer word.
bool commandLineAsksForBoot(std::string_view arguments);

// The text of a whole Windows command line after the program's name, which is quoted or ends at
// the first blank; the blanks that follow the name are dropped.
std::string_view argumentsAfterProgramName(std::string_view commandLine);

} // namespace quarvel
