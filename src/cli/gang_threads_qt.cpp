#include "cli/gang_threads.h"

#include <QThread>
#include <memory>

namespace quarvel {

// QSerialPort watches its line through the event dispatcher of its thread, which only a QThread
// has; a plain thread would make every open warn.
void runAtOnce(const std::vector<std::function<void()>>& work, const PieceFailure& onFailure) {
    // Qt does not tell a failed start: a piece that never began, once every thread has ended,
    // is one. Each thread writes its own element only.
    std::vector<char> began(work.size(), 0);
    std::vector<std::unique_ptr<QThread>> threads;
    for (std::size_t index = 0; index < work.size(); ++index) {
        const auto piece = guardedPiece(work[index], index, onFailure);
        threads.emplace_back(QThread::create([piece, &began, index] {
            began[index] = 1;
            piece();
        }));
        threads.back()->start();
    }
    for (const auto& thread : threads) {
        thread->wait();
    }
    for (std::size_t index = 0; index < work.size(); ++index) {
        if (began[index] == 0) {
            onFailure(index, "the system could not start a thread for it");
        }
    }
}

} // namespace quarvel
