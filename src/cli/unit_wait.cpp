#include "cli/unit_wait.h"

#include "cli/device_search.h"
#include "cli/interrupt.h"
#include "cli/port_opener.h"

#include <chrono>
#include <thread>

namespace quarvel {
namespace {

constexpr auto kSearchPace = std::chrono::milliseconds(500);
// Room for the reply within the pace; a device answers the search frame within a few bytes' time.
constexpr std::int64_t kReplyWaitMs = 400;
constexpr auto kStopCheck = std::chrono::milliseconds(50);
constexpr int kQueueSize = 100;

} // namespace

bool awaitUnit(const PortChoice& port, std::uint8_t channel, PresenceWatch::Waiting waiting,
               const std::function<bool()>& stop) {
    PresenceWatch watch(waiting);
    SerialPort line(interruptibleOpener(portOpener(port, [](const OpenFailure&) {})));
    while (!stop()) {
        const auto next = std::chrono::steady_clock::now() + kSearchPace;
        if (!line.isOpen()) {
            line.open(SerialSettings{}, kQueueSize, kQueueSize);
        }
        bool answered = false;
        if (line.isOpen()) {
            const SearchAnswer answer = searchOnce(line, channel, kReplyWaitMs);
            answered = answer == SearchAnswer::Answered;
            if (answer == SearchAnswer::PortLost) {
                line.close();
            }
        }
        if (watch.searched(answered)) {
            return true;
        }
        while (!stop() && std::chrono::steady_clock::now() < next) {
            std::this_thread::sleep_for(kStopCheck);
        }
    }
    return false;
}

} // namespace quarvel
