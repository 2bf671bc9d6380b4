#pragma once

#include "image/sector_map.h"

#include <cstdint>

namespace quarvel {

// What a scan found, for callers that explain a verdict to the operator.
enum class ScanFinding {
    Accepted,
    BadHeader,       // the first line is not a valid S0 record
    Malformed,       // a record of a type not accepted, or not a record at all
    BadChecksum,     // a record whose checksum does not match
    SecondHeader,    // an S0 record after the first line
    EmptyLine,       // an empty line before the end record
    MissingEndRecord // the file ends before an S8 or S9 record
};

struct ScanReport {
    ScanFinding finding = ScanFinding::Accepted;
    // The refused line, or the end record of an accepted file; lines counted from 1.
    std::int64_t line = 0;
    // Whether the end record of an accepted file passes parseRecord itself: the scan stops at it
    // unchecked, and a load stops there after sending every data record.
    bool endRecordValid = false;
};

// scanProgramFile with the reason for its verdict; accepted exactly when scanProgramFile is.
ScanReport inspectProgramFile(ProgramFile& file, SectorMap& sectors);

} // namespace quarvel
