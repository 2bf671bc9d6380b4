#pragma once

#include "link/byte_channel.h"

#include <functional>
#include <string>

namespace quarvel {

// Opens real serial lines through the Windows serial API, naming the device of a port number
// with deviceName ("COM12", or any device path); an open that fails is described to onFailure,
// when given. Every wait blocks the calling thread; with serveQueue set, a wait also wakes
// whenever the thread's windows are sent a message, need painting or are posted one, calls
// serveQueue (which must look at the queue, or the wait wakes again at once) and goes on
// waiting, so that a GUI thread keeps answering while it waits for the device.
ChannelOpener win32SerialOpener(std::function<std::string(int portNumber)> deviceName,
                                OpenFailureSink onFailure = {},
                                std::function<void()> serveQueue = {});

} // namespace quarvel
