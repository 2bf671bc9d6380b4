#include "cli/port_opener.h"

#include "cli/serial_line.h"
#include "settings/port_device.h"
#include "settings/profile_file.h"
#include "settings/settings_location.h"

#include <utility>

namespace quarvel {

std::string portDevicePath(const PortChoice& port) {
    const ProfileFile settings(settingsFilePath());
    if (port.devicePath.empty()) {
        // Port numbers name devices as in the desktop program, through its settings file.
        return portDeviceName(settings, port.number);
    }
    // A bare name may be the operator's own name for a port, from section [Ports].
    if (port.devicePath.find_first_of("/\\") == std::string::npos) {
        return settings.readString("Ports", port.devicePath, port.devicePath);
    }
    return port.devicePath;
}

ChannelOpener portOpener(const PortChoice& port, OpenFailureSink onFailure) {
    return serialLineOpener([path = portDevicePath(port)](int) { return path; },
                            std::move(onFailure));
}

std::string portDescription(const PortChoice& port) {
    return port.devicePath.empty() ? "port " + std::to_string(port.number) : port.devicePath;
}

} // namespace quarvel
