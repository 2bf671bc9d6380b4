#include "cli/interrupt.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstddef>

namespace quarvel {
namespace {

// Atomic rather than volatile: the loads of a gang read it from threads of their own, and a
// lock-free atomic may be set from a signal handler.
std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);
// Ctrl-C, and the requests to end that a service manager, kill or a closed terminal send: each
// ends the load cleanly instead of leaving the port and the run's own files behind.
constexpr std::array kEndingSignals{SIGINT, SIGTERM, SIGHUP};
std::array<struct sigaction, kEndingSignals.size()> g_previous{};

extern "C" void onInterrupt(int) {
    g_interrupted = true;
}

} // namespace

InterruptGuard::InterruptGuard() {
    g_interrupted = false;
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read of the retry answer returns at once instead of waiting on.
    action.sa_flags = 0;
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        sigaction(kEndingSignals[i], &action, &g_previous[i]);
    }
}

InterruptGuard::~InterruptGuard() {
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        sigaction(kEndingSignals[i], &g_previous[i], nullptr);
    }
}

bool interrupted() {
    return g_interrupted;
}

} // namespace quarvel
