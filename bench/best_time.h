#pragma once

#include <algorithm>
#include <chrono>
#include <ctime>

namespace quarvel::bench {

using Seconds = std::chrono::duration<double>;

// CPU time used by this process so far, user and system: unlike the clock on the wall it does not
// run on while the process waits for a share of a busy machine.
inline Seconds processTime() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return Seconds(static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9);
}

// The least CPU time of rounds runs of work: the run least disturbed by caches emptied by others.
template <typename Work> Seconds bestTime(int rounds, Work&& work) {
    Seconds best = Seconds::max();
    for (int round = 0; round < rounds; ++round) {
        const Seconds start = processTime();
        work();
        best = std::min(best, processTime() - start);
    }
    return best;
}

} // namespace quarvel::bench
