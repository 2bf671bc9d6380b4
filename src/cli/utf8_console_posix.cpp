#include "cli/utf8_console.h"

namespace quarvel {

// Terminals here take UTF-8 as it comes.
Utf8Console::Utf8Console() = default;

Utf8Console::~Utf8Console() = default;

} // namespace quarvel
