#include "load_messages.h"

namespace quarvel::endurance {

Messages searchStart() {
    return {"Initialising", "PC RS232 opened", "Searching for device"};
}

Messages identifiedStart() {
    return searchStart() + Messages{"Found Device 271, expecting 271", "Received Acknowledgement",
                                    "Erasing flash", "Flash Erased, sending new program"};
}

Messages echoedStart() {
    return searchStart() + Messages{"Found Device (assuming KTV-271)", "Erasing flash",
                                    "Flash Erased, sending new program"};
}

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
