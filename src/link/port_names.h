#pragma once

#include <string>

namespace quarvel {

// The device that port number n names when the settings give no other: "COMn" on Windows,
// /dev/ttyS<n-1> elsewhere.
std::string defaultPortDeviceName(int portNumber);

} // namespace quarvel
