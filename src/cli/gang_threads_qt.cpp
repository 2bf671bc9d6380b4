#include "cli/gang_threads.h"

#include <QThread>
#include <memory>

namespace quarvel {

// QSerialPort watches its line through the event dispatcher of its thread, which only a QThread
// has; a plain thread would make every open warn.
void runAtOnce(const std::vector<std::function<void()>>& work) {
    std::vector<std::unique_ptr<QThread>> threads;
    for (const auto& piece : work) {
        threads.emplace_back(QThread::create(piece));
        threads.back()->start();
    }
    for (const auto& thread : threads) {
        thread->wait();
    }
}

} // namespace quarvel
