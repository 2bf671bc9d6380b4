#pragma once

#include "link/byte_channel.h"

#include <functional>
#include <string>

namespace quarvel {

// Opens real serial lines through QSerialPort, naming the device of a port number with
// deviceName; an open that fails is described to onFailure, when given. Needs no running event
// loop: every wait blocks in the calling thread.
ChannelOpener qtSerialOpener(std::function<std::string(int portNumber)> deviceName,
                             OpenFailureSink onFailure = {});

} // namespace quarvel
