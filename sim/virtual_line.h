#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>

namespace quarvel {

// What arrives on a line at a virtual moment: a byte (0 to 255), or -2 for a failure of the line.
struct Arrival {
    std::int64_t atMs;
    int value;
};

// The reading end of a line on a virtual clock, shared by the stand-in device's in-process link
// and every scripted line of the tests and fuzz targets: a read that would wait moves the clock
// on instead, so a 20 second time-out costs nothing.
struct VirtualLine {
    static constexpr std::int64_t kReadWaitMs = 100;

    std::deque<Arrival> arrivals;
    std::int64_t nowMs = 0;

    // True when the first arrival has reached the line by now: a read takes it without waiting.
    bool hasArrived() const { return !arrivals.empty() && arrivals.front().atMs <= nowMs; }

    // The first arrival's value once the clock has reached it, or -1 when nothing arrives within
    // one read wait. The arrival stays first in line.
    int peek() {
        if (arrivals.empty() || arrivals.front().atMs > nowMs + kReadWaitMs) {
            nowMs += kReadWaitMs;
            return -1;
        }
        nowMs = std::max(nowMs, arrivals.front().atMs);
        return arrivals.front().value;
    }

    // As peek, taking the arrival out of the line.
    int read() {
        const int value = peek();
        if (value != -1) {
            arrivals.pop_front();
        }
        return value;
    }
};

} // namespace quarvel
