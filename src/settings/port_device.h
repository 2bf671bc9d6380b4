#pragma once

#include "settings/profile_file.h"

#include <string>

namespace quarvel {

// Windows names every serial port COMn itself; elsewhere section "Ports" of the settings file
// says which device a port number names.
#ifdef _WIN32
inline constexpr bool kSettingsMapPorts = false;
#else
inline constexpr bool kSettingsMapPorts = true;
#endif

// The device that port number n opens: key "COMn" of section "Ports" in the settings file where
// the settings map ports, otherwise or without that key the platform's default name for it. Port
// numbers below 1 name nothing (an empty name), so that a list without a selection can never
// open a port.
std::string portDeviceName(const ProfileFile& settings, int portNumber);

} // namespace quarvel
