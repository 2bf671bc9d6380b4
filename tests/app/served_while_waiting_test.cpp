#include "app/loader_app.h"
#include "job/load_job.h"
#include "tests/support/ktv_sim_process.h"
#include "tests/support/temporary_folder.h"
#include "ui/loading_dialog.h"
#include "ui_test_support.h"

#include <QAccessible>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace quarvel {
namespace {

using Clock = std::chrono::steady_clock;
using test::TemporaryFolder;

// The median time of what a screen reader asks of the dialog (each part's name and value, every
// line of the list), asked from a timer every 20 ms and counted from the moment the timer was
// due; only answers given while counts() holds are kept.
double medianAnswerMs(QWidget& dialog, const std::function<bool()>& counts) {
    std::vector<double> times;
    QTimer asker;
    asker.setSingleShot(true);
    asker.setTimerType(Qt::PreciseTimer);
    Clock::time_point due;
    const auto ask = [&] {
        due = Clock::now() + std::chrono::milliseconds(20);
        asker.start(20);
    };
    QObject::connect(&asker, &QTimer::timeout, [&] {
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&dialog);
        for (int part = 0; part < window->childCount(); ++part) {
            window->child(part)->text(QAccessible::Name);
            window->child(part)->text(QAccessible::Value);
            for (int line = 0; line < window->child(part)->childCount(); ++line) {
                window->child(part)->child(line)->text(QAccessible::Name);
            }
        }
        if (counts()) {
            times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - due).count());
        }
        ask();
    });
    ask();
    EXPECT_TRUE(waitUntil([&] { return times.size() >= 40; }));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// While a step waits for a device that answers every frame after 400 ms, the loading dialog
// answers assistive technology about as fast as a dialog whose load has ended.
TEST(ServedWhileWaitingTest, ReadsDuringALoadAnswerAsFastAsOnAnIdleDialog) {
    TemporaryFolder folder;
    ::setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
    test::KtvSimProcess sim({"--delay-ms", "400"});
    ASSERT_FALSE(sim.terminalPath().empty());
    std::ofstream(folder.path() / "quarvel.INI") << "[Ports]\nCOM1=" << folder.path() / "absent"
                                                 << "\nCOM2=" << sim.terminalPath() << "\n";
    const LoaderApp app(folder.path() / "quarvel", "");
    const std::string program = fixturePath("small_program.a21").string();

    // Its port does not open: the load ends at once and the dialog stays up, idle.
    LoadJob idleJob(app.serialOpener(), false);
    LoadingDialog idle(idleJob, {program, 1, 127}, nullptr);
    idle.show();
    ASSERT_TRUE(waitUntil([&] { return idle.finished(); }));
    const double idleMs = medianAnswerMs(idle, [] { return true; });

    LoadJob job(app.serialOpener(), false);
    LoadingDialog loading(job, {program, 2, 127}, nullptr);
    loading.show();
    const double loadingMs =
        medianAnswerMs(loading, [&] { return !loading.stepDue() && !loading.finished(); });
    loading.reject();
    ASSERT_TRUE(waitUntil([&] { return !job.holdsResources(); }));

    // 10 ms for the machine's own scheduling, whatever the program does.
    EXPECT_LE(loadingMs, 3 * idleMs + 10)
        << "median answer: idle " << idleMs << " ms, while a step waits " << loadingMs << " ms";
}

} // namespace
} // namespace quarvel
