#include "link/serial_port.h"
#include "tests/support/scripted_channel.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarvel {
namespace {

using test::Script;
using Bytes = std::vector<std::uint8_t>;

// Bytes that all arrive at one moment.
std::vector<Arrival> at(std::int64_t ms, const Bytes& bytes) {
    std::vector<Arrival> arrivals;
    for (const std::uint8_t byte : bytes) {
        arrivals.push_back({ms, byte});
    }
    return arrivals;
}

// One byte every stepMs from firstMs up to lastMs.
std::vector<Arrival> every(std::int64_t stepMs, std::int64_t firstMs, std::int64_t lastMs,
                           std::uint8_t byte) {
    std::vector<Arrival> arrivals;
    for (std::int64_t ms = firstMs; ms <= lastMs; ms += stepMs) {
        arrivals.push_back({ms, byte});
    }
    return arrivals;
}

std::vector<Arrival> operator+(std::vector<Arrival> first, const std::vector<Arrival>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

Bytes operator+(Bytes first, const Bytes& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

const Bytes kAck{0xF0, 0x00, 0x3C, 0x51, 0x05, 0x19, 0x00, 0xF7};

struct ReplyCase {
    std::string name;
    std::vector<Arrival> arrivals;
    int timeoutSeconds;
    int result;
    // The buffer's first bytes as the reply leaves them; the rest up to index 19 must be FF.
    Bytes stored;
    // Virtual milliseconds the read may take.
    std::int64_t shortestMs;
    std::int64_t longestMs;
    // The reader is away for awayMs before its read number awayRead (counted from 1).
    int awayRead = 0;
    std::int64_t awayMs = 0;
};

void PrintTo(const ReplyCase& c, std::ostream* out) {
    *out << c.name;
}

class ReadReply : public testing::TestWithParam<ReplyCase> {};

TEST_P(ReadReply, ResultBufferAndDuration) {
    const ReplyCase& c = GetParam();
    auto script = std::make_shared<Script>();
    script->arrivals.assign(c.arrivals.begin(), c.arrivals.end());
    script->awayBeforeRead = c.awayRead;
    script->awayMs = c.awayMs;
    SerialPort port(test::scriptedOpener(script));
    ASSERT_EQ(port.open(SerialSettings{}, 100, 100), 0);

    Bytes buffer(64, 0xAA);
    EXPECT_EQ(port.readReply(buffer, c.timeoutSeconds), c.result);

    Bytes expected = c.stored;
    expected.resize(std::max<std::size_t>(expected.size(), 20), 0xFF);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + static_cast<long>(expected.size())), expected);
    EXPECT_GE(script->nowMs, c.shortestMs);
    EXPECT_LE(script->nowMs, c.longestMs);
}

Bytes withTerminator(Bytes bytes) {
    bytes.push_back(0x00);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    OnVirtualTime, ReadReply,
    testing::Values(
        ReplyCase{"CompleteFrameAtOnce", at(0, kAck), 2, ReplyComplete, withTerminator(kAck), 0, 0},
        ReplyCase{"SixByteReplyEndsAtIndexSix",
                  at(0, {0xF0, 0x00, 0x3C, 0x51, 0x05, 0xF7}),
                  1,
                  ReplyComplete,
                  {0xF0, 0x00, 0x3C, 0x51, 0x05, 0xF7, 0x00},
                  0,
                  0},
        ReplyCase{"NothingWithinOneSecond", {}, 1, ReplyNoResponse, {}, 1000, 1100},
        ReplyCase{"NothingWithinTwentySeconds", {}, 20, ReplyNoResponse, {}, 20000, 20100},
        // A whole-second clock could end this wait after 200 ms; a 1 second wait lasts 1 second.
        ReplyCase{"ReplyLateInTheFirstSecond", at(950, kAck), 1, ReplyComplete,
                  withTerminator(kAck), 950, 950},
        ReplyCase{"ReplyAfterTheTimeOut", at(1150, kAck), 1, ReplyNoResponse, {}, 1000, 1100},
        ReplyCase{"NoiseBeforeTheStartIsDropped", at(0, {0x11, 0x22}) + at(300, kAck), 2,
                  ReplyComplete, withTerminator(kAck), 300, 300},
        ReplyCase{"NoiseThatStopsBeforeTheTimeOut",
                  every(100, 0, 400, 0x42),
                  1,
                  ReplyNoResponse,
                  {},
                  1000,
                  1100},
        ReplyCase{"NoiseAtTheTimeOutBecomesTheStart",
                  every(100, 0, 1000, 0x42) + at(1050, {0x00, 0x3C, 0x51, 0x05, 0x19, 0x00, 0xF7}),
                  1,
                  ReplyComplete,
                  {0x42, 0x00, 0x3C, 0x51, 0x05, 0x19, 0x00, 0xF7, 0x00},
                  1050,
                  1050},
        ReplyCase{"StartThenSilence", at(0, {0xF0}), 1, ReplyBadMessage, {0xF0, 0x00}, 2000, 2100},
        // The byte whose read began inside the limit is kept, whenever it came.
        ReplyCase{"StartThenBytesWithoutEnd", at(0, {0xF0}) + every(100, 100, 3000, 0x33), 1,
                  ReplyBadMessage, withTerminator(Bytes{0xF0} + Bytes(20, 0x33)), 2000, 2000},
        ReplyCase{"EndJustInsideTheBodyLimit",
                  at(0, {0xF0, 0x00}) + at(1950, {0xF7}),
                  1,
                  ReplyComplete,
                  {0xF0, 0x00, 0xF7, 0x00},
                  1950,
                  1950},
        ReplyCase{"EndAfterTheBodyLimit",
                  at(0, {0xF0, 0x00}) + at(2050, {0xF7}),
                  1,
                  ReplyBadMessage,
                  {0xF0, 0x00, 0x00},
                  2000,
                  2050},
        ReplyCase{"WholeReplyWaitingWhenTheReaderCameBackLate",
                  at(0, {0xF0}) + at(100, Bytes(kAck.begin() + 1, kAck.end())), 1, ReplyComplete,
                  withTerminator(kAck), 3000, 3000, 2, 3000},
        ReplyCase{"NoiseThenAWholeReplyWaitingAtTheTimeOut", at(0, {0x42}) + at(100, kAck), 1,
                  ReplyComplete, withTerminator(kAck), 1500, 1500, 1, 1500},
        ReplyCase{"FailureWhileWaiting", {{500, -2}}, 2, ReplyPortError, {}, 500, 500},
        ReplyCase{"FailureInTheBody",
                  at(0, {0xF0, 0x00}) + std::vector<Arrival>{{10, -2}},
                  2,
                  ReplyPortError,
                  {0xF0, 0x00},
                  10,
                  10}),
    [](const auto& info) { return info.param.name; });

TEST(ReadReplyBounds, NeverStoresPastTheBufferAndReadsTheNextFrameClean) {
    constexpr std::size_t kCapacity = 20;
    struct Case {
        std::string name;
        std::size_t frameLength;
        int result;
    };
    for (const Case& c : {Case{"FitsWithItsTerminator", kCapacity - 1, ReplyComplete},
                          Case{"NoRoomForTheTerminator", kCapacity, ReplyBadMessage},
                          Case{"FarLonger", 300, ReplyBadMessage}}) {
        SCOPED_TRACE(c.name);
        Bytes longFrame(c.frameLength, 0x20);
        longFrame.front() = 0xF0;
        longFrame.back() = 0xF7;
        auto script = std::make_shared<Script>();
        for (const Arrival& arrival : at(0, longFrame) + at(0, kAck)) {
            script->arrivals.push_back(arrival);
        }
        SerialPort port(test::scriptedOpener(script));
        ASSERT_EQ(port.open(SerialSettings{}, 100, 100), 0);

        Bytes memory(kCapacity + 8, 0xAA);
        const std::span<std::uint8_t> buffer(memory.data(), kCapacity);
        EXPECT_EQ(port.readReply(buffer, 2), c.result);
        EXPECT_EQ(Bytes(memory.begin() + kCapacity, memory.end()), Bytes(8, 0xAA));

        EXPECT_EQ(port.readReply(buffer, 2), ReplyComplete);
        EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 9), withTerminator(kAck));
    }
}

// A line that never falls silent: a noise byte is waiting at every moment, until the line fails
// after 100 s, so that a reader that would not stop fails instead of hanging.
class EndlessNoise final : public ByteChannel {
public:
    bool write(std::span<const std::uint8_t>) override { return true; }
    int readByte() override { return ++m_nowMs < 100'000 ? 0x42 : -2; }
    bool hasUnreadByte() override { return true; }
    void discardPending() override {}
    std::int64_t nowMs() const override { return m_nowMs; }

private:
    std::int64_t m_nowMs = 0;
};

TEST(ReadReplyBounds, LineThatNeverFallsSilentStillEndsTheWait) {
    SerialPort port([](const SerialSettings&) { return std::make_unique<EndlessNoise>(); });
    ASSERT_EQ(port.open(SerialSettings{}, 100, 100), 0);
    Bytes buffer(24, 0x00);
    EXPECT_EQ(port.readReply(buffer, 1), ReplyBadMessage);
}

TEST(ReadReplyBounds, ClosedPortPresetsTheBufferAndAnswersNoResponse) {
    SerialPort port(nullptr);
    Bytes buffer(24, 0x00);
    EXPECT_EQ(port.readReply(buffer, 1), ReplyNoResponse);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 20), Bytes(20, 0xFF));
    EXPECT_EQ(Bytes(buffer.begin() + 20, buffer.end()), Bytes(4, 0x00));
}

} // namespace
} // namespace quarvel
