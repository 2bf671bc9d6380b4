#include "ui/win32_message_queue.h"

#include <windows.h>

namespace quarvel {

void serveQueueWithoutInput() {
    static bool serving = false;
    if (serving) {
        return;
    }
    serving = true;
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0,
                          PM_REMOVE | PM_QS_SENDMESSAGE | PM_QS_PAINT | PM_QS_POSTMESSAGE)) {
        if (message.message == WM_QUIT) {
            // Left for the loop that owns it.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        ::DispatchMessageW(&message);
    }
    serving = false;
}

} // namespace quarvel
