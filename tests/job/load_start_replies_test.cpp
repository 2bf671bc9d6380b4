#include "job_fixture.h"
#include "scripted_line.h"

#include <gtest/gtest.h>
#include <optional>
#include <ostream>

namespace quarvel::test {
namespace {

using Lines = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

// Replies no sane device gives: cut-short frames, a failing port, odd echoes.
struct ReplyCase {
    const char* name;
    std::vector<ScriptedAnswer> answers;
    // The lines after "Searching for device".
    Lines messages;
    int result;
    // Why a failing load says it failed.
    std::optional<LoadFailure> reason;
    ScriptedAnswer fallback = ackFrame(0x00);
};

void PrintTo(const ReplyCase& c, std::ostream* out) {
    *out << c.name;
}

class StartWithReplies : public testing::TestWithParam<ReplyCase> {};

TEST_P(StartWithReplies, ReportsWhatTheRepliesMean) {
    const ReplyCase& c = GetParam();
    ScriptedLine line(c.answers, c.fallback);
    LoadJob job(line.opener(), false);

    const LoadOutcome outcome = runLoad(job, programs().small);

    Lines expected{"Initialising", "PC RS232 opened", "Searching for device"};
    expected.insert(expected.end(), c.messages.begin(), c.messages.end());
    EXPECT_EQ(outcome.messages, expected);
    EXPECT_EQ(outcome.result, c.result);
    EXPECT_EQ(outcome.failures, c.reason ? std::vector{*c.reason} : std::vector<LoadFailure>{});
    EXPECT_FALSE(job.holdsResources());
}

const ScriptedAnswer kSearchAck = ackFrame(0x00);
const ScriptedAnswer kCutShort{{0xF0, 0x00, 0x3C}};
const Lines kIdentified{"Found Device 271, expecting 271"};
const Lines kAcknowledged{"Found Device 271, expecting 271", "Received Acknowledgement",
                          "Erasing flash"};

ScriptedAnswer noise(std::uint8_t byte, int count, std::int64_t spacingMs) {
    return {Bytes(static_cast<std::size_t>(count), byte), false, spacingMs};
}

Lines with(Lines first, const Lines& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartWithReplies,
    testing::Values(
        ReplyCase{"IdentifyReplyCutShort",
                  {kSearchAck, kCutShort},
                  {"Error in returned message"},
                  StepFailed,
                  LoadFailure::WrongAnswer},
        ReplyCase{"PortFailsOnIdentify",
                  {kSearchAck, lineFailure()},
                  {"RS232 device error, reset PC and run again"},
                  StepFailed,
                  LoadFailure::Port},
        ReplyCase{"EightByteIdentifyReplyReadsAsType24700",
                  {kSearchAck, {{0xF0, 0x00, 0x3C, 0x51, 0x7F, 0x06, 0x01, 0xF7}}},
                  {"Found Device 24700, expecting 271",
                   "The unit does not report the correct type number.", "Received Acknowledgement",
                   "Erasing flash", "Flash Erased, sending new program",
                   "Loading complete. No errors"},
                  StepDone,
                  {}},
        ReplyCase{"HandshakeRefused",
                  {kSearchAck, identifyReply(271), ackFrame(0x01)},
                  with(kIdentified, {"Received Error"}),
                  StepFailed,
                  LoadFailure::WrongAnswer},
        ReplyCase{"HandshakeUnanswered",
                  {kSearchAck, identifyReply(271), silence()},
                  with(kIdentified, {"No response"}),
                  StepFailed,
                  LoadFailure::Device},
        ReplyCase{"ForeignTypeThenHandshakeUnanswered",
                  {kSearchAck, identifyReply(322), silence()},
                  {"Found Device 322, expecting 271",
                   "The unit does not report the correct type number.", "No response"},
                  StepFailed,
                  LoadFailure::WrongAnswer},
        ReplyCase{"HandshakeCutShort",
                  {kSearchAck, identifyReply(271), kCutShort},
                  with(kIdentified, {"Error in returned message"}),
                  StepFailed,
                  LoadFailure::WrongAnswer},
        ReplyCase{"PortFailsOnHandshake",
                  {kSearchAck, identifyReply(271), lineFailure()},
                  with(kIdentified, {"RS232 device error, reset PC and run again"}),
                  StepFailed,
                  LoadFailure::Port},
        ReplyCase{"SixByteHandshakeReplyCountsAsAccepted",
                  {kSearchAck, identifyReply(271), {{0xF0, 0x00, 0x3C, 0x51, 0x7F, 0xF7}}},
                  with(kAcknowledged,
                       {"Flash Erased, sending new program", "Loading complete. No errors"}),
                  StepDone,
                  {}},
        ReplyCase{"PortFailsDuringTheEchoProbe",
                  {silence(), silence(), lineFailure()},
                  {"PC RS232 port not operating correctly, restart the PC and retry"},
                  StepFailed,
                  LoadFailure::Port},
        ReplyCase{"EchoDrownedInOtherBytesEndsWithoutALine",
                  {silence(), silence(), noise(0x55, 30, 90)},
                  {},
                  StepFailed,
                  LoadFailure::WrongAnswer},
        ReplyCase{"EchoFoundBehindOtherBytes",
                  {silence(), silence(), {{0x55, 0x55, 0xFE}}},
                  {"Found Device (assuming KTV-271)", "Erasing flash",
                   "Flash Erased, sending new program", "Loading complete. No errors"},
                  StepDone,
                  {},
                  assumedAckFrame(0x00)},
        ReplyCase{
            "NormalAcknowledgementDoesNotServeTheOlderModel",
            {silence(), silence(), {{0xFE}}},
            {"Found Device (assuming KTV-271)", "Erasing flash", "Device not Erased, restart"},
            StepFailed,
            LoadFailure::Erase},
        ReplyCase{"EraseReplyCutShort",
                  {kSearchAck, identifyReply(271), ackFrame(0x00), kCutShort},
                  with(kAcknowledged, {"Error in returned message", "Reset PC and run again"}),
                  StepFailed,
                  LoadFailure::Erase},
        ReplyCase{"PortFailsOnErase",
                  {kSearchAck, identifyReply(271), ackFrame(0x00), lineFailure()},
                  with(kAcknowledged, {"RS232 device error", "Reset PC and run again"}),
                  StepFailed,
                  LoadFailure::Erase},
        ReplyCase{"EraseRefused",
                  {kSearchAck, identifyReply(271), ackFrame(0x00), ackFrame(0x02)},
                  with(kAcknowledged, {"Device not Erased, restart"}),
                  StepFailed,
                  LoadFailure::Erase}),
    [](const testing::TestParamInfo<ReplyCase>& info) { return info.param.name; });

} // namespace
} // namespace quarvel::test
