#include "image/program_scan.h"

#include "image/hex_byte.h"
#include "image/program_file.h"
#include "image/srecord.h"

namespace quarvel {

namespace {

constexpr int kAddressOffset = 4;

ScanFinding findingOf(std::uint8_t parseResult) {
    return parseResult == RecordBadChecksum ? ScanFinding::BadChecksum : ScanFinding::Malformed;
}

// The start address of an S1 (two bytes) or S2 (three bytes) record that parseRecord accepted.
std::int32_t recordAddress(const SRecord& line) {
    const int addressBytes = line[1] == '2' ? 3 : 2;
    std::int32_t address = 0;
    for (int byte = 0; byte < addressBytes; ++byte) {
        address = address * 256 + hexByte(line.data() + kAddressOffset + 2 * byte);
    }
    return address;
}

ScanReport walk(ProgramFile& file, SectorMap& sectors) {
    SRecord line{};
    std::int32_t recordLength = 0;
    readRecordLine(file, line);
    if (parseRecord(line.data(), recordLength) != RecordValid || line[1] != '0') {
        return {ScanFinding::BadHeader, 1};
    }
    for (std::int64_t lineNumber = 2;; ++lineNumber) {
        const std::int64_t lineStart = file.position();
        readRecordLine(file, line);
        if (line[0] == '\0') {
            const bool atEnd = file.position() == lineStart;
            return {atEnd ? ScanFinding::MissingEndRecord : ScanFinding::EmptyLine, lineNumber};
        }
        // Only the type of the end record decides; the record itself is not checked here.
        if (line[1] == '9' || line[1] == '8') {
            const bool valid = parseRecord(line.data(), recordLength) == RecordValid;
            return {ScanFinding::Accepted, lineNumber, valid};
        }
        const std::uint8_t result = parseRecord(line.data(), recordLength);
        if (result != RecordValid) {
            return {findingOf(result), lineNumber};
        }
        if (line[1] == '0') {
            return {ScanFinding::SecondHeader, lineNumber};
        }
        if (line[1] == '1' || line[1] == '2') {
            const int sector = sectorOf(recordAddress(line));
            if (sector >= 0) {
                sectors[static_cast<std::size_t>(sector)] = 1;
            }
        }
    }
}

} // namespace

ScanReport inspectProgramFile(ProgramFile& file, SectorMap& sectors) {
    file.rewind();
    const ScanReport report = walk(file, sectors);
    file.rewind();
    return report;
}

std::uint8_t scanProgramFile(ProgramFile& file, SectorMap& sectors) {
    return inspectProgramFile(file, sectors).finding == ScanFinding::Accepted ? ScanAccepted
                                                                              : ScanRefused;
}

} // namespace quarvel
