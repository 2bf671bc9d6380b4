#pragma once

#include <windows.h>

namespace quarvel {

// The prompt shown when a record has failed all its retries, modal over owner: true for
// "Try Again"; "Cancel", Esc and the close box answer false. It opens with the focus on
// "Cancel", its first tab stop, so that a key pressed by habit stops a failing load instead of
// retrying it.
bool askRetryWin32(HWND owner);

} // namespace quarvel
