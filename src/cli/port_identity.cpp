#include "cli/port_identity.h"

#include "cli/port_opener.h"

namespace quarvel {

std::optional<std::pair<std::string, std::string>>
portsOnOneDevice(const std::vector<PortChoice>& ports) {
    std::vector<std::string> identities;
    for (const PortChoice& port : ports) {
        identities.push_back(deviceIdentity(portDevicePath(port)));
    }
    for (std::size_t i = 0; i < ports.size(); ++i) {
        for (std::size_t j = i + 1; j < ports.size(); ++j) {
            if (identities[i] == identities[j]) {
                return std::pair{ports[i].given, ports[j].given};
            }
        }
    }
    return std::nullopt;
}

} // namespace quarvel
