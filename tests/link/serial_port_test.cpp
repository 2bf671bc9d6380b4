#include "link/serial_port.h"
#include "tests/support/scripted_channel.h"

#include <gtest/gtest.h>

namespace quarvel {
namespace {

using test::Script;

TEST(SerialPort, OpenFailsWhenTheLineCannotBeOpened) {
    struct Case {
        const char* name;
        ChannelOpener opener;
    };
    for (const Case& c : {Case{"NoOpener", nullptr},
                          Case{"OpenerRefuses", [](const SerialSettings&) { return nullptr; }}}) {
        SCOPED_TRACE(c.name);
        SerialPort port(c.opener);
        EXPECT_EQ(port.open(SerialSettings{}, 100, 100), -1);
        EXPECT_FALSE(port.isOpen());
        EXPECT_FALSE(port.writeByte(0xF0));
        EXPECT_EQ(port.readByte(), -2);
    }
}

TEST(SerialPort, CloseDiscardsPendingBytesAndIsHarmlessTwice) {
    auto script = std::make_shared<Script>();
    SerialPort port(test::scriptedOpener(script));
    ASSERT_EQ(port.open(SerialSettings{}, 100, 100), 0);
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(port.writeByte(0xFE));
    EXPECT_EQ(script->written, std::vector<std::uint8_t>{0xFE});

    port.close();
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(script->discards, 1);
    port.close();
    EXPECT_EQ(script->discards, 1);
}

TEST(SerialPort, ReopeningReleasesTheEarlierLineFirst) {
    auto script = std::make_shared<Script>();
    SerialPort port(test::scriptedOpener(script));
    ASSERT_EQ(port.open(SerialSettings{}, 100, 100), 0);
    ASSERT_EQ(port.open(SerialSettings{}, 100, 100), 0);
    EXPECT_EQ(script->discards, 1);
    EXPECT_TRUE(port.isOpen());
}

} // namespace
} // namespace quarvel
