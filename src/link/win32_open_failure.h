#pragma once

#include "link/byte_channel.h"

#include <string>

namespace quarvel {

// Where opening a Windows serial line stopped: opening the name, reading the line's settings
// (which only a serial port has), or writing them.
enum class Win32OpenStep { Open, ReadSettings, WriteSettings };

// Why the Windows serial line device (opened as systemPath) did not open, from the step that
// failed and the system's error code.
OpenFailure win32OpenFailure(const std::string& device, const std::wstring& systemPath,
                             Win32OpenStep step, unsigned long errorCode);

} // namespace quarvel
