#include "app/loader_app.h"
#include "job/load_job.h"
#include "ktv_sim_process.h"
#include "ui/loading_dialog.h"
#include "ui_test_support.h"

#include <QAccessible>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <vector>

namespace quarvel {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kAskEvery{20};
constexpr std::size_t kAnswers = 40;
// What the machine's own scheduling may add to an answer, whatever the program does.
constexpr double kSchedulingMs = 10;

// What a screen reader asks of the loading dialog: the window, each of its parts, every line
// of its list.
void readAsAssistiveTechnology(QWidget& dialog) {
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&dialog);
    for (int part = 0; part < window->childCount(); ++part) {
        QAccessibleInterface* child = window->child(part);
        child->text(QAccessible::Name);
        child->text(QAccessible::Value);
        for (int line = 0; line < child->childCount(); ++line) {
            child->child(line)->text(QAccessible::Name);
        }
    }
}

// The reads, asked from the event loop every kAskEvery: each answer time runs from the moment
// the asking timer was due to the end of the reads. Kept only while counts() holds.
std::vector<double> answerTimesMs(QWidget& dialog, const std::function<bool()>& counts) {
    std::vector<double> times;
    QTimer asker;
    asker.setSingleShot(true);
    asker.setTimerType(Qt::PreciseTimer);
    Clock::time_point due;
    const auto ask = [&] {
        due = Clock::now() + kAskEvery;
        asker.start(kAskEvery);
    };
    QObject::connect(&asker, &QTimer::timeout, [&] {
        readAsAssistiveTechnology(dialog);
        if (counts()) {
            times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - due).count());
        }
        if (times.size() < kAnswers) {
            ask();
        }
    });
    ask();
    EXPECT_TRUE(waitUntil([&] { return times.size() >= kAnswers; }));
    return times;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// While a step waits for a device that answers every frame after 400 ms, the loading dialog
// answers assistive technology about as fast as once its load has ended.
TEST(ServedWhileWaitingTest, ReadsDuringALoadAnswerAsFastAsOnAnIdleDialog) {
    TemporaryFolder folder;
    ::setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
    test::KtvSimProcess sim({"--delay-ms", "400"});
    ASSERT_FALSE(sim.terminalPath().empty());
    std::ofstream(folder.path() / "quarvel.INI")
        << "[Ports]\nCOM1=" << (folder.path() / "absent").string()
        << "\nCOM2=" << sim.terminalPath() << "\n";
    const LoaderApp app(folder.path() / "quarvel", "");
    const std::string program = fixturePath("small_program.a21").string();

    // Its port does not open: the load ends at once and the dialog stays up, idle.
    LoadJob idleJob(app.serialOpener(), false);
    LoadingDialog idle(idleJob, {program, 1, 127}, nullptr);
    idle.show();
    ASSERT_TRUE(waitUntil([&] { return idle.finished(); }));
    const double idleMs = median(answerTimesMs(idle, [] { return true; }));

    LoadJob job(app.serialOpener(), false);
    LoadingDialog loading(job, {program, 2, 127}, nullptr);
    loading.show();
    const double loadingMs =
        median(answerTimesMs(loading, [&] { return !loading.stepDue() && !loading.finished(); }));
    loading.reject();
    ASSERT_TRUE(waitUntil([&] { return !job.holdsResources(); }));

    EXPECT_LE(loadingMs, 3 * idleMs + kSchedulingMs)
        << "median answer: idle " << idleMs << " ms, while a step waits " << loadingMs << " ms";
}

} // namespace
} // namespace quarvel
