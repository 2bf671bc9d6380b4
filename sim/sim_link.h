#pragma once

#include "link/byte_channel.h"
#include "sim/device_model.h"
#include "sim/virtual_line.h"

#include <cstdint>

namespace quarvel {

// Joins SerialPort to a DeviceModel in-process, on a virtual clock: a read that would wait
// moves the clock on instead, so a 20 second time-out costs nothing. The clock runs on across
// the ports opened through one link; the link and the device must outlive them.
class SimLink {
public:
    explicit SimLink(DeviceModel& device) : m_device(device) {}

    // Opens a line to the device; nullptr once the device has dropped the line.
    ChannelOpener opener();
    std::int64_t nowMs() const { return m_line.nowMs; }
    // How many times the line has been opened.
    int opens() const { return m_opens; }

private:
    friend class SimChannel;

    DeviceModel& m_device;
    VirtualLine m_line;
    int m_opens = 0;
};

} // namespace quarvel
