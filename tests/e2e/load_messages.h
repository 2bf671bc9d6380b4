#pragma once

#include <string>
#include <vector>

namespace quarvel::endurance {

using Messages = std::vector<std::string>;

// The lines of a start-up that finds a KTV-271 by its identify reply, up to the transfer.
Messages identifiedStart();
// The same for a device found only by the probe echo.
Messages echoedStart();
// The first lines of every load that gets as far as the search.
Messages searchStart();

inline const std::string kComplete = "Loading complete. No errors";
inline const std::string kNoResponseRetry = "No response. Trying record again";
inline const std::string kBadMessageRetry = "Error in returned message. Trying record again";
inline const std::string kSkipped =
    "Device received first record after programming started. Skipping record";
inline const std::string kPortFailed = "RS232 device error, reset PC and run program again";
inline const std::string kLeaveDevice = "Leave device to be programmed in current state";
inline const std::string kEraseNoResponse = "No response";
inline const std::string kResetAndRunAgain = "Reset PC and run again";
inline const std::string kNotResponding =
    "Device not responding, check connections and midi channel, then try again";

// The retry line for a record answered with status 02, 03 or 04.
std::string statusRetry(int status);

Messages operator+(Messages first, const Messages& second);

} // namespace quarvel::endurance
