#include "cli/interrupt.h"

#include <atomic>
#include <windows.h>

namespace quarvel {
namespace {

// Set from the thread that Windows starts for a console control event.
std::atomic<bool> g_interrupted{false};

BOOL WINAPI onControlEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
        // Closing the console or logging off: the system ends the process in any case.
        return FALSE;
    }
    g_interrupted = true;
    // Handled: the process lives on, so that the load can end and release the port.
    return TRUE;
}

} // namespace

InterruptGuard::InterruptGuard() {
    g_interrupted = false;
    SetConsoleCtrlHandler(onControlEvent, TRUE);
}

InterruptGuard::~InterruptGuard() {
    SetConsoleCtrlHandler(onControlEvent, FALSE);
}

bool interrupted() {
    return g_interrupted;
}

} // namespace quarvel
