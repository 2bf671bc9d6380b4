#pragma once

#include "image/program_scan.h"
#include "image/sector_map.h"

#include <string>

namespace quarvel {

// What a load will do with a program file, in the words check uses for it.
struct FileVerdict {
    // ExitSuccess a load sends the file, ExitFailure a load refuses it, ExitUsage it cannot be
    // read.
    int exitCode = 0;
    // "accepted: a load sends this file", "refused: line 2 has a wrong checksum",
    // "no such file", ...
    std::string text;
    // What the scan found; meaningful once the file could be read.
    ScanReport report{};
    SectorMap sectors{};
};

// Reads and scans the file as a load with or without --boot would.
FileVerdict judgeProgramFile(const std::string& path, bool bootMode);

} // namespace quarvel
