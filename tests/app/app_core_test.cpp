#include "app/boot_mode.h"

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

} // namespace
} // namespace quarvel
