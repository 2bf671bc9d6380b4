#include "cli/interrupt.h"

#include <csignal>

namespace quarvel {
namespace {

volatile std::sig_atomic_t g_interrupted = 0;
struct sigaction g_previous {};

extern "C" void onInterrupt(int) {
    g_interrupted = 1;
}

} // namespace

InterruptGuard::InterruptGuard() {
    g_interrupted = 0;
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
    return g_interrupted != 0;
}

} // namespace quarvel
