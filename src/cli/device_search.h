#pragma once

#include "link/serial_port.h"

#include <cstdint>

namespace quarvel {

enum class SearchAnswer { Answered, Silent, PortLost };

// Sends the search frame on channel once and waits up to waitMs for a whole frame (F0 ... F7) in
// reply. Nothing but the search frame is written. PortLost when the line failed.
SearchAnswer searchOnce(SerialPort& port, std::uint8_t channel, std::int64_t waitMs);

} // namespace quarvel
