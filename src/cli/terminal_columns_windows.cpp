#include "cli/terminal_columns.h"

#include <io.h>
#include <windows.h>

namespace quarvel {

std::size_t terminalColumns(std::FILE* stream) {
    const auto console = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (console == INVALID_HANDLE_VALUE || GetConsoleScreenBufferInfo(console, &info) == 0) {
        return 0;
    }
    return static_cast<std::size_t>(info.srWindow.Right - info.srWindow.Left + 1);
}

} // namespace quarvel
