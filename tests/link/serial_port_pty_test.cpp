#include "link/command_set.h"
#include "link/qt_serial_channel.h"
#include "link/serial_port.h"
#include "tests/support/ktv_sim_process.h"
#include "tests/support/temporary_folder.h"

#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

namespace quarvel {
namespace {

using test::KtvSimProcess;
using test::TemporaryFolder;

ChannelOpener openerFor(const std::string& path) {
    return qtSerialOpener([path](int) { return path; });
}

TEST(SerialPortOnPseudoTerminal, FrameReachesKtvSimAndItsAcknowledgementComesBack) {
    KtvSimProcess sim({"--channel", "3"});
    ASSERT_FALSE(sim.terminalPath().empty());
    SerialPort port(openerFor(sim.terminalPath()));
    ASSERT_EQ(port.open(SerialSettings{}, 100, 100), 0);

    CommandSet commands;
    commands.reset(0x02);
    std::array<std::uint8_t, 64> reply{};
    ASSERT_TRUE(port.write(commands.identifyFrame()));
    ASSERT_EQ(port.readReply(reply, 1), ReplyComplete);
    EXPECT_EQ(typeNumber(reply), kExpectedTypeNumber);
    EXPECT_EQ(reply[kChannelIndex], 0x02);
    EXPECT_EQ(port.readReply(reply, 1), ReplyComplete);

    // One byte per write, as a load sends records.
    for (const std::uint8_t byte : commands.eraseFrame(5)) {
        ASSERT_TRUE(port.writeByte(byte));
    }
    ASSERT_EQ(port.readReply(reply, 20), ReplyComplete);
    EXPECT_EQ(commands.replyStatus(reply), StatusAccepted);
    EXPECT_EQ(reply[8], 0x00); // the reader's terminator after F7

    ASSERT_TRUE(port.writeByte(kProbeByte));
    EXPECT_EQ(port.readByte(), kProbeByte);
    port.close();
    EXPECT_FALSE(port.isOpen());
}

// A reply still in the system's buffer, not yet taken by Qt, counts as unread: the reader goes on
// through it when its deadline has passed meanwhile.
TEST(SerialPortOnPseudoTerminal, ReplyInTheSystemsBufferIsUnreadWhicheverWayReadsWait) {
    KtvSimProcess sim({});
    ASSERT_FALSE(sim.terminalPath().empty());
    for (const ReadWait wait : {ReadWait::Blocking, ReadWait::ServingEvents}) {
        SCOPED_TRACE(static_cast<int>(wait));
        auto line = qtSerialOpener([&](int) { return sim.terminalPath(); }, {}, wait)({});
        ASSERT_NE(line, nullptr);
        ASSERT_TRUE(line->write(std::vector<std::uint8_t>{kProbeByte}));
        for (int tries = 0; tries < 500 && !line->hasUnreadByte(); ++tries) {
            ::usleep(10'000);
        }
        EXPECT_TRUE(line->hasUnreadByte());
        EXPECT_EQ(line->readByte(), kProbeByte);
        EXPECT_FALSE(line->hasUnreadByte());
    }
}

TEST(SerialPortOnPseudoTerminal, FarEndVanishingIsAPortFailure) {
    KtvSimProcess sim({});
    ASSERT_FALSE(sim.terminalPath().empty());
    SerialPort port(openerFor(sim.terminalPath()));
    ASSERT_EQ(port.open(SerialSettings{}, 100, 100), 0);
    sim.terminate();

    EXPECT_EQ(port.readByte(), -2);
    std::array<std::uint8_t, 20> reply{};
    EXPECT_EQ(port.readReply(reply, 1), ReplyPortError);
}

TEST(SerialPortOnPseudoTerminal, DeviceNamedOutsideUtf8Opens) {
    KtvSimProcess sim({});
    ASSERT_FALSE(sim.terminalPath().empty());
    // A Latin-1 name, as an older system or a udev rule may give.
    const TemporaryFolder folder;
    const auto link = folder.path() / "Ger\xE4t";
    std::filesystem::create_symlink(sim.terminalPath(), link);
    SerialPort port(openerFor(link.string()));

    EXPECT_EQ(port.open(SerialSettings{}, 100, 100), 0);
    ASSERT_TRUE(port.writeByte(kProbeByte));
    EXPECT_EQ(port.readByte(), kProbeByte);
}

TEST(SerialPortOnPseudoTerminal, PortsThatCannotBeOpenedOrSetUp) {
    KtvSimProcess sim({});
    ASSERT_FALSE(sim.terminalPath().empty());
    SerialSettings nineBits;
    nineBits.dataBits = 9;
    struct Case {
        const char* name;
        std::string path;
        SerialSettings settings;
    };
    for (const Case& c :
         {Case{"Missing", "/dev/quarvel-no-such-port", {}}, Case{"NotATerminal", "/dev/null", {}},
          Case{"Empty", "", {}}, Case{"NineDataBits", sim.terminalPath(), nineBits}}) {
        SCOPED_TRACE(c.name);
        SerialPort port(openerFor(c.path));
        EXPECT_EQ(port.open(c.settings, 100, 100), -1);
        EXPECT_FALSE(port.isOpen());
    }
}

TEST(SerialPortOnPseudoTerminal, PortInUseCannotBeOpenedTwice) {
    KtvSimProcess sim({});
    SerialPort first(openerFor(sim.terminalPath()));
    SerialPort second(openerFor(sim.terminalPath()));
    ASSERT_EQ(first.open(SerialSettings{}, 100, 100), 0);
    EXPECT_EQ(second.open(SerialSettings{}, 100, 100), -1);
    first.close();
    EXPECT_EQ(second.open(SerialSettings{}, 100, 100), 0);
}

} // namespace
} // namespace quarvel
