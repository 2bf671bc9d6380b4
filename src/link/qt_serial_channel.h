#pragma once

#include "link/byte_channel.h"

#include <functional>
#include <string>

namespace quarvel {

// How a read waits for the line's next byte.
enum class ReadWait {
    // Blocks the calling thread; needs no event loop.
    Blocking,
    // Runs the thread's event loop without user input until the line has a byte, fails, or the
    // read's time-out passes: the windows are served at once while a load waits for the device,
    // and keys and clicks wait until the waiting step has returned.
    ServingEvents,
};

// Opens real serial lines through QSerialPort, naming the device of a port number with
// deviceName; an open that fails is described to onFailure, when given.
ChannelOpener qtSerialOpener(std::function<std::string(int portNumber)> deviceName,
                             OpenFailureSink onFailure = {}, ReadWait wait = ReadWait::Blocking);

} // namespace quarvel
