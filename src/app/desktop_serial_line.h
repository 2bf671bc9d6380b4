#pragma once

#include "link/byte_channel.h"

#include <functional>
#include <string>

namespace quarvel {

// The Qt desktop program's real serial lines, through QSerialPort; deviceName names the device
// of a port number. The windows are served while a read waits.
ChannelOpener desktopSerialOpener(std::function<std::string(int portNumber)> deviceName);

} // namespace quarvel
