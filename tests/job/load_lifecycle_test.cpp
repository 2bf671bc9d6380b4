#include "job_fixture.h"
#include "program_files.h"
#include "sim/device_model.h"
#include "sim/sim_link.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <ostream>

namespace quarvel::test {
namespace {

using Lines = std::vector<std::string>;

TEST(LoadLifecycle, AbandonedLoadIsReleasedBeforeTheNextStart) {
    DeviceModel device;
    SimLink link(device);
    LoadJob job(link.opener(), false);
    RecordingReporter reporter;

    // The dialog closed after the start-up: no step returned 0 or 1 and no clean-up ran.
    job.reset();
    ASSERT_EQ(job.step(programs().small.string(), 1, kEveryChannel, reporter), StepAgain);
    ASSERT_TRUE(job.holdsResources());

    job.reset();
    EXPECT_FALSE(job.holdsResources());
    EXPECT_EQ(job.state(), LoadState::Start);

    const LoadOutcome outcome = runLoad(job, programs().small);
    EXPECT_EQ(outcome.result, StepDone);
    EXPECT_EQ(link.opens(), 2);
    EXPECT_FALSE(job.holdsResources());
}

TEST(LoadLifecycle, CleanUpReleasesAndLeavesNothingToDo) {
    DeviceModel device;
    SimLink link(device);
    LoadJob job(link.opener(), false);
    RecordingReporter reporter;

    job.reset();
    ASSERT_EQ(job.step(programs().small.string(), 1, kEveryChannel, reporter), StepAgain);
    EXPECT_EQ(job.state(), LoadState::Sending);
    job.cleanUp();

    EXPECT_FALSE(job.holdsResources());
    EXPECT_EQ(job.state(), LoadState::CleanUp);
    EXPECT_EQ(job.step(programs().small.string(), 1, kEveryChannel, reporter), StepDone);
    EXPECT_EQ(job.state(), LoadState::CleanUp);
}

// Loads in a row through one job, each against its own device.
struct SequenceCase {
    const char* name;
    DeviceConfig firstDevice;
    bool firstFileMissing;
    Lines secondMessages;
};

void PrintTo(const SequenceCase& c, std::ostream* out) {
    *out << c.name;
}

class LoadsInARow : public testing::TestWithParam<SequenceCase> {};

TEST_P(LoadsInARow, EachLoadStartsAfresh) {
    const SequenceCase& c = GetParam();
    DeviceModel first(c.firstDevice);
    DeviceModel second;
    SimLink firstLink(first);
    SimLink secondLink(second);
    SimLink* current = &firstLink;
    LoadJob job([&current](const SerialSettings& settings) { return current->opener()(settings); },
                false);

    runLoad(job, c.firstFileMissing ? testFolder() / "missing.a21" : programs().small);
    current = &secondLink;
    const LoadOutcome outcome = runLoad(job, programs().small);

    EXPECT_EQ(outcome.messages, c.secondMessages);
    EXPECT_EQ(outcome.result, StepDone);
    const std::vector<std::uint8_t> normalErase{0xF0, 0x00, 0x3C, 0x51, 0x7F, 0x18, 0x01, 0xF7};
    const auto& frames = second.received();
    EXPECT_NE(std::find(frames.begin(), frames.end(), normalErase), frames.end());
}

Lines normalLoad() {
    Lines lines = identifiedStart();
    lines.push_back("Loading complete. No errors");
    return lines;
}

DeviceConfig olderModel() {
    DeviceConfig config;
    config.answersIdentify = false;
    return config;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadsInARow,
    testing::Values(SequenceCase{"AfterAnEchoLoadInNormalMode", olderModel(), false, normalLoad()},
                    SequenceCase{"AfterAMissingFile", {}, true, normalLoad()},
                    SequenceCase{"AfterAGoodLoad", {}, false, normalLoad()}),
    [](const testing::TestParamInfo<SequenceCase>& info) { return info.param.name; });

} // namespace
} // namespace quarvel::test
