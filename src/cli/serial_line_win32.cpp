#include "cli/serial_line.h"
#include "link/win32_serial_channel.h"

#include <utility>

namespace quarvel {

ChannelOpener serialLineOpener(std::function<std::string(int portNumber)> deviceName,
                               OpenFailureSink onFailure) {
    return win32SerialOpener(std::move(deviceName), std::move(onFailure));
}

} // namespace quarvel
