#pragma once

#include "link/serial_settings.h"
#include "link/win32_open_failure.h"

#include <optional>
#include <windows.h>

namespace quarvel {

// How long one byte read waits, and a write for each of its bytes.
inline constexpr DWORD kWin32ReadWaitMs = 100;
inline constexpr DWORD kWin32WriteWaitPerByteMs = 100;

// Sets an open line up for a raw transfer at the settings' speed and data bits, no parity and
// one stop bit, whatever state another program left it in; answers the step that failed, or
// nothing when the line is ready.
std::optional<Win32OpenStep> setUpLine(HANDLE handle, const SerialSettings& settings);

} // namespace quarvel
