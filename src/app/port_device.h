#pragma once

#include "app/profile_file.h"

#include <string>

namespace quarvel {

// The device that port number n opens: key "COMn" of section "Ports" in the settings file, or
// the platform's default name for it. Port numbers below 1 name nothing (an empty name), so
// that a list without a selection can never open a port.
std::string portDeviceName(const ProfileFile& settings, int portNumber);

} // namespace quarvel
