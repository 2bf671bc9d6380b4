#include "image/program_file.h"
#include "image/program_scan.h"
#include "image/sector_map.h"
#include "image/srecord.h"
#include "tests/support/temporary_folder.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <initializer_list>
#include <ostream>
#include <set>
#include <string>

namespace quarvel {
namespace {

using test::TemporaryFolder;

const std::string kHeader = "S00600004844521B";
const std::string kEnd = "S9030000FC";

// A data record of the given type with dataBytes bytes of 00h at address.
std::string dataRecord(char type, unsigned address, int dataBytes = 1) {
    const int addressBytes = type == '1' ? 2 : 3;
    const int count = addressBytes + dataBytes + 1;
    unsigned sum = static_cast<unsigned>(count);
    char text[16];
    std::string record = "S";
    record += type;
    std::snprintf(text, sizeof text, "%02X", count);
    record += text;
    for (int byte = addressBytes - 1; byte >= 0; --byte) {
        const unsigned value = (address >> (8 * byte)) & 0xFFu;
        sum += value;
        std::snprintf(text, sizeof text, "%02X", value);
        record += text;
    }
    record += std::string(2 * static_cast<std::size_t>(dataBytes), '0');
    std::snprintf(text, sizeof text, "%02X", 0xFFu - (sum & 0xFFu));
    return record + text;
}

std::string joined(std::initializer_list<std::string> lines, const std::string& end = "\n") {
    std::string text;
    for (const std::string& line : lines) {
        text += line + end;
    }
    return text;
}

struct ScanCase {
    const char* name;
    std::string contents;
    ScanFinding finding;
    std::int64_t line;
    std::set<int> sectors; // meaningful when accepted
    bool endRecordValid = true;
};

void PrintTo(const ScanCase& c, std::ostream* os) {
    *os << c.name;
}

class ScanProgramFileTest : public testing::TestWithParam<ScanCase> {};

TEST_P(ScanProgramFileTest, GivesVerdictAndSectorsAndRewinds) {
    const ScanCase& c = GetParam();
    const TemporaryFolder folder;
    ProgramFile file;
    ASSERT_TRUE(file.open(folder.write("program.a21", c.contents)));
    const bool accepted = c.finding == ScanFinding::Accepted;

    SectorMap sectors{};
    EXPECT_EQ(scanProgramFile(file, sectors), accepted ? ScanAccepted : ScanRefused);
    SRecord first{};
    readRecordLine(file, first);
    EXPECT_EQ(std::string(first.data()), c.contents.substr(0, c.contents.find_first_of("\r\n")));
    if (accepted) {
        for (std::size_t sector = 0; sector < sectors.size(); ++sector) {
            EXPECT_EQ(sectors[sector], c.sectors.count(static_cast<int>(sector)) ? 1 : 0)
                << "sector " << sector;
        }
    }

    SectorMap again{};
    const ScanReport report = inspectProgramFile(file, again);
    EXPECT_EQ(report.finding, c.finding);
    EXPECT_EQ(report.line, c.line);
    if (accepted) {
        EXPECT_EQ(report.endRecordValid, c.endRecordValid);
        EXPECT_EQ(again, sectors);
    }
    EXPECT_EQ(file.position(), 0);
}

const ScanCase kScanCases[] = {
    {"HeaderAndEndOnly", joined({kHeader, "S804000000FB"}), ScanFinding::Accepted, 2, {}},
    {"SectorEdges",
     joined({kHeader, dataRecord('1', 0x0000), dataRecord('1', 0x3FFF), dataRecord('1', 0x4000),
             dataRecord('1', 0x5FFF), dataRecord('1', 0x6000), dataRecord('1', 0xFFFF),
             dataRecord('2', 0x10000), dataRecord('2', 0x7FFFF), kEnd}),
     ScanFinding::Accepted,
     10,
     {0, 1, 2, 3, 4, 10}},
    {"SectorEdgesCrLf",
     joined({kHeader, dataRecord('2', 0x1FFFF), dataRecord('2', 0x20000), kEnd}, "\r\n"),
     ScanFinding::Accepted,
     4,
     {4, 5}},
    {"AboveFlashMarksNothing",
     joined({kHeader, dataRecord('2', 0x80000), dataRecord('2', 0xFFFFFF), "S804000000FB"}),
     ScanFinding::Accepted,
     4,
     {}},
    {"OnlyStartAddressCounts",
     joined({kHeader, dataRecord('1', 0x3FF0, 32), kEnd}),
     ScanFinding::Accepted,
     3,
     {0}},
    {"RecordCountSkipped",
     joined({kHeader, "S5030001FB", dataRecord('1', 0x8000), kEnd}),
     ScanFinding::Accepted,
     4,
     {3}},
    {"EndRecordChecksumUnchecked",
     joined({kHeader, dataRecord('1', 0x8000), "S9030000FD"}),
     ScanFinding::Accepted,
     3,
     {3},
     false},
    {"AnyLineOfType9Ends",
     joined({kHeader, dataRecord('1', 0x8000), "x9 not a record"}),
     ScanFinding::Accepted,
     3,
     {3},
     false},
    {"LinesAfterEndUnread",
     joined({kHeader, kEnd, "garbage", "", dataRecord('1', 0x0000)}),
     ScanFinding::Accepted,
     2,
     {}},
    {"FirstLineData", joined({dataRecord('1', 0x8000), kEnd}), ScanFinding::BadHeader, 1, {}},
    {"FirstLineEnd", joined({kEnd, kEnd}), ScanFinding::BadHeader, 1, {}},
    {"HeaderBadChecksum", joined({"S00600004844521C", kEnd}), ScanFinding::BadHeader, 1, {}},
    {"EmptyFirstLine", joined({"", kHeader, kEnd}), ScanFinding::BadHeader, 1, {}},
    {"EmptyFile", "", ScanFinding::BadHeader, 1, {}},
    {"BlankLineBetweenRecords",
     joined({kHeader, dataRecord('1', 0x8000), "", dataRecord('1', 0x8001), kEnd}),
     ScanFinding::EmptyLine,
     3,
     {}},
    {"NoEndRecord",
     joined({kHeader, dataRecord('1', 0x8000)}),
     ScanFinding::MissingEndRecord,
     3,
     {}},
    {"EndRecordAfterEndOfText",
     joined({kHeader, dataRecord('1', 0x8000)}) + "\x1A" + kEnd,
     ScanFinding::MissingEndRecord,
     3,
     {}},
    {"SecondHeader",
     joined({kHeader, dataRecord('1', 0x8000), kHeader, kEnd}),
     ScanFinding::SecondHeader,
     3,
     {}},
    {"S3Record", joined({kHeader, "S30500000000FA", kEnd}), ScanFinding::Malformed, 2, {}},
    {"S7EndRecord",
     joined({kHeader, dataRecord('1', 0x8000), "S70500000000FA"}),
     ScanFinding::Malformed,
     3,
     {}},
    {"LowerCaseStart", joined({kHeader, "s1041234AB0A", kEnd}), ScanFinding::Malformed, 2, {}},
    {"DataBadChecksum", joined({kHeader, "S1041234AB0B", kEnd}), ScanFinding::BadChecksum, 2, {}},
};

INSTANTIATE_TEST_SUITE_P(Files, ScanProgramFileTest, testing::ValuesIn(kScanCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quarvel
