#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quarvel {

// One serial port as the system reports it; what the system does not know stays empty.
struct PortDescription {
    // The name a load opens it by: /dev/ttyUSB0, COM3.
    std::string device;
    std::optional<std::string> description;
    std::optional<std::string> manufacturer;
    // USB vendor and product id as four hexadecimal digits.
    std::optional<std::string> vendorId;
    std::optional<std::string> productId;
    std::optional<std::string> serialNumber;
    // Another program has it open.
    bool busy = false;
};

// Every serial port the system reports, in the system's order. One file per platform.
std::vector<PortDescription> listSerialPorts();

// True when another program has the device open; looking only, never opening it.
bool portHeldByAnotherProgram(const std::string& device);

} // namespace quarvel
