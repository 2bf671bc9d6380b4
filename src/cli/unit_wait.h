#pragma once

#include "cli/load_options.h"
#include "cli/presence.h"

#include <cstdint>
#include <functional>

namespace quarvel {

// Sends the search frame on port every half second until a unit has come or gone as waiting
// says (see PresenceWatch). A port that cannot be opened, or fails, gets no answer and is opened
// again at the next search: a unit on an adapter that was pulled out has gone, and the port is
// used again once it is back. False when stop became true first.
bool awaitUnit(const PortChoice& port, std::uint8_t channel, PresenceWatch::Waiting waiting,
               const std::function<bool()>& stop);

} // namespace quarvel
