#pragma once

#include "link/byte_channel.h"

#include <cstdint>
#include <functional>

namespace quarvel {

// How much of a line's clock may pass in a wait before the windows are served again.
inline constexpr std::int64_t kServeWindowsEveryMs = 50;

// Delivers what the windows owe while a load step waits for the device: paints and exposes,
// the window manager's ping, answers to assistive technology, timers and posted events. Input
// (keys, clicks, the close box) stays queued until the step has returned, and the step timer is
// stopped for the length of a step, so no step starts inside another. A call from inside itself
// does nothing.
void serveWindowsWithoutInput();

// Opens lines through opener that call whileWaiting before a byte read once at least
// kServeWindowsEveryMs of the line's clock have passed since they last did. The bytes, and the
// clock that every time-out is measured on, are the line's own: a byte that arrives meanwhile is
// simply the next one read. For lines that cannot serve the windows in their own waits, as the
// virtual-time lines of the dialog tests and the screenshot tool; the desktop program's real
// line does (ReadWait::ServingEvents).
ChannelOpener servingWindowsWhileWaiting(ChannelOpener opener, std::function<void()> whileWaiting);

} // namespace quarvel
