#include "image/program_file.h"
#include "image/srecord.h"
#include "tests/support/temporary_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace quarvel {
namespace {

using test::TemporaryFolder;

struct LineCase {
    const char* name;
    std::string contents;
    std::vector<std::string> lines; // every line before the end of the text
    std::int64_t endPosition;       // bytes consumed once the end has been met
};

std::string readLine(ProgramFile& file) {
    SRecord line{};
    line.fill('#'); // shows a missing terminating zero
    readRecordLine(file, line);
    return line.data();
}

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadRecordLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(ReadRecordLineTest, ReadsLinesThenEndsAndRewinds) {
    const LineCase& c = GetParam();
    const TemporaryFolder folder;
    ProgramFile file;
    ASSERT_TRUE(file.open(folder.write("program.a21", c.contents)));
    EXPECT_EQ(file.size(), static_cast<std::int64_t>(c.contents.size()));
    for (std::size_t i = 0; i < c.lines.size(); ++i) {
        EXPECT_EQ(readLine(file), c.lines[i]) << "line " << i + 1;
    }
    EXPECT_EQ(readLine(file), "");
    EXPECT_EQ(readLine(file), "");
    EXPECT_EQ(file.position(), c.endPosition);
    file.rewind();
    EXPECT_EQ(file.position(), 0);
    EXPECT_EQ(readLine(file), c.lines.empty() ? "" : c.lines.front());
    EXPECT_FALSE(file.readFailed());
}

std::string xs(std::size_t count) {
    return std::string(count, 'x');
}

// Fills the first block up to its last byte with 100-byte lines and a shorter one, so that the
// next byte written lands at the start of the second block.
LineCase blockEdgeCase(const char* name, const std::string& tail, std::vector<std::string> after) {
    constexpr std::size_t kLines = ProgramFile::kBlockSize / 100;
    const std::string filler = xs(99);
    std::string contents;
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < kLines; ++i) {
        contents += filler + "\n";
        lines.push_back(filler);
    }
    const std::string shortLine = xs(ProgramFile::kBlockSize - contents.size() - 1);
    contents += shortLine + "\r" + tail;
    lines.push_back(shortLine);
    lines.back() += after.front();
    lines.insert(lines.end(), after.begin() + 1, after.end());
    const auto size = static_cast<std::int64_t>(contents.size());
    return {name, contents, lines, size};
}

const LineCase kLineCases[] = {
    {"LineFeeds", "S0\nS1\n", {"S0", "S1"}, 6},
    {"CrLfPairs", "S0\r\nS1\r\n", {"S0", "S1"}, 8},
    {"LoneCrIsCharacter", "a\rb\n", {"a\rb"}, 4},
    {"CrBeforeCrLf", "a\r\r\n", {"a\r"}, 4},
    {"CrAtEndOfFile", "a\r", {"a\r"}, 2},
    {"LastLineWithoutEnd", "a\nb", {"a", "b"}, 3},
    {"EmptyLineInside", "a\n\nb\n", {"a", "", "b"}, 5},
    {"EmptyFile", "", {}, 0},
    {"EndOfTextByteEndsFile",
     "a\n\x1A"
     "b\n",
     {"a"},
     2},
    {"EndOfTextByteInLine",
     "ab\x1A"
     "cd\n",
     {"ab"},
     2},
    {"Line519ThenEmptyLine", xs(519) + "\ny\n", {xs(519), "", "y"}, 522},
    {"Line519CrLfThenEmptyLine", xs(519) + "\r\ny", {xs(519), "", "y"}, 522},
    {"Line520Split", xs(520) + "\n", {xs(519), "x"}, 521},
    {"Line1038SplitTwice", xs(1038) + "\n", {xs(519), xs(519), ""}, 1039},
    {"Line518WithLoneCr", xs(518) + "\rz\n", {xs(518) + "\r", "z"}, 521},
    blockEdgeCase("CrLfAcrossBlocks", "\nlast\n", {"", "last"}),
    blockEdgeCase("LoneCrAcrossBlocks", "q\n", {"\rq"}),
    blockEdgeCase("CrLastByteOfFile", "", {"\r"}),
};

INSTANTIATE_TEST_SUITE_P(Files, ReadRecordLineTest, testing::ValuesIn(kLineCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramFileTest, RefusesWhatIsNotAnExistingFileAndCreatesNothing) {
    const auto missing = std::filesystem::temp_directory_path() / "quarvel_no_such_program.a21";
    std::filesystem::remove(missing);
    ProgramFile file;
    EXPECT_FALSE(file.open(missing.string()));
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_FALSE(file.open(std::filesystem::temp_directory_path().string()));
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.size(), -1);
    EXPECT_EQ(readLine(file), "");
}

TEST(ProgramFileTest, CloseReleasesAndReopenStartsAfresh) {
    const TemporaryFolder folder;
    const std::string path = folder.write("program.a21", "S0\x1A");
    ProgramFile file;
    ASSERT_TRUE(file.open(path));
    EXPECT_EQ(readLine(file), "S0");
    EXPECT_EQ(readLine(file), "");
    file.close();
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.size(), -1);
    EXPECT_EQ(readLine(file), "");
    ASSERT_TRUE(file.open(path));
    EXPECT_EQ(readLine(file), "S0");
}

} // namespace
} // namespace quarvel
