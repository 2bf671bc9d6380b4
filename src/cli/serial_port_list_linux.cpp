#include "cli/serial_port_list.h"

#include <QSerialPortInfo>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {
namespace {

std::optional<std::string> known(const QString& text) {
    return text.isEmpty() ? std::nullopt : std::optional<std::string>(text.toStdString());
}

std::string fourHexDigits(quint16 value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", value);
    return text;
}

// The character devices that other processes hold open. Looking, not opening: opening a port
// to see whether it is free would raise its modem lines and may reset the device on it.
std::set<dev_t> devicesHeldByOthers() {
    std::set<dev_t> held;
    std::error_code error;
    const std::string self = std::to_string(::getpid());
    for (const auto& process : std::filesystem::directory_iterator("/proc", error)) {
        const std::string pid = process.path().filename().string();
        if (pid == self || pid.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::error_code unreadable;
        for (const auto& fd :
             std::filesystem::directory_iterator(process.path() / "fd", unreadable)) {
            struct stat status {};
            if (::stat(fd.path().c_str(), &status) == 0 && S_ISCHR(status.st_mode)) {
                held.insert(status.st_rdev);
            }
        }
    }
    return held;
}

bool isHeld(const std::string& device, const std::set<dev_t>& held) {
    struct stat status {};
    return ::stat(device.c_str(), &status) == 0 && S_ISCHR(status.st_mode) &&
           held.contains(status.st_rdev);
}

} // namespace

bool portHeldByAnotherProgram(const std::string& device) {
    return isHeld(device, devicesHeldByOthers());
}

std::vector<PortDescription> listSerialPorts() {
    const std::set<dev_t> held = devicesHeldByOthers();
    std::vector<PortDescription> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        PortDescription port;
        port.device = info.systemLocation().toStdString();
        port.description = known(info.description());
        port.manufacturer = known(info.manufacturer());
        if (info.hasVendorIdentifier()) {
            port.vendorId = fourHexDigits(info.vendorIdentifier());
        }
        if (info.hasProductIdentifier()) {
            port.productId = fourHexDigits(info.productIdentifier());
        }
        port.serialNumber = known(info.serialNumber());
        port.busy = isHeld(port.device, held);
        ports.push_back(std::move(port));
    }
    return ports;
}

} // namespace quarvel
