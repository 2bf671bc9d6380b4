#include "settings/profile_file.h"
#include "tests/support/file_contents.h"
#include "tests/support/temporary_folder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace quarvel {
namespace {

namespace fs = std::filesystem;

class ProfileFileTest : public testing::Test {
protected:
    fs::path file() const { return m_folder.path() / "quarvel.INI"; }
    void put(const std::string& text) const { std::ofstream(file(), std::ios::binary) << text; }
    std::string contents() const { return test::fileText(file()); }

    test::TemporaryFolder m_folder;
};

struct ReadCase {
    const char* name;
    const char* contents;
    const char* section;
    const char* key;
    const char* expected;
};

TEST_F(ProfileFileTest, ReadsStringsAsThePrivateProfileFunctionsDo) {
    const ReadCase cases[] = {
        {"plain value", "[Last Values]\nTransfer File=C:\\a.a21\n", "Last Values", "Transfer File",
         "C:\\a.a21"},
        {"names ignore case", "[LAST values]\ntransfer FILE=x\n", "Last Values", "Transfer File",
         "x"},
        {"blanks around names and value", "  [ Last Values ] \n  Transfer File =  x y \n",
         "Last Values", "Transfer File", "x y"},
        {"quotes dropped", "[S]\nK=\"quoted value\"\n", "S", "K", "quoted value"},
        {"carriage returns dropped", "[S]\r\nK=v\r\n", "S", "K", "v"},
        {"missing key gives default", "[S]\nOther=v\n", "S", "K", "default"},
        {"key of another section not seen", "[A]\nK=a\n[B]\nJ=b\n", "B", "K", "default"},
        {"same key in two sections", "[A]\nK=a\n[B]\nK=b\n", "B", "K", "b"},
        {"comment is not a key", "[S]\n;K=commented\n", "S", "K", "default"},
        {"empty value is a value", "[S]\nK=\n", "S", "K", ""},
        {"value holding equals signs", "[S]\nK=a=b\n", "S", "K", "a=b"},
    };
    for (const auto& c : cases) {
        put(c.contents);
        EXPECT_EQ(ProfileFile(file()).readString(c.section, c.key, "default"), c.expected)
            << c.name;
    }
}

struct IntCase {
    const char* name;
    const char* value;
    int expected;
};

TEST_F(ProfileFileTest, ReadsIntegersWithoutOverflow) {
    const IntCase cases[] = {
        {"decimal", "5", 5},
        {"negative", "-1", -1},
        {"explicit plus", "+3", 3},
        {"trailing text ignored", "12abc", 12},
        {"text is zero", "abc", 0},
        {"empty is zero", "", 0},
        {"too large saturates", "99999999999999999999", 2147483647},
        {"too small saturates", "-99999999999999999999", -2147483647 - 1},
        {"just above int saturates", "2147483648", 2147483647},
    };
    for (const auto& c : cases) {
        put(std::string("[Last Values]\nComm Port=") + c.value + "\n");
        EXPECT_EQ(ProfileFile(file()).readInt("Last Values", "Comm Port", 77), c.expected)
            << c.name;
    }
}

TEST_F(ProfileFileTest, MissingFileGivesDefaults) {
    const ProfileFile profile(file());
    EXPECT_EQ(profile.readInt("Last Values", "Comm Port", 7), 7);
    EXPECT_EQ(profile.readString("Last Values", "Transfer File", "d"), "d");
}

TEST_F(ProfileFileTest, LongValueIsCutAt4095Characters) {
    put("[S]\nK=" + std::string(5000, 'x') + "\n");
    EXPECT_EQ(ProfileFile(file()).readString("S", "K", ""), std::string(4095, 'x'));
}

struct WriteCase {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

TEST_F(ProfileFileTest, WritingKeepsEverythingElse) {
    const WriteCase cases[] = {
        {"new file", nullptr, "Last Values", "Comm Port", "1", "[Last Values]\nComm Port=1\n"},
        {"new section after others", "[Ports]\nCOM1=/dev/ttyUSB0\n", "Last Values", "Comm Port",
         "1", "[Ports]\nCOM1=/dev/ttyUSB0\n[Last Values]\nComm Port=1\n"},
        {"existing key replaced in place", "[A]\nx=1\n[last values]\nCOMM PORT=0\ny=2\n",
         "Last Values", "Comm Port", "1", "[A]\nx=1\n[last values]\nComm Port=1\ny=2\n"},
        {"new key after the last entry, before blank lines", "[A]\nx=1\n\n[B]\nz=3\n", "A", "y",
         "2", "[A]\nx=1\ny=2\n\n[B]\nz=3\n"},
        {"comments kept", "; settings\n[A]\n; note\nx=1\n", "A", "x", "5",
         "; settings\n[A]\n; note\nx=5\n"},
        {"same key in another section untouched", "[A]\nk=a\n[B]\nk=b\n", "B", "k", "c",
         "[A]\nk=a\n[B]\nk=c\n"},
    };
    for (const auto& c : cases) {
        fs::remove(file());
        if (c.before != nullptr) {
            put(c.before);
        }
        EXPECT_TRUE(ProfileFile(file()).writeString(c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(contents(), c.after) << c.name;
    }
}

TEST_F(ProfileFileTest, WrittenValuesReadBack) {
    ProfileFile profile(file());
    ASSERT_TRUE(profile.writeInt("Last Values", "Comm Port", -1));
    ASSERT_TRUE(profile.writeInt("Last Values", "Midi Channel", 16));
    ASSERT_TRUE(profile.writeString("Last Values", "Transfer File", "/home/op/a b.a21"));
    EXPECT_EQ(profile.readInt("last values", "comm port", 0), -1);
    EXPECT_EQ(profile.readInt("Last Values", "Midi Channel", 0), 16);
    EXPECT_EQ(profile.readString("Last Values", "Transfer File", ""), "/home/op/a b.a21");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder.path()), fs::directory_iterator()), 1)
        << "no temporary file left behind";
}

struct RefusedCase {
    const char* name;
    const char* section;
    const char* key;
    const char* value;
};

TEST_F(ProfileFileTest, RefusesWhatWouldCorruptTheFile) {
    const RefusedCase cases[] = {
        {"line break in value", "S", "K", "a\n[Evil]\nx=1"},
        {"carriage return in value", "S", "K", "a\rb"},
        {"equals sign in key", "S", "K=1", "v"},
        {"bracket in section", "S]x", "K", "v"},
    };
    put("[S]\nK=old\n");
    for (const auto& c : cases) {
        EXPECT_FALSE(ProfileFile(file()).writeString(c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(contents(), "[S]\nK=old\n") << c.name;
    }
}

TEST_F(ProfileFileTest, UnreadableFileIsNotReplaced) {
    fs::create_directories(file());
    EXPECT_FALSE(ProfileFile(file()).writeString("S", "K", "v"));
    EXPECT_TRUE(fs::is_directory(file()));
}

TEST_F(ProfileFileTest, WritingCreatesTheFolder) {
    const auto nested = m_folder.path() / "config" / "quarvel.INI";
    EXPECT_TRUE(ProfileFile(nested).writeInt("Last Values", "Comm Port", 1));
    EXPECT_EQ(ProfileFile(nested).readInt("Last Values", "Comm Port", 0), 1);
}

} // namespace
} // namespace quarvel
