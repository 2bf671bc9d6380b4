#include "cli/interrupt.h"

#include <atomic>
#include <csignal>

namespace quarvel {
namespace {

// Atomic rather than volatile: the loads of a gang read it from threads of their own, and a
// lock-free atomic may be set from a signal handler.
std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);
struct sigaction g_previous {};

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
    sigaction(SIGINT, &action, &g_previous);
}

InterruptGuard::~InterruptGuard() {
    sigaction(SIGINT, &g_previous, nullptr);
}

bool interrupted() {
    return g_interrupted;
}

} // namespace quarvel
