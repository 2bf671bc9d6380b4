#pragma once

#include "link/command_set.h"

#include <optional>
#include <string>
#include <string_view>

namespace quarvel {

// Port list index to port number: 0 is COM1. A list without a selection (-1) gives 0.
int portNumberOfIndex(int portIndex);
// Channel list index to channel: 0 ("All") is kAllChannels, 1 to 16 are 0 to 15; -1 gives -2.
int channelOfIndex(int channelIndex);
// True for a channel that can travel inside a frame: 0 to 15, or 127. Any other value is not a
// MIDI data byte (-2 would go out as FE, a real-time byte that receivers take out of the frame,
// so the next byte would be read as the channel).
bool isSendableChannel(int channel);
// The path up to and including its last folder separator, or nothing when it has none.
std::optional<std::string> folderOfPath(std::string_view path);

} // namespace quarvel
