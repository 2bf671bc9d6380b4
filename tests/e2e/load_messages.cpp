#include "load_messages.h"

namespace quarvel::endurance {

std::string statusRetry(int status) {
    switch (status) {
    case 2:
        return "Device received incomplete record. Trying record again";
    case 3:
        return "Device received record with bad checksum. Trying record again";
    default:
        return "Device found error in programming flash memory. Trying record again";
    }
}

Messages operator+(Messages first, const Messages& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

} // namespace quarvel::endurance
