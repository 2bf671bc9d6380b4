#include "job_fixture.h"
#include "program_files.h"
#include "scripted_line.h"
#include "sim/device_model.h"
#include "sim/sim_link.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <ostream>

namespace quarvel::test {
namespace {

using Lines = std::vector<std::string>;

constexpr std::uint8_t kRecordCommand = 0x1A;

int recordFramesIn(const std::vector<std::vector<std::uint8_t>>& frames) {
    return static_cast<int>(std::count_if(frames.begin(), frames.end(), [](const auto& frame) {
        return frame.size() > 5 && frame[0] == 0xF0 && frame[5] == kRecordCommand;
    }));
}

// Records are counted from 1, the header being 1: the small program has the header, four data
// records (2 to 5) and the end record (6).
struct TransferCase {
    const char* name;
    std::vector<Fault> faults;
    std::vector<bool> answers;
    // The lines after the start-up's.
    Lines messages;
    int result;
    int questions;
    int recordFrames;
    bool flashAsFile;
};

void PrintTo(const TransferCase& c, std::ostream* out) {
    *out << c.name;
}

class TransferWithDevice : public testing::TestWithParam<TransferCase> {};

TEST_P(TransferWithDevice, RetriesRestartsAndSkipsAsTheDeviceAsks) {
    const TransferCase& c = GetParam();
    DeviceConfig config;
    config.faults = c.faults;
    DeviceModel device(config);
    SimLink link(device);
    LoadJob job(link.opener(), false);

    const LoadOutcome outcome = runLoad(job, programs().small, c.answers);

    Lines expected = identifiedStart();
    expected.insert(expected.end(), c.messages.begin(), c.messages.end());
    EXPECT_EQ(outcome.messages, expected);
    EXPECT_EQ(outcome.result, c.result);
    EXPECT_EQ(outcome.questions, c.questions);
    EXPECT_EQ(recordFramesIn(device.received()), c.recordFrames);
    if (c.flashAsFile) {
        EXPECT_EQ(std::vector<std::uint8_t>(device.flash().begin(), device.flash().end()),
                  expectedFlash(programs().small));
        EXPECT_EQ(device.loadsCompleted(), 1);
    }
}

const Lines kComplete{"Loading complete. No errors"};
const std::string kBadChecksum = "Device received record with bad checksum. Trying record again";

Lines repeated(const std::string& line, int times, const Lines& after = {}) {
    Lines lines(static_cast<std::size_t>(times), line);
    lines.insert(lines.end(), after.begin(), after.end());
    return lines;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TransferWithDevice,
    testing::Values(
        TransferCase{"SendsEveryRecordOnce", {}, {}, kComplete, StepDone, 0, 6, true},
        TransferCase{"CancelAfterThreeFailuresEndsTheLoad",
                     {Fault::statusAt(2, 0x03, 3)},
                     {},
                     repeated(kBadChecksum, 3),
                     StepFailed,
                     1,
                     4,
                     false},
        TransferCase{"TryAgainSendsTheSameRecordAgain",
                     {Fault::statusAt(2, 0x03, 3)},
                     {true},
                     repeated(kBadChecksum, 3, kComplete),
                     StepDone,
                     1,
                     9,
                     true},
        TransferCase{"TryAgainGivesThreeMoreAttempts",
                     {Fault::statusAt(2, 0x03, 6)},
                     {true, true},
                     repeated(kBadChecksum, 6, kComplete),
                     StepDone,
                     2,
                     12,
                     true},
        TransferCase{"IncompleteRecordIsSentAgain",
                     {Fault::statusAt(3, 0x02, 1)},
                     {},
                     {"Device received incomplete record. Trying record again",
                      "Loading complete. No errors"},
                     StepDone,
                     0,
                     7,
                     true},
        TransferCase{"FlashErrorIsSentAgain",
                     {Fault::statusAt(3, 0x04, 2)},
                     {},
                     repeated("Device found error in programming flash memory. Trying record "
                              "again",
                              2, kComplete),
                     StepDone,
                     0,
                     8,
                     true},
        TransferCase{"UnknownStatusIsRetriedWithoutALine",
                     {Fault::statusAt(3, 0x7F, 2)},
                     {},
                     kComplete,
                     StepDone,
                     0,
                     8,
                     true},
        TransferCase{"UnknownStatusThreeTimesAsksTheOperator",
                     {Fault::statusAt(3, 0x7F, 3)},
                     {},
                     {},
                     StepFailed,
                     1,
                     5,
                     false},
        TransferCase{"SkippedRecordIsNotSentAgain",
                     {Fault::skipAt(3)},
                     {},
                     {"Device received first record after programming started. Skipping record",
                      "Loading complete. No errors"},
                     StepDone,
                     0,
                     6,
                     false},
        TransferCase{"RestartSendsTheWholeFileAgain",
                     {Fault::restartAt(4)},
                     {},
                     kComplete,
                     StepDone,
                     0,
                     10,
                     true},
        TransferCase{"RestartAskedOnTheEndRecordIsNotTakenForTheEnd",
                     {Fault::restartAt(6)},
                     {},
                     kComplete,
                     StepDone,
                     0,
                     12,
                     true},
        TransferCase{"DroppedLineEndsTheLoadAtOnce",
                     {Fault::dropAt(3)},
                     {},
                     {"RS232 device error, reset PC and run program again",
                      "Leave device to be programmed in current state"},
                     StepFailed,
                     0,
                     3,
                     false}),
    [](const testing::TestParamInfo<TransferCase>& info) { return info.param.name; });

// Replies to a record that the device model never gives.
struct RecordReplyCase {
    const char* name;
    ScriptedAnswer firstReply;
    std::string message;
};

void PrintTo(const RecordReplyCase& c, std::ostream* out) {
    *out << c.name;
}

class TransferWithReplies : public testing::TestWithParam<RecordReplyCase> {};

TEST_P(TransferWithReplies, RetriesTheRecord) {
    const RecordReplyCase& c = GetParam();
    // Search, identify, handshake, erase and the header are answered; then the first data record
    // gets the reply under test.
    ScriptedLine line({ackFrame(0x00), identifyReply(271), ackFrame(0x00), ackFrame(0x00),
                       ackFrame(0x00), c.firstReply},
                      ackFrame(0x00));
    LoadJob job(line.opener(), false);

    const LoadOutcome outcome = runLoad(job, programs().small);

    Lines expected = identifiedStart();
    expected.push_back(c.message);
    expected.push_back("Loading complete. No errors");
    EXPECT_EQ(outcome.messages, expected);
    EXPECT_EQ(outcome.result, StepDone);
    EXPECT_EQ(recordFramesIn(line.requests()), 7);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TransferWithReplies,
    testing::Values(RecordReplyCase{"NoResponse", silence(), "No response. Trying record again"},
                    RecordReplyCase{"CutShortReply",
                                    {{0xF0, 0x00, 0x3C}},
                                    "Error in returned message. Trying record again"}),
    [](const testing::TestParamInfo<RecordReplyCase>& info) { return info.param.name; });

} // namespace
} // namespace quarvel::test
