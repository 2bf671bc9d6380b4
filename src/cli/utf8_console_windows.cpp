#include "cli/utf8_console.h"

#include <windows.h>

namespace quarvel {

// The program's code page is UTF-8 (its manifest says so), but a console keeps its own code page
// for output, the OEM one, which would garble every character beyond ASCII.
Utf8Console::Utf8Console() {
    const UINT current = GetConsoleOutputCP();
    if (current != 0 && current != CP_UTF8 && SetConsoleOutputCP(CP_UTF8) != 0) {
        m_previousCodePage = current;
    }
}

// The console outlives the program and is shared with the programs run after it.
Utf8Console::~Utf8Console() {
    if (m_previousCodePage != 0) {
        SetConsoleOutputCP(m_previousCodePage);
    }
}

} // namespace quarvel
