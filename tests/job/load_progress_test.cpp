#include "job_fixture.h"
#include "program_files.h"
#include "sim/device_model.h"
#include "sim/sim_link.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <ostream>

namespace quarvel::test {
namespace {

using Lines = std::vector<std::string>;
using Frames = std::vector<std::vector<std::uint8_t>>;

std::vector<std::string> recordTexts(const Frames& frames) {
    std::vector<std::string> texts;
    for (const auto& frame : frames) {
        if (frame.size() > 6 && frame[0] == 0xF0 && frame[5] == 0x1A) {
            texts.emplace_back(frame.begin() + 6, frame.end() - 1);
        }
    }
    return texts;
}

struct PercentCase {
    const char* name;
    std::vector<Fault> faults;
    // Where the percentages of the whole file begin again, or -1.
    int restartAfter;
};

void PrintTo(const PercentCase& c, std::ostream* out) {
    *out << c.name;
}

class Percentages : public testing::TestWithParam<PercentCase> {};

TEST_P(Percentages, FollowTheLinesAcknowledged) {
    const PercentCase& c = GetParam();
    DeviceConfig config;
    config.faults = c.faults;
    DeviceModel device(config);
    SimLink link(device);
    LoadJob job(link.opener(), false);
    const auto& file = programs().spread;

    const LoadOutcome outcome = runLoad(job, file);

    const std::vector<int> whole = percentagesByOffset(file);
    std::vector<int> expected;
    if (c.restartAfter >= 0) {
        expected.assign(whole.begin(), whole.begin() + c.restartAfter);
        expected.push_back(0);
    }
    expected.insert(expected.end(), whole.begin(), whole.end());
    EXPECT_EQ(outcome.percentages, expected);
    EXPECT_EQ(outcome.percentages.back(), 100);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Percentages,
    testing::Values(PercentCase{"OnePerRecord", {}, -1},
                    PercentCase{"NoneForAFailedAttempt", {Fault::statusAt(5, 0x03, 2)}, -1},
                    PercentCase{"SkippedRecordCounts", {Fault::skipAt(7)}, -1},
                    PercentCase{"RestartDropsToZeroAndClimbsAgain", {Fault::restartAt(9)}, 8}),
    [](const testing::TestParamInfo<PercentCase>& info) { return info.param.name; });

TEST(Percentages, PassAHundredWhereLinesEndInOneCharacter) {
    DeviceModel device;
    SimLink link(device);
    LoadJob job(link.opener(), false);
    const auto& file = programs().lineFeeds;

    const LoadOutcome outcome = runLoad(job, file);

    // Each line is counted as if it ended in CR LF, one byte more than it has.
    const auto size = static_cast<std::int64_t>(std::filesystem::file_size(file));
    const auto counted = size + static_cast<std::int64_t>(fileLines(file).size());
    EXPECT_EQ(outcome.result, StepDone);
    EXPECT_EQ(outcome.percentages.back(), static_cast<int>((200 * counted + size) / (2 * size)));
    EXPECT_GT(outcome.percentages.back(), 100);
}

TEST(TransferSteps, SendTenRecordsAStepAndCompleteOneStepLater) {
    DeviceModel device;
    SimLink link(device);
    LoadJob job(link.opener(), false);
    std::vector<int> recordsPerStep;
    std::size_t seen = 0;

    const LoadOutcome outcome = runLoad(job, programs().twentyFive, {}, kEveryChannel, [&] {
        const auto texts = recordTexts(device.received());
        recordsPerStep.push_back(static_cast<int>(texts.size() - seen));
        seen = texts.size();
    });

    EXPECT_EQ(recordsPerStep, (std::vector<int>{0, 10, 10, 5, 0}));
    EXPECT_EQ(outcome.stepResults, (std::vector<int>{2, 2, 2, 2, 0}));
    EXPECT_EQ(outcome.messages.back(), "Loading complete. No errors");
}

// Files whose end the scan accepts but a transfer meets differently.
struct EndCase {
    const char* name;
    Lines lines;
    // Records expected on the wire, as their text.
    Lines sent;
    Lines lastMessages;
    int result;
};

void PrintTo(const EndCase& c, std::ostream* out) {
    *out << c.name;
}

class EndOfTransfer : public testing::TestWithParam<EndCase> {};

TEST_P(EndOfTransfer, StopsAtTheFirstEndRecord) {
    const EndCase& c = GetParam();
    DeviceModel device;
    SimLink link(device);
    LoadJob job(link.opener(), false);
    const auto file = writeLines(testFolder(), c.name, c.lines);

    const LoadOutcome outcome = runLoad(job, file);

    EXPECT_EQ(recordTexts(device.received()), c.sent);
    const Lines tail(outcome.messages.end() - static_cast<std::ptrdiff_t>(c.lastMessages.size()),
                     outcome.messages.end());
    EXPECT_EQ(tail, c.lastMessages);
    EXPECT_EQ(outcome.result, c.result);
}

const std::string kHeader = "S00600004844521B";
const std::string kData = "S107400001020304AE";

INSTANTIATE_TEST_SUITE_P(
    Cases, EndOfTransfer,
    testing::Values(EndCase{"LinesAfterTheEndAreNeverRead",
                            {kHeader, kData, "S9030000FC", "S1074010010203049E", "garbage"},
                            {kHeader, kData, "S9030000FC"},
                            {"Flash Erased, sending new program", "Loading complete. No errors"},
                            StepDone},
                    EndCase{"EndRecordWithWrongChecksumFailsAfterTheData",
                            {kHeader, kData, "S9030000FD"},
                            {kHeader, kData},
                            {"Flash Erased, sending new program"},
                            StepFailed},
                    EndCase{"EndLineWithoutRecordStartCompletesUnsent",
                            {kHeader, kData, "x9030000FC"},
                            {kHeader, kData},
                            {"Flash Erased, sending new program", "Loading complete. No errors"},
                            StepDone},
                    EndCase{"RecordTextOnlyGoesOut",
                            {kHeader, kData + "  trailing", "S804000000FB;"},
                            {kHeader, kData, "S804000000FB"},
                            {"Flash Erased, sending new program", "Loading complete. No errors"},
                            StepDone}),
    [](const testing::TestParamInfo<EndCase>& info) { return info.param.name; });

struct RewriteCase {
    const char* name;
    Lines original;
    int restartAt;
    Lines rewritten;
};

// The restart makes the job read the file again from its start, as it is now.
TEST(EndOfTransfer, FileRewrittenDuringTheLoadIsNoSuccess) {
    const RewriteCase cases[] = {
        {"CutShort", {kHeader, kData, "S1074010010203049E", "S9030000FC"}, 3, {kHeader, kData}},
        {"EmptyFirstLineAfterARestartOnTheEndRecord",
         {kHeader, kData, "S9030000FC"},
         3,
         {"", kHeader, kData, "S9030000FC"}},
    };
    for (const auto& c : cases) {
        DeviceConfig config;
        config.faults = {Fault::restartAt(c.restartAt)};
        DeviceModel device(config);
        SimLink link(device);
        LoadJob job(link.opener(), false);
        const auto file = writeLines(testFolder(), c.name, c.original);
        int steps = 0;

        const LoadOutcome outcome = runLoad(job, file, {}, kEveryChannel, [&] {
            if (++steps == 1) {
                writeLines(testFolder(), c.name, c.rewritten);
            }
        });

        EXPECT_EQ(outcome.messages.back(), "Program file changed during loading") << c.name;
        EXPECT_EQ(outcome.result, StepFailed) << c.name;
    }
}

} // namespace
} // namespace quarvel::test
