#include "cli/serial_line.h"
#include "link/win32_serial_channel.h"

#include <utility>

namespace quarvel {

std::shared_ptr<void> serialLineSupport() {
    return nullptr;
}

ChannelOpener serialLineOpener(std::function<std::string(int portNumber)> deviceName,
                               OpenFailureSink onFailure) {
    return win32SerialOpener(std::move(deviceName), std::move(onFailure));
}

} // namespace quarvel
