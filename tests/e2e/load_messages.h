#pragma once

#include "tests/support/start_messages.h"

#include <string>
#include <vector>

namespace quarvel::endurance {

using Messages = std::vector<std::string>;

using test::echoedStart;
using test::identifiedStart;
using test::searchStart;

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
