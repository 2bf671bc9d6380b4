#pragma once

#include "link/byte_channel.h"

namespace quarvel {

// Catches Ctrl-C (and on POSIX systems SIGTERM and SIGHUP) for as long as it lives, so that a
// load can end cleanly instead of the process dying with the port and the file still held.
class InterruptGuard {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;
};

// True once Ctrl-C was pressed under an InterruptGuard.
bool interrupted();

// Makes every line that opener opens give up once Ctrl-C was pressed: reads fail at once and
// nothing more is written, so even a twenty-second erase wait ends within one byte read.
ChannelOpener interruptibleOpener(ChannelOpener opener);

} // namespace quarvel
