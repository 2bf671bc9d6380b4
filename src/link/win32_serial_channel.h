#pragma once

#include "link/byte_channel.h"

#include <functional>
#include <string>

namespace quarvel {

// Opens real serial lines through the Windows serial API, naming the device of a port number
// with deviceName ("COM12", or any device path); an open that fails is described to onFailure,
// when given. Every wait blocks in the calling thread.
ChannelOpener win32SerialOpener(std::function<std::string(int portNumber)> deviceName,
                                OpenFailureSink onFailure = {});

} // namespace quarvel
