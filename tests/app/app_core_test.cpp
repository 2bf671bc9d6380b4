#include "app/boot_mode.h"
#include "app/stored_values.h"
#include "tests/support/file_contents.h"
#include "tests/support/temporary_folder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

struct BootCase {
    const char* name;
    const char* arguments;
    bool expected;
};

TEST(BootModeTest, SwitchIsFoundAnywhereInAnyCase) {
    const BootCase cases[] = {
        {"plain", "+boot", true},
        {"capitals", "+BOOT", true},
        {"mixed case", "+BoOt", true},
        {"among other words", "file.a21 +boot now", true},
        {"inside a longer word", "x+bootable", true},
        {"empty", "", false},
        {"word alone", "boot", false},
        {"blank after plus", "+ boot", false},
        {"minus instead of plus", "-boot", false},
        {"truncated", "+boo", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(commandLineAsksForBoot(c.arguments), c.expected) << c.name;
    }
}

struct CommandLineCase {
    const char* name;
    const char* commandLine;
    const char* arguments;
};

TEST(BootModeTest, ArgumentsFollowTheProgramsName) {
    const CommandLineCase cases[] = {
        {"bare name", "quarvel.exe +boot", "+boot"},
        {"quoted name with blanks", "\"C:\\My +boot\\quarvel.exe\"  +Boot x", "+Boot x"},
        {"name alone", "\"C:\\+boot\\quarvel.exe\"", ""},
        {"unclosed quote", "\"C:\\+boot", ""},
        {"tab after the name", "quarvel\t+boot", "+boot"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(argumentsAfterProgramName(c.commandLine), c.arguments) << c.name;
    }
}

struct AdoptCase {
    const char* name;
    const char* earlier;
    const char* existing;
    bool adopted;
    const char* expected;
};

TEST(StoredValuesTest, EarlierSettingsAreTakenOverOnlyByAFileNotYetWritten) {
    const AdoptCase cases[] = {
        {"values move to the new file", "[Last Values]\nComm Port=1\nTransfer File=C:\\a.a21\n",
         nullptr, true, "[Last Values]\nComm Port=1\nMidi Channel=0\nTransfer File=C:\\a.a21\n"},
        {"a file written before stays", "[Last Values]\nComm Port=1\n",
         "[Last Values]\nComm Port=0\n", false, "[Last Values]\nComm Port=0\n"},
        {"nothing earlier: nothing written", nullptr, nullptr, false, nullptr},
    };
    for (const auto& c : cases) {
        const test::TemporaryFolder folder;
        const ProfileFile earlier(folder.path() / "old.INI");
        ProfileFile settings(folder.path() / "new.INI");
        if (c.earlier != nullptr) {
            std::ofstream(earlier.path()) << c.earlier;
        }
        if (c.existing != nullptr) {
            std::ofstream(settings.path()) << c.existing;
        }
        EXPECT_EQ(adoptLastValues(earlier, settings), c.adopted) << c.name;
        EXPECT_EQ(test::fileText(settings.path()), c.expected != nullptr ? c.expected : "")
            << c.name;
    }
}

} // namespace
} // namespace quarvel
