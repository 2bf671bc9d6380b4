#include "generated_fixtures.h"
#include "image/program_file.h"
#include "image/sector_map.h"
#include "image/srecord.h"

#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace quarvel {
namespace {

using test::GeneratedFixture;
using test::kGeneratedFixtures;

std::string fixturePath(const GeneratedFixture& fixture) {
    return std::string(QUARVEL_FIXTURE_DIR) + "/" + fixture.name + ".a21";
}

std::vector<std::string> readAllLines(ProgramFile& file) {
    std::vector<std::string> lines;
    SRecord line{};
    for (readRecordLine(file, line); line[0] != '\0'; readRecordLine(file, line)) {
        lines.emplace_back(line.data());
    }
    return lines;
}

// A different hex digit, so that the byte it belongs to changes.
char otherDigit(char digit) {
    return digit == '0' ? '1' : '0';
}

class GeneratedFileTest : public testing::TestWithParam<GeneratedFixture> {};

TEST_P(GeneratedFileTest, ScanGivesVerdictAndSectorsOfDataRanges) {
    const GeneratedFixture& fixture = GetParam();
    ProgramFile file;
    ASSERT_TRUE(file.open(fixturePath(fixture)));
    SectorMap sectors{};
    ASSERT_EQ(scanProgramFile(file, sectors), fixture.accepted ? ScanAccepted : ScanRefused);
    if (!fixture.accepted) {
        return;
    }
    const std::set<int> expected(fixture.sectors.begin(), fixture.sectors.end());
    for (std::size_t sector = 0; sector < sectors.size(); ++sector) {
        EXPECT_EQ(sectors[sector], expected.count(static_cast<int>(sector)) ? 1 : 0)
            << "sector " << sector;
    }
}

// Every record the tools wrote is measured exactly, and changing any address, data or checksum
// digit of a checked record is caught.
TEST_P(GeneratedFileTest, RecordsParseAndEveryDigitIsChecked) {
    const GeneratedFixture& fixture = GetParam();
    ProgramFile file;
    ASSERT_TRUE(file.open(fixturePath(fixture)));
    const std::vector<std::string> lines = readAllLines(file);
    ASSERT_FALSE(lines.empty());
    for (const std::string& line : lines) {
        std::int32_t recordLength = -1;
        const bool acceptedType = std::strchr("012589", line[1]) != nullptr;
        ASSERT_EQ(parseRecord(line.c_str(), recordLength),
                  acceptedType ? RecordValid : RecordMalformed)
            << line;
        EXPECT_EQ(recordLength, static_cast<std::int32_t>(line.size())) << line;
        if (line[1] == '5' || !acceptedType) {
            continue;
        }
        for (std::size_t i = 4; i < line.size(); ++i) {
            std::string changed = line;
            changed[i] = otherDigit(line[i]);
            EXPECT_EQ(parseRecord(changed.c_str(), recordLength), RecordBadChecksum)
                << changed << " (digit " << i << ")";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Tools, GeneratedFileTest, testing::ValuesIn(kGeneratedFixtures),
                         [](const auto& info) { return info.param.name; });

} // namespace
} // namespace quarvel
