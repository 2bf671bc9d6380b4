#include "cli/device_search.h"

#include "link/command_set.h"

namespace quarvel {

SearchAnswer searchOnce(SerialPort& port, std::uint8_t channel, std::int64_t waitMs) {
    CommandSet commands;
    commands.reset(channel);
    if (!port.write(commands.searchFrame())) {
        return SearchAnswer::PortLost;
    }
    const std::int64_t deadline = port.nowMs() + waitMs;
    bool inFrame = false;
    while (port.nowMs() < deadline) {
        const int value = port.readByte();
        if (value == -2) {
            return SearchAnswer::PortLost;
        }
        if (value == kStartOfExclusive) {
            inFrame = true;
        } else if (value == kEndOfExclusive && inFrame) {
            return SearchAnswer::Answered;
        }
    }
    return SearchAnswer::Silent;
}

} // namespace quarvel
