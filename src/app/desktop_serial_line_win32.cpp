#include "app/desktop_serial_line.h"
#include "link/win32_serial_channel.h"

#include <utility>

namespace quarvel {

ChannelOpener desktopSerialOpener(std::function<std::string(int portNumber)> deviceName) {
    return win32SerialOpener(std::move(deviceName));
}

} // namespace quarvel
