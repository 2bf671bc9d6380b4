#pragma once

#include "link/byte_channel.h"

#include <functional>
#include <string>
#include <string_view>

namespace quarvel {

// Where the trace's lines go, each without its line feed.
using TraceLog = std::function<void(std::string_view line)>;

// Makes every line that opener opens tell log of every byte it carries, one line each:
//   trace    1234 ms > F0 00 3C 51 7F 01 F7      a write, whole
//   trace    1301 ms < F0 00 3C 51 00 02 F7      bytes read, up to the end of a frame or a pause
//   trace    3301 ms ! read failed               the line failed
// in milliseconds since the line opened, with label after "trace" when one is given. The bytes
// on the line and the answers of the channel stay as they are.
ChannelOpener tracingOpener(ChannelOpener opener, TraceLog log, std::string label = {});

} // namespace quarvel
