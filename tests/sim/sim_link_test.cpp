#include "link/command_set.h"
#include "link/serial_port.h"
#include "sim/sim_link.h"

#include <array>
#include <gtest/gtest.h>
#include <string>

namespace quarvel {
namespace {

struct Exchange {
    int result;
    std::uint8_t status;
    std::int64_t elapsedMs;
};

// Sends frame through a port on the link and reads one reply with the given time-out.
Exchange exchange(SerialPort& port, SimLink& link, const CommandSet& commands,
                  std::span<const std::uint8_t> frame, int timeoutSeconds) {
    std::array<std::uint8_t, 32> reply{};
    const std::int64_t start = link.nowMs();
    port.write(frame);
    const int result = port.readReply(reply, timeoutSeconds);
    return {result, commands.replyStatus(reply), link.nowMs() - start};
}

TEST(SimLink, TimeOutsPassOnTheVirtualClock) {
    struct Case {
        std::string name;
        DeviceConfig config;
        int timeoutSeconds;
        Exchange expected;
    };
    DeviceConfig slow;
    slow.replyDelayMs = 700;
    DeviceConfig tooSlow;
    tooSlow.replyDelayMs = 1500;
    DeviceConfig noErase;
    noErase.faults = {Fault{FaultKind::NoErase}};
    DeviceConfig trickling;
    trickling.faults = {Fault::trickle(150)};
    DeviceConfig tooSlowBytes;
    tooSlowBytes.faults = {Fault::trickle(300)};
    for (const Case& c : {
             Case{"ImmediateAnswer", {}, 20, {ReplyComplete, StatusAccepted, 0}},
             Case{"DelayedAnswer", slow, 1, {ReplyComplete, StatusAccepted, 700}},
             Case{"AnswerAfterTheTimeOut", tooSlow, 1, {ReplyNoResponse, 0xFF, 1000}},
             Case{"NoAnswerToAnErase", noErase, 20, {ReplyNoResponse, 0xFF, 20000}},
             // Eight bytes 150 ms apart: reads that find nothing between them do not end it.
             Case{"BytesTrickleIn", trickling, 1, {ReplyComplete, StatusAccepted, 1050}},
             // The end byte would come 2.1 s after the start byte: past the body's limit.
             Case{"BytesTrickleTooSlowly", tooSlowBytes, 20, {ReplyBadMessage, 0x00, 2000}},
         }) {
        SCOPED_TRACE(c.name);
        DeviceModel device(c.config);
        SimLink link(device);
        SerialPort port(link.opener());
        ASSERT_EQ(port.open(SerialSettings{}, 100, 100), 0);
        CommandSet commands;
        commands.reset(kAllChannels);
        const Exchange got =
            exchange(port, link, commands, commands.eraseFrame(3), c.timeoutSeconds);
        EXPECT_EQ(got.result, c.expected.result);
        EXPECT_EQ(got.status, c.expected.status);
        EXPECT_EQ(got.elapsedMs, c.expected.elapsedMs);
    }
}

TEST(SimLink, ClosingDiscardsAnswersNotYetRead) {
    DeviceModel device;
    SimLink link(device);
    SerialPort port(link.opener());
    CommandSet commands;
    commands.reset(kAllChannels);
    ASSERT_EQ(port.open(SerialSettings{}, 100, 100), 0);
    port.write(commands.identifyFrame());
    port.close();

    ASSERT_EQ(port.open(SerialSettings{}, 100, 100), 0);
    EXPECT_EQ(port.readByte(), -1);
    const Exchange got = exchange(port, link, commands, commands.handshakeFrame(), 1);
    EXPECT_EQ(got.result, ReplyComplete);
    EXPECT_EQ(link.opens(), 2);
}

TEST(SimLink, DroppedLineFailsReadsWritesAndOpens) {
    DeviceConfig config;
    config.faults = {Fault::dropAt(1)};
    DeviceModel device(config);
    SimLink link(device);
    SerialPort port(link.opener());
    ASSERT_EQ(port.open(SerialSettings{}, 100, 100), 0);
    CommandSet commands;
    commands.reset(kAllChannels);
    const std::string header = "S00600004844521B";
    port.write(commands.recordFrameHead());
    port.write(std::span(reinterpret_cast<const std::uint8_t*>(header.data()), header.size()));
    EXPECT_FALSE(port.writeByte(kEndOfExclusive));

    std::array<std::uint8_t, 20> reply{};
    EXPECT_EQ(port.readReply(reply, 2), ReplyPortError);
    EXPECT_EQ(port.readByte(), -2);
    EXPECT_FALSE(port.writeByte(kProbeByte));
    port.close();
    EXPECT_EQ(port.open(SerialSettings{}, 100, 100), -1);
}

} // namespace
} // namespace quarvel
