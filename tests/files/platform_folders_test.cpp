#include "files/path_text.h"
#include "files/platform_folders.h"
#include "files/whole_file_writer.h"
#include "tests/support/temporary_folder.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace quarvel::test {
namespace {

namespace fs = std::filesystem;

// A name in three scripts: the narrow text that the command line and the C library's file
// functions use and the path that the standard library opens must name the same file.
TEST(PathText, NarrowTextAndPathNameTheSameFile) {
    const TemporaryFolder scratch;
    const std::string folderText = textFromPath(scratch.path());
    const std::string fileText = folderText + "/Logo \xc3\x9cml\xc3\xa4ut \xe4\xb8\xad.s21";

    WholeFileWriter writer(pathFromText(fileText), WholeFileWriter::Durability::Unsynced);
    writer.write("S0\r\n");
    ASSERT_TRUE(writer.commit()) << writer.failure();

    std::FILE* file = std::fopen(fileText.c_str(), "rb");
    ASSERT_NE(file, nullptr) << fileText;
    std::fclose(file);
    EXPECT_EQ(textFromPath(pathFromText(fileText)), fileText);
    EXPECT_EQ(textFromPath(scratch.path().filename()), scratch.path().filename().string());
}

TEST(PathText, TextThatIsNoUtf8StillNamesAPath) {
    EXPECT_FALSE(pathFromText("logo\xff.gif").empty());
    EXPECT_EQ(pathFromText("logo\xff.gif").extension(), ".gif");
}

TEST(PlatformFolders, TheRunningProgramIsThisTest) {
    const fs::path program = runningExecutable();
    EXPECT_TRUE(program.is_absolute()) << program;
    EXPECT_EQ(program.stem(), "files_tests");
    EXPECT_TRUE(fs::is_regular_file(program)) << program;
}

TEST(PlatformFolders, OnlyAFolderThatExistsIsWritable) {
    const TemporaryFolder scratch;
    const fs::path file = scratch.path() / "plain.txt";
    std::fclose(std::fopen(textFromPath(file).c_str(), "w"));

    EXPECT_TRUE(userMayWriteInto(scratch.path()));
    EXPECT_FALSE(userMayWriteInto(scratch.path() / "missing"));
    EXPECT_FALSE(userMayWriteInto(file));
    // Looking leaves nothing behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()), 1);
}

TEST(PlatformFolders, TheUserCacheIsAFolderOfThisProgram) {
    const fs::path cache = userCacheFolder();
    ASSERT_FALSE(cache.empty()) << "set " << userCacheVariable();
    EXPECT_TRUE(cache.is_absolute()) << cache;
    EXPECT_TRUE(cache.filename() == "quarvel" || cache.filename() == "Quarvel") << cache;
}

} // namespace
} // namespace quarvel::test
