#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quarvel::bench {

// One frame the loader sent and the number of reply bytes it read before sending the next.
struct Exchange {
    std::vector<std::uint8_t> sent;
    std::size_t replyBytes = 0;
};

struct RecordedLoad {
    std::vector<Exchange> exchanges;
    std::int64_t records = 0;
    bool completed = false;
};

// Loads the program file in-process into the device model that ktv-sim serves, on virtual time,
// and records every byte that crosses the line.
RecordedLoad recordLoad(const std::string& programFile);

} // namespace quarvel::bench
