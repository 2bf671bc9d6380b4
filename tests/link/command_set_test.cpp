#include "link/command_set.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarvel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(std::span<const std::uint8_t> span) {
    return {span.begin(), span.end()};
}

struct FrameCase {
    std::string name;
    Dialect dialect;
    std::function<std::span<const std::uint8_t>(CommandSet&)> frame;
    // The frame as sent, with 0xCC where the channel goes.
    Bytes expected;
};

void PrintTo(const FrameCase& c, std::ostream* out) {
    *out << c.name;
}

class Frames : public testing::TestWithParam<FrameCase> {};

TEST_P(Frames, CarryTheChannelOfTheLoad) {
    const FrameCase& c = GetParam();
    for (const std::uint8_t channel :
         {std::uint8_t{0x7F}, std::uint8_t{0x00}, std::uint8_t{0x0F}}) {
        SCOPED_TRACE(channel);
        CommandSet commands;
        commands.reset(channel);
        if (c.dialect == Dialect::AssumedModel) {
            commands.switchToAssumedModel();
        }
        Bytes expected = c.expected;
        for (std::uint8_t& byte : expected) {
            byte = byte == 0xCC ? channel : byte;
        }
        EXPECT_EQ(bytesOf(c.frame(commands)), expected);
    }
}

constexpr std::uint8_t ch = 0xCC;
const auto search = [](CommandSet& c) { return c.searchFrame(); };
const auto identify = [](CommandSet& c) { return c.identifyFrame(); };
const auto handshake = [](CommandSet& c) { return c.handshakeFrame(); };
const auto recordHead = [](CommandSet& c) { return c.recordFrameHead(); };
const auto eraseOf = [](int sector) {
    return [sector](CommandSet& c) { return c.eraseFrame(sector); };
};

INSTANTIATE_TEST_SUITE_P(
    BothDialects, Frames,
    testing::Values(
        FrameCase{
            "Search", Dialect::Normal, search, {0xF0, 0x00, 0x3C, 0x51, ch, 0x06, 0x10, 0xF7}},
        FrameCase{
            "Identify", Dialect::Normal, identify, {0xF0, 0x00, 0x3C, 0x51, ch, 0x06, 0x01, 0xF7}},
        FrameCase{
            "Handshake", Dialect::Normal, handshake, {0xF0, 0x00, 0x3C, 0x51, ch, 0x1B, 0xF7}},
        FrameCase{"EraseSector0",
                  Dialect::Normal,
                  eraseOf(0),
                  {0xF0, 0x00, 0x3C, 0x51, ch, 0x18, 0x00, 0xF7}},
        FrameCase{"EraseSector10",
                  Dialect::Normal,
                  eraseOf(10),
                  {0xF0, 0x00, 0x3C, 0x51, ch, 0x18, 0x0A, 0xF7}},
        FrameCase{"RecordHead", Dialect::Normal, recordHead, {0xF0, 0x00, 0x3C, 0x51, ch, 0x1A}},
        FrameCase{"AssumedEraseSector3",
                  Dialect::AssumedModel,
                  eraseOf(3),
                  {0xF0, 0x00, 0x3C, 0x51, ch, 0x06, 0x05, 0x03, 0xF7}},
        FrameCase{"AssumedEraseSector10",
                  Dialect::AssumedModel,
                  eraseOf(10),
                  {0xF0, 0x00, 0x3C, 0x51, ch, 0x06, 0x05, 0x0A, 0xF7}},
        FrameCase{"AssumedRecordHead",
                  Dialect::AssumedModel,
                  recordHead,
                  {0xF0, 0x00, 0x3C, 0x51, ch, 0x06, 0x0E}},
        FrameCase{"NoSector11", Dialect::Normal, eraseOf(11), {}},
        FrameCase{"NoNegativeSector", Dialect::AssumedModel, eraseOf(-1), {}}),
    [](const auto& info) { return info.param.name; });

TEST(CommandSet, RecordFrameOfAHeaderLine) {
    CommandSet commands;
    commands.reset(0x02);
    const std::string line = "S00600004844521B";
    Bytes frame = bytesOf(commands.recordFrameHead());
    frame.insert(frame.end(), line.begin(), line.end());
    frame.push_back(kEndOfExclusive);
    EXPECT_EQ(frame, (Bytes{0xF0, 0x00, 0x3C, 0x51, 0x02, 0x1A, 0x53, 0x30, 0x30, 0x36, 0x30, 0x30,
                            0x30, 0x30, 0x34, 0x38, 0x34, 0x34, 0x35, 0x32, 0x31, 0x42, 0xF7}));
}

TEST(CommandSet, TheStatusByteFollowsTheDialect) {
    struct Case {
        std::string name;
        bool assumed;
        Bytes reply;
        std::uint8_t status;
    };
    const Bytes normalAck{0xF0, 0x00, 0x3C, 0x51, 0x02, 0x19, 0x00, 0xF7, 0x00, 0xFF};
    const Bytes assumedAck{0xF0, 0x00, 0x3C, 0x51, 0x02, 0x06, 0x07, 0x00, 0xF7, 0x00};
    const Bytes sixBytes{0xF0, 0x00, 0x3C, 0x51, 0x02, 0xF7, 0x00, 0xFF, 0xFF, 0xFF};
    const Bytes badChecksum{0xF0, 0x00, 0x3C, 0x51, 0x02, 0x19, 0x03, 0xF7, 0x00, 0xFF};
    for (const Case& c : {
             Case{"NormalAckInNormalMode", false, normalAck, 0x00},
             Case{"NormalAckInAssumedMode", true, normalAck, 0xF7},
             Case{"AssumedAckInAssumedMode", true, assumedAck, 0x00},
             Case{"SixByteReplyCountsInNormalMode", false, sixBytes, 0x00},
             Case{"StatusThreeIsNoAck", false, badChecksum, 0x03},
             Case{"BufferTooShortForAStatus", true, Bytes(7, 0x00), 0xFF},
         }) {
        SCOPED_TRACE(c.name);
        CommandSet commands;
        commands.reset(0x02);
        if (c.assumed) {
            commands.switchToAssumedModel();
        }
        EXPECT_EQ(commands.replyStatus(c.reply), c.status);
    }
}

TEST(CommandSet, ResetUndoesTheAssumedModel) {
    CommandSet commands;
    commands.reset(0x7F);
    commands.switchToAssumedModel();
    ASSERT_EQ(commands.eraseFrame(4).size(), 9u);
    commands.reset(0x03);
    EXPECT_EQ(bytesOf(commands.eraseFrame(4)),
              (Bytes{0xF0, 0x00, 0x3C, 0x51, 0x03, 0x18, 0x04, 0xF7}));
    EXPECT_EQ(bytesOf(commands.recordFrameHead()), (Bytes{0xF0, 0x00, 0x3C, 0x51, 0x03, 0x1A}));
}

TEST(CommandSet, TypeNumberOfIdentifyReplies) {
    struct Case {
        std::string name;
        Bytes reply;
        int type;
    };
    for (const Case& c : {
             Case{"Expected", {0xF0, 0x00, 0x3C, 0x51, 0x00, 0x06, 0x02, 0x02, 0x47, 0xF7}, 271},
             Case{"Other", {0xF0, 0x00, 0x3C, 0x51, 0x00, 0x06, 0x02, 0x03, 0x16, 0xF7}, 322},
             // Eight bytes: F7 at index 7 and the reader's terminator at index 8.
             Case{"EightByteReply", {0xF0, 0x00, 0x3C, 0x51, 0x00, 0x06, 0x01, 0xF7, 0x00}, 24700},
             Case{"TooShort", {0xF0, 0x00, 0x3C, 0x51, 0x00, 0x06, 0x01, 0xF7}, -1},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(typeNumber(c.reply), c.type);
    }
}

} // namespace
} // namespace quarvel
