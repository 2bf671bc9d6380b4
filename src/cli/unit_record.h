#pragma once

#include "cli/unit_watch.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace quarvel {

// One unit that a station loaded, as its log keeps it.
struct UnitRecord {
    std::chrono::system_clock::time_point started;
    // The port as given, and its stable name (by-id, by-path) where it has one.
    std::string port;
    std::string portId;
    // Counted from 1 at each port.
    int unit = 0;
    std::uint8_t channel = 0;
    std::string file;
    // Of the file loaded; nothing when it could not be read.
    std::optional<std::string> sha256;
    // completed, failed or interrupted, and the failure's name.
    std::string status;
    std::optional<std::string> reason;
    UnitFacts facts;
};

// The record as one JSON object on one line, without its line end: time (UTC, ISO 8601), port,
// port_id, unit, channel (1 to 16, or "all"), device, file, sha256, status, reason, retries,
// seconds (search, erase, transfer) and quarvel (this program's version).
std::string unitRecordLine(const UnitRecord& record);

} // namespace quarvel
