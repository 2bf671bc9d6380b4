#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quarvel::test {

// One run of program bytes at an address.
struct ProgramBlock {
    std::uint32_t address = 0;
    std::vector<std::uint8_t> bytes;
};

struct ProgramLayout {
    std::vector<ProgramBlock> blocks;
    int bytesPerRecord = 16;
    // 2 gives S1 records and an S9 end record, 3 gives S2 and S8.
    int addressLength = 2;
    bool crlf = true;
};

// A folder of its own for the files of one test program run, removed when the run ends.
const std::filesystem::path& testFolder();
// A folder of that name under testFolder(), made when missing.
std::filesystem::path testFolderFor(const std::string& name);

// Bytes that differ from record to record, the same on every run.
std::vector<std::uint8_t> patternBytes(std::size_t count, std::uint8_t seed);

// A program file written by srec_cat, so that the records come from an independent tool.
std::filesystem::path writeProgram(const std::filesystem::path& folder, const std::string& name,
                                   const ProgramLayout& layout);

// A file holding exactly these lines, each ended by CR LF.
std::filesystem::path writeLines(const std::filesystem::path& folder, const std::string& name,
                                 const std::vector<std::string>& lines);

// The 512 KiB flash image the file describes, as srec_cat reads it: FF where it writes nothing.
std::vector<std::uint8_t> expectedFlash(const std::filesystem::path& program);

// The file's lines as they are stored, without line ends.
std::vector<std::string> fileLines(const std::filesystem::path& file);

// The percentage after each line of a CR LF file, from where that line ends in the file: the
// record's characters and two more for every line so far, rounded half up.
std::vector<int> percentagesByOffset(const std::filesystem::path& file);

} // namespace quarvel::test
