#include "cli/terminal_columns.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace quarvel {

std::size_t terminalColumns(std::FILE* stream) {
    winsize size{};
    if (ioctl(fileno(stream), TIOCGWINSZ, &size) != 0) {
        return 0;
    }
    return size.ws_col;
}

} // namespace quarvel
