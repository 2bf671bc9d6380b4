#pragma once

#include <string>
#include <vector>

namespace quarvel {

// A COM number that section [Ports] of the settings file maps to a device.
struct PortMapping {
    int number = 0;
    std::string device;
    bool missing = false;
};

// Every COM number the settings file maps, in order; none where the system names its ports.
std::vector<PortMapping> mappedPorts();

} // namespace quarvel
