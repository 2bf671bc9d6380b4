#pragma once

#include "link/byte_channel.h"

#include <functional>
#include <memory>
#include <string>

namespace quarvel {

// Whatever this system's serial lines need while any is open, held for as long as the answer
// lives: Qt's application object, which QSerialPort wants even with no event loop running; on
// Windows nothing. Made once, on the main thread, before any line opens.
std::shared_ptr<void> serialLineSupport();

// Opens this system's real serial lines (QSerialPort, or the Win32 serial API on Windows),
// naming the device of a port number with deviceName; an open that fails is described to
// onFailure.
ChannelOpener serialLineOpener(std::function<std::string(int portNumber)> deviceName,
                               OpenFailureSink onFailure);

} // namespace quarvel
