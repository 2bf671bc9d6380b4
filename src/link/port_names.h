#pragma once

#include <string>

namespace quarvel {

// Port numbers run from 1 to this: Windows names its serial ports COM1 to COM255.
#ifdef _WIN32
inline constexpr int kHighestPortNumber = 255;
#else
inline constexpr int kHighestPortNumber = 9;
#endif

// The device that port number n names when the settings give no other: "COMn" on Windows,
// /dev/ttyS<n-1> elsewhere.
std::string defaultPortDeviceName(int portNumber);

} // namespace quarvel
