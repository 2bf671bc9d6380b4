#include "cli/port_mappings.h"

#include "files/path_text.h"
#include "link/port_names.h"
#include "settings/port_device.h"
#include "settings/profile_file.h"
#include "settings/settings_location.h"

#include <filesystem>
#include <system_error>

namespace quarvel {

std::vector<PortMapping> mappedPorts() {
    std::vector<PortMapping> mappings;
    if (!kSettingsMapPorts) {
        return mappings;
    }
    const ProfileFile settings(settingsFilePath());
    for (int number = 1; number <= kHighestPortNumber; ++number) {
        const std::string device = settings.readString("Ports", "COM" + std::to_string(number), "");
        if (!device.empty()) {
            std::error_code error;
            mappings.push_back(
                {number, device, !std::filesystem::exists(pathFromText(device), error)});
        }
    }
    return mappings;
}

} // namespace quarvel
