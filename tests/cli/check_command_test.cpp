#include "generated_fixtures.h"
#include "tests/support/in_process_cli.h"
#include "tests/support/temporary_folder.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace quarvel {
namespace {

using CliRun = test::Finished;
using test::GeneratedFixture;
using test::kGeneratedFixtures;
using test::runCliInProcess;

// The flash layout as the operator reads it, sector 0 first.
const std::array<const char*, 11> kSectorRanges{
    "00000h-03FFFh", "04000h-05FFFh", "06000h-07FFFh", "08000h-0FFFFh",
    "10000h-1FFFFh", "20000h-2FFFFh", "30000h-3FFFFh", "40000h-4FFFFh",
    "50000h-5FFFFh", "60000h-6FFFFh", "70000h-7FFFFh",
};

std::string fixturePath(const std::string& name) {
    return std::string(QUARVEL_FIXTURE_DIR) + "/" + name + ".a21";
}

struct Expected {
    int exitCode;
    std::string out;
};

// What check must say of a file the scan accepts, from the sectors the fixture's tool wrote.
Expected expectedReport(const GeneratedFixture& fixture, bool bootMode) {
    const std::string path = fixturePath(fixture.name);
    const bool boot = !fixture.sectors.empty() && fixture.sectors.front() == 0;
    Expected expected{1, path};
    if (fixture.sectors.empty()) {
        expected.out += ": refused: it writes no flash sector; a load erases nothing and stops\n";
    } else if (boot && !bootMode) {
        expected.out +=
            ": refused: it writes the boot sector, which a load writes only with --boot\n";
    } else {
        expected = {0, path + ": accepted: a load sends this file\n"};
    }
    for (int sector : fixture.sectors) {
        expected.out += "erases sector " + std::to_string(sector) + ": " +
                        kSectorRanges[static_cast<std::size_t>(sector)] + "\n";
    }
    expected.out += !boot      ? "boot sector: not written\n"
                    : bootMode ? "boot sector: written, allowed by --boot\n"
                               : "boot sector: written\n";
    return expected;
}

class CheckGeneratedFileTest : public testing::TestWithParam<GeneratedFixture> {};

TEST_P(CheckGeneratedFileTest, ExitsAsALoadWouldEnd) {
    const GeneratedFixture& fixture = GetParam();
    for (const bool bootMode : {false, true}) {
        std::vector<std::string> args{"check", fixturePath(fixture.name)};
        if (bootMode) {
            args.insert(args.begin() + 1, "--boot");
        }
        const CliRun run = runCliInProcess(args);
        EXPECT_EQ(run.err, "");
        if (fixture.accepted) {
            const Expected expected = expectedReport(fixture, bootMode);
            EXPECT_EQ(run.exitCode, expected.exitCode) << "boot mode " << bootMode;
            EXPECT_EQ(run.out, expected.out);
        } else {
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_EQ(run.out.rfind(fixturePath(fixture.name) + ": refused: ", 0), 0u) << run.out;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Tools, CheckGeneratedFileTest, testing::ValuesIn(kGeneratedFixtures),
                         [](const auto& info) { return info.param.name; });

struct UsageCase {
    const char* name;
    std::vector<std::string> args;
    int exitCode;
    std::string out;
    std::string err;
};

void PrintTo(const UsageCase& c, std::ostream* os) {
    *os << c.name;
}

class CliUsageTest : public testing::TestWithParam<UsageCase> {};

TEST_P(CliUsageTest, ExitsWithCodeAndMessage) {
    const UsageCase& c = GetParam();
    const CliRun run = runCliInProcess(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, c.err);
}

const UsageCase kUsageCases[] = {
    {"CheckMissingFile",
     {"check", "/nonexistent/prog.a21"},
     2,
     "",
     "quarvel-cli: /nonexistent/prog.a21: no such file\n"},
    {"CheckDirectory", {"check", "/"}, 2, "", "quarvel-cli: /: is a directory\n"},
    {"CheckRefusedSaysWhy",
     {"check", fixturePath("srec_s3")},
     1,
     fixturePath("srec_s3") +
         ": refused: line 2 is not a record of type S0, S1, S2, S5, S8 or S9\n",
     ""},
    {"CheckNoEndRecord",
     {"check", fixturePath("srec_no_end_record")},
     1,
     fixturePath("srec_no_end_record") +
         ": refused: the file ends without an S8 or S9 end record\n",
     ""},
    {"CheckNoHeader",
     {"check", fixturePath("srec_no_header")},
     1,
     fixturePath("srec_no_header") + ": refused: line 1 is not a valid S0 header record\n",
     ""},
};

INSTANTIATE_TEST_SUITE_P(Commands, CliUsageTest, testing::ValuesIn(kUsageCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The scan lets a broken end record through; check says what a load will then do.
TEST(CheckCommandTest, WarnsOfBrokenEndRecord) {
    std::ifstream in(fixturePath("srec_s1_single_bytes"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.back().substr(0, 2), "S9");
    lines.back().back() = lines.back().back() == '0' ? '1' : '0';
    const test::TemporaryFolder folder;
    const auto path = folder.path() / "broken_end.a21";
    {
        std::ofstream out(path);
        for (const std::string& line : lines) {
            out << line << "\n";
        }
    }
    // The fixture writes the boot sector: only the broken end record is under test here.
    const CliRun run = runCliInProcess({"check", "--boot", path.string()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("warning: the end record on line " + std::to_string(lines.size()) +
                           " is not a valid record"),
              std::string::npos)
        << run.out;
}

} // namespace
} // namespace quarvel
