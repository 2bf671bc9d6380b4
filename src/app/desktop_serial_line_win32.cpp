#include "app/desktop_serial_line.h"
#include "link/win32_serial_channel.h"
#include "ui/alive_while_waiting.h"

#include <utility>

namespace quarvel {

ChannelOpener desktopSerialOpener(std::function<std::string(int portNumber)> deviceName) {
    // The Windows line blocks in its reads: the windows are served between them.
    return servingWindowsWhileWaiting(win32SerialOpener(std::move(deviceName)),
                                      serveWindowsWithoutInput);
}

} // namespace quarvel
