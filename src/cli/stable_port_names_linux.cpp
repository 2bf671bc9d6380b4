#include "cli/port_identity.h"
#include "cli/stable_port_names.h"

#include <filesystem>
#include <system_error>

namespace quarvel {
namespace {

std::optional<std::string> linkTo(const std::string& folder, const std::string& identity) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (deviceIdentity(entry.path().string()) == identity) {
            return entry.path().string();
        }
    }
    return std::nullopt;
}

} // namespace

StableNames stablePortNames(const std::string& device) {
    const std::string identity = deviceIdentity(device);
    return {linkTo("/dev/serial/by-id", identity), linkTo("/dev/serial/by-path", identity)};
}

} // namespace quarvel
