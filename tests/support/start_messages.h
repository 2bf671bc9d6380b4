#pragma once

#include <string>
#include <vector>

namespace quarvel::test {

// The first lines of every load that gets as far as the search.
inline std::vector<std::string> searchStart() {
    return {"Initialising", "PC RS232 opened", "Searching for device"};
}

// The lines of a start-up that finds a KTV-271 by its identify reply, up to the transfer.
inline std::vector<std::string> identifiedStart() {
    auto lines = searchStart();
    lines.insert(lines.end(), {"Found Device 271, expecting 271", "Received Acknowledgement",
                               "Erasing flash", "Flash Erased, sending new program"});
    return lines;
}

// The same for a device found only by the probe echo.
inline std::vector<std::string> echoedStart() {
    auto lines = searchStart();
    lines.insert(lines.end(), {"Found Device (assuming KTV-271)", "Erasing flash",
                               "Flash Erased, sending new program"});
    return lines;
}

} // namespace quarvel::test
