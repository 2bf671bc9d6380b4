// A program file through readRecordLine, parseRecord and scanProgramFile.
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input_file.h"
#include "image/program_file.h"
#include "image/sector_map.h"
#include "image/srecord.h"

#include <cstring>

namespace {

using namespace quarvel;

// Checks one line as the job uses it: it sends exactly recordLength characters of an accepted
// record, so they must all be in the line.
void checkRecord(const char* line) {
    std::int32_t recordLength = -1;
    const std::uint8_t result = parseRecord(line, recordLength);
    FUZZ_CHECK(result == RecordValid || result == RecordMalformed || result == RecordBadChecksum);
    if (result == RecordValid) {
        FUZZ_CHECK(recordLength >= 4 && recordLength <= kMaxRecordLength);
        FUZZ_CHECK(static_cast<std::size_t>(recordLength) <= std::strlen(line));
    }
}

void readEveryLine(ProgramFile& file, std::size_t inputSize, SRecord& firstLine) {
    SRecord line{};
    // Every call but the last consumes at least one byte.
    for (std::size_t calls = 0; calls <= inputSize + 1; ++calls) {
        const std::int64_t before = file.position();
        readRecordLine(file, line);
        FUZZ_CHECK(std::memchr(line.data(), '\0', line.size()) != nullptr);
        if (calls == 0) {
            firstLine = line;
        }
        checkRecord(line.data());
        if (line[0] == '\0' && file.position() == before) {
            return;
        }
    }
    FUZZ_CHECK(!"readRecordLine kept returning lines after the end of the file");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const quarvel::fuzzing::FuzzInputFile input(".a21");

    // The raw bytes as one line, as far as a line can reach.
    SRecord raw{};
    std::memcpy(raw.data(), data, std::min(size, raw.size() - 1));
    checkRecord(raw.data());

    if (!input.write({data, size})) {
        return 0;
    }
    ProgramFile file;
    FUZZ_CHECK(file.open(input.path()));
    FUZZ_CHECK(file.size() == static_cast<std::int64_t>(size));

    SRecord firstLine{};
    readEveryLine(file, size, firstLine);

    SectorMap sectors{};
    const std::uint8_t verdict = scanProgramFile(file, sectors);
    FUZZ_CHECK(verdict == ScanAccepted || verdict == ScanRefused);
    FUZZ_CHECK(sectors[11] == 0);
    // The job reads the file again from its first line after the scan.
    FUZZ_CHECK(file.position() == 0);
    SRecord again{};
    readRecordLine(file, again);
    FUZZ_CHECK(std::strcmp(again.data(), firstLine.data()) == 0);
    return 0;
}
