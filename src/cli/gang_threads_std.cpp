#include "cli/gang_threads.h"

#include <system_error>
#include <thread>

namespace quarvel {

// The Win32 serial API blocks in the calling thread and needs nothing of it.
void runAtOnce(const std::vector<std::function<void()>>& work, const PieceFailure& onFailure) {
    std::vector<std::jthread> threads;
    threads.reserve(work.size());
    for (std::size_t index = 0; index < work.size(); ++index) {
        try {
            threads.emplace_back(guardedPiece(work[index], index, onFailure));
        } catch (const std::system_error& error) {
            onFailure(index, "the system could not start a thread for it (" +
                                 error.code().message() + ")");
        }
    }
}

} // namespace quarvel
