#include "link/port_names.h"

namespace quarvel {

std::string defaultPortDeviceName(int portNumber) {
#ifdef _WIN32
    return "COM" + std::to_string(portNumber);
#else
    return "/dev/ttyS" + std::to_string(portNumber - 1);
#endif
}

} // namespace quarvel
