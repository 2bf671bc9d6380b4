#pragma once

#include <array>
#include <cstdint>

namespace quarvel {

class ProgramFile;

// One line of a program file: at most 519 characters and a terminating zero.
inline constexpr int kLineCapacity = 520;
using SRecord = std::array<char, kLineCapacity>;

// The longest record, count FFh: start, type, count and 255 two-digit bytes.
inline constexpr int kMaxRecordLength = 2 * 0xFF + 4;

enum RecordResult : std::uint8_t {
    RecordValid = 0,
    RecordMalformed = 2,
    RecordBadChecksum = 3,
};

// Reads the next line into line. CR LF and LF end a line and are not stored; a lone CR is an
// ordinary character; a 1Ah byte ends the file. A line longer than 519 characters is cut there and
// its rest comes back from the next call. At the end of the file the line is empty.
void readRecordLine(ProgramFile& file, SRecord& line);

// Checks the zero-terminated line as an S0, S1, S2, S5, S8 or S9 record. recordLength is set to
// the number of characters the record occupies once the count has been read, whatever the result;
// it is left alone when the line does not begin with "S" or is too short to hold a count.
// Reads nothing beyond the line's terminating zero.
std::uint8_t parseRecord(const char* line, std::int32_t& recordLength);

} // namespace quarvel
