#pragma once

#include "link/byte_channel.h"
#include "sim/virtual_line.h"

#include <cstdint>
#include <memory>
#include <span>

namespace quarvel::fuzzing {

// The far end of a line that plays back a fuzz input on a virtual clock. In the input FD n stands
// for a pause of (n + 1) x 50 ms before the next byte, FD FF for a failure of the line and FD FD
// for the byte FD itself; every other byte arrives as it is. Once the input is played out the
// line stays silent.
class PlayedLine {
public:
    explicit PlayedLine(std::span<const std::uint8_t> input);

    // Opens a channel onto this line; the line must outlive it.
    ChannelOpener opener();
    std::int64_t nowMs() const { return m_line.nowMs; }

private:
    friend class PlayedChannel;

    VirtualLine m_line;
};

} // namespace quarvel::fuzzing
