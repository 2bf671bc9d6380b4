#pragma once

#include "link/byte_channel.h"

#include <string>

namespace quarvel {

// Where opening a Windows serial line stopped.
enum class Win32OpenStep { Open, Settings };

// Why a Windows serial line did not open, from the step that failed and the system's error code.
OpenFailure win32OpenFailure(const std::string& device, Win32OpenStep step,
                             unsigned long errorCode);

} // namespace quarvel
