#include "cli/gang_threads.h"

#include <thread>

namespace quarvel {

// The Win32 serial API blocks in the calling thread and needs nothing of it.
void runAtOnce(const std::vector<std::function<void()>>& work) {
    std::vector<std::jthread> threads;
    threads.reserve(work.size());
    for (const auto& piece : work) {
        threads.emplace_back(piece);
    }
}

} // namespace quarvel
