#include "cli/port_opener.h"

#include "cli/serial_line.h"
#include "settings/port_device.h"
#include "settings/profile_file.h"
#include "settings/settings_location.h"

#include <utility>

namespace quarvel {

ChannelOpener portOpener(const PortChoice& port, OpenFailureSink onFailure) {
    if (port.devicePath.empty()) {
        // Port numbers name devices as in the desktop program, through its settings file.
        return serialLineOpener(
            [](int portNumber) {
                return portDeviceName(ProfileFile(settingsFilePath()), portNumber);
            },
            std::move(onFailure));
    }
    return serialLineOpener([path = port.devicePath](int) { return path; }, std::move(onFailure));
}

std::string portDescription(const PortChoice& port) {
    return port.devicePath.empty() ? "port " + std::to_string(port.number) : port.devicePath;
}

} // namespace quarvel
