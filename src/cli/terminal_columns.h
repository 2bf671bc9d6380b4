#pragma once

#include <cstddef>
#include <cstdio>

namespace quarvel {

// How many characters a line of the terminal that stream writes to holds; 0 when stream is not a
// terminal or the system does not say.
std::size_t terminalColumns(std::FILE* stream);

} // namespace quarvel
