#include "app/desktop_serial_line.h"
#include "link/qt_serial_channel.h"

#include <utility>

namespace quarvel {

ChannelOpener desktopSerialOpener(std::function<std::string(int portNumber)> deviceName) {
    return qtSerialOpener(std::move(deviceName), {}, ReadWait::ServingEvents);
}

} // namespace quarvel
