#include "job/load_job.h"
#include "sim/device_model.h"
#include "sim/sim_link.h"
#include "tests/support/temporary_folder.h"
#include "ui/bar_drawing.h"
#include "ui/loading_run.h"
#include "ui/main_dialog_logic.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarvel {
namespace {

const std::string fixtures = QUARVEL_UI_FIXTURE_DIR;

struct PlanCase {
    const char* name;
    LastValues values;
    bool loads;
    const char* loadedFile;
    int port;
    int channel;
    bool tellsOperator;
};

TEST(DialogLogicTest, GoPlansALoadOnlyForASendableChannelAndAConvertiblePicture) {
    const test::TemporaryFolder folder;
    const auto converted = folder.path() / "Temp.s21";
    const LoaderServices services{{}, {}, [&] { return converted; }, {}};
    const std::string program = fixtures + "/small_program.a21";
    const std::string picture = fixtures + "/logo.gif";
    const PlanCase cases[] = {
        {"program file as chosen", {1, 3, program}, true, program.c_str(), 2, 2, false},
        {"picture loads its conversion", {0, 0, picture}, true, converted.c_str(), 1, 127, false},
        {"picture that does not convert: silence", {0, 0, "/no/such.GIF"}, false, "", 0, 0, false},
        {"channel list without a selection", {0, -1, program}, false, "", 0, 0, true},
    };
    for (const auto& c : cases) {
        const auto plan = planTransfer(c.values, services);
        ASSERT_EQ(plan.load.has_value(), c.loads) << c.name;
        EXPECT_EQ(!plan.message.empty(), c.tellsOperator) << c.name;
        if (plan.load) {
            EXPECT_EQ(plan.load->filePath, c.loadedFile) << c.name;
            EXPECT_EQ(plan.load->portNumber, c.port) << c.name;
            EXPECT_EQ(plan.load->channel, c.channel) << c.name;
        }
    }
    EXPECT_TRUE(std::filesystem::exists(converted));
    std::filesystem::remove(converted);
}

struct BarCase {
    const char* name;
    int position;
    int width;
    int textWidth;
    BarLayout expected;
};

TEST(DialogLogicTest, BarFillsInProportionAndCentresItsText) {
    const BarCase cases[] = {
        {"empty", 0, 375, 21, {0, 177, 4}},
        {"half, odd width truncates", 50, 375, 27, {187, 174, 4}},
        {"full", 100, 375, 33, {375, 171, 4}},
        {"above the maximum fills past the edge", 250, 200, 33, {500, 83, 4}},
        {"text wider than the bar starts left of it", 7, 10, 21, {0, -5, 4}},
    };
    for (const auto& c : cases) {
        BarValue value;
        value.setPosition(c.position);
        const auto layout = layoutBar(value, c.width, 18, c.textWidth, 10);
        EXPECT_EQ(layout.fill, c.expected.fill) << c.name;
        EXPECT_EQ(layout.textX, c.expected.textX) << c.name;
        EXPECT_EQ(layout.textY, c.expected.textY) << c.name;
    }
    BarValue value;
    value.setRange(10, 10);
    EXPECT_EQ(value.maximum() - value.minimum(), 100) << "an empty range is refused";
    EXPECT_TRUE(value.setPosition(57));
    EXPECT_FALSE(value.setPosition(57)) << "an unchanged position paints nothing";
    EXPECT_EQ(percentText(57), "57%");
}

// A view that records what the run asked of it, and a reporter that can close the run from
// inside a step, as a message served while the step waits would.
struct RecordingView final : LoadingRunView, LoadReporter {
    void armStepTimer() override { ++armed; }
    void appendPlainLine(std::string_view text) override { lines.emplace_back(text); }
    void setCloseCaption(std::string_view text) override { caption = text; }
    void endModalRun(int result) override { ended.push_back(result); }
    void addMessage(std::string_view text) override {
        lines.emplace_back(text);
        if (closeOnMessage && run != nullptr) {
            run->close(closeOnMessage);
        }
    }
    void setPercentage(int) override {}
    bool askRetry() override { return false; }

    int armed = 0;
    std::vector<std::string> lines;
    std::string caption = "Cancel";
    std::vector<int> ended;
    int closeOnMessage = 0;
    LoadingRun* run = nullptr;
};

TEST(DialogLogicTest, CloseAskedForInsideAStepEndsTheRunOnceWhenTheStepReturns) {
    DeviceModel device;
    SimLink link{device};
    LoadJob job{link.opener(), false};
    RecordingView view;
    view.closeOnMessage = 7;
    LoadingRun run(job, {fixtures + "/long_program.a21", 1, 127}, view, view);
    view.run = &run;
    run.open();
    run.tick();
    EXPECT_EQ(view.ended, std::vector<int>{7});
    EXPECT_EQ(view.armed, 1) << "no tick is due after the close";
    EXPECT_FALSE(job.holdsResources()) << "the abandoned load is released";
    run.tick();
    run.close(1);
    EXPECT_EQ(view.ended, std::vector<int>{7}) << "nothing runs once the run has ended";
}

TEST(DialogLogicTest, FailedLoadEndsWithErrorAndOk) {
    DeviceModel device;
    SimLink link{device};
    LoadJob job{link.opener(), false};
    RecordingView view;
    LoadingRun run(job, {fixtures + "/missing.a21", 1, 127}, view, view);
    run.open();
    run.tick();
    EXPECT_TRUE(run.finished());
    EXPECT_EQ(view.lines.back(), "Error!");
    EXPECT_EQ(view.caption, "Ok");
    EXPECT_TRUE(view.ended.empty()) << "the finished dialog stays open";
}

} // namespace
} // namespace quarvel
