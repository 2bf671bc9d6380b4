#pragma once

#include "link/byte_channel.h"

#include <functional>
#include <string>

namespace quarvel {

// Opens this system's real serial lines (QSerialPort, or the Win32 serial API on Windows),
// naming the device of a port number with deviceName; an open that fails is described to
// onFailure. Whatever the backend needs while lines are open lives as long as the opener.
ChannelOpener serialLineOpener(std::function<std::string(int portNumber)> deviceName,
                               OpenFailureSink onFailure);

} // namespace quarvel
