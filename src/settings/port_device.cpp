#include "settings/port_device.h"

#include "link/port_names.h"

namespace quarvel {

std::string portDeviceName(const ProfileFile& settings, int portNumber) {
    if (portNumber < 1) {
        return {};
    }
    if (!kSettingsMapPorts) {
        return defaultPortDeviceName(portNumber);
    }
    return settings.readString("Ports", "COM" + std::to_string(portNumber),
                               defaultPortDeviceName(portNumber));
}

} // namespace quarvel
