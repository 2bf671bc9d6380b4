#include "app/desktop_serial_line.h"
#include "link/win32_serial_channel.h"
#include "ui/alive_while_waiting.h"

#include <utility>

namespace quarvel {

ChannelOpener desktopSerialOpener(std::function<std::string(int portNumber)> deviceName) {
    // The line's waits wake whenever the windows are owed something, and serve them then.
    return win32SerialOpener(std::move(deviceName), {}, serveWindowsWithoutInput);
}

} // namespace quarvel
