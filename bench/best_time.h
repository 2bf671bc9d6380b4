#pragma once

#include <algorithm>
#include <chrono>

namespace quarvel::bench {

using Seconds = std::chrono::duration<double>;

// The shortest of rounds runs of work: the run least disturbed by the rest of a shared machine.
template <typename Work> Seconds bestTime(int rounds, Work&& work) {
    using Clock = std::chrono::steady_clock;
    Seconds best = Seconds::max();
    for (int round = 0; round < rounds; ++round) {
        const Clock::time_point start = Clock::now();
        work();
        best = std::min<Seconds>(best, Clock::now() - start);
    }
    return best;
}

} // namespace quarvel::bench
