#include "job/load_job.h"
#include "sim/device_model.h"
#include "sim/sim_link.h"
#include "ui/alive_while_waiting.h"
#include "ui/dialog_builder.h"
#include "ui/loading_dialog.h"
#include "ui/progress_bar.h"
#include "ui/retry_dialog.h"
#include "ui_test_support.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

const std::string smallProgram = fixturePath("small_program.a21").string();
const std::string longProgram = fixturePath("long_program.a21").string();

QStringList messagesOf(const LoadingDialog& dialog) {
    QStringList lines;
    auto* list = controlOf<QListWidget>(dialog, MessageListId);
    for (int row = 0; row < list->count(); ++row) {
        lines << list->item(row)->text();
    }
    return lines;
}

QString selectedMessage(const LoadingDialog& dialog) {
    auto* list = controlOf<QListWidget>(dialog, MessageListId);
    return list->currentItem() != nullptr ? list->currentItem()->text() : QString();
}

QString closeCaption(const LoadingDialog& dialog) {
    return controlOf<QPushButton>(dialog, OkButtonId)->text();
}

// A device in-process on virtual time, and the job that loads into it.
struct Bench {
    explicit Bench(DeviceConfig config = {}) : device(std::move(config)) {}

    bool runToEnd(LoadingDialog& dialog) {
        dialog.show();
        return waitUntil([&] { return dialog.finished(); });
    }

    DeviceModel device;
    SimLink link{device};
    LoadJob job{link.opener(), false};
};

TEST(LoadingDialogTest, FollowsTemplate103) {
    Bench bench;
    LoadingDialog dialog(bench.job, {smallProgram, 1, 127}, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Loading...");
    const auto base = dialogBaseUnits(dialog.font());
    EXPECT_EQ(dialog.size(), toPixels({0, 0, 263, 133}, base).size());
    EXPECT_EQ(findControl(dialog, MessageListId)->geometry(), toPixels({5, 20, 250, 40}, base));
    EXPECT_EQ(findControl(dialog, OkButtonId)->geometry(), toPixels({106, 110, 50, 14}, base));
    EXPECT_EQ(findControl(dialog, ProgressFrameId)->geometry(), toPixels({5, 90, 250, 12}, base));
    EXPECT_EQ(dialog.progressBar().geometry(), findControl(dialog, ProgressFrameId)->rect());
    EXPECT_EQ(closeCaption(dialog), "Cancel");
    EXPECT_FALSE(controlOf<QPushButton>(dialog, OkButtonId)->isDefault());
    QStringList labels;
    for (auto* label : dialog.findChildren<QLabel*>()) {
        labels << label->text();
        EXPECT_TRUE(label->alignment() & Qt::AlignHCenter) << label->text().toStdString();
    }
    labels.sort();
    EXPECT_EQ(labels, (QStringList{"Messages", "Percentage Transferred"}));
    EXPECT_EQ(nextTabStop(dialog, *findControl(dialog, MessageListId)),
              findControl(dialog, OkButtonId));
}

TEST(LoadingDialogTest, WholeLoadEndsWithItsLastLineSelectedAndOk) {
    Bench bench;
    LoadingDialog dialog(bench.job, {smallProgram, 1, 127}, nullptr);
    ASSERT_TRUE(bench.runToEnd(dialog));

    const auto lines = messagesOf(dialog);
    ASSERT_GE(lines.size(), 6);
    EXPECT_EQ(lines.mid(0, 3),
              (QStringList{"Initialising", "PC RS232 opened", "Searching for device"}));
    EXPECT_TRUE(lines.contains("Flash Erased, sending new program"));
    EXPECT_EQ(lines.last(), "Loading complete. No errors");
    EXPECT_FALSE(lines.contains("Error!"));
    EXPECT_EQ(selectedMessage(dialog), "Loading complete. No errors");
    EXPECT_EQ(closeCaption(dialog), "Ok");
    EXPECT_EQ(dialog.progressBar().position(), 100);
    EXPECT_FALSE(bench.job.holdsResources());
    EXPECT_EQ(bench.device.loadsCompleted(), 1);

    // What a screen reader reads: every line of the list, and the bar by its label.
    QAccessibleInterface* list =
        QAccessible::queryAccessibleInterface(findControl(dialog, MessageListId));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->childCount(), lines.size());
    for (int row = 0; row < lines.size(); ++row) {
        EXPECT_EQ(list->child(row)->text(QAccessible::Name), lines[row]);
    }
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(&dialog.progressBar());
    EXPECT_EQ(bar->text(QAccessible::Name), "Percentage Transferred");
    EXPECT_EQ(bar->text(QAccessible::Value), "100%");
}

// The longest line a load can give must stay readable: no horizontal scroll bar may cover the
// forty-unit list.
TEST(LoadingDialogTest, LongestLineLeavesTheListWithoutAHorizontalScrollBar) {
    DeviceConfig config;
    config.faults = {Fault{FaultKind::Silent}};
    Bench bench(config);
    LoadingDialog dialog(bench.job, {smallProgram, 1, 127}, nullptr);
    auto* list = controlOf<QListWidget>(dialog, MessageListId);
    // Larger type, so that the line overflows whatever font this machine gives.
    QFont font = list->font();
    font.setPointSize(font.pointSize() * 3 / 2);
    list->setFont(font);
    ASSERT_TRUE(bench.runToEnd(dialog));
    const QString longest =
        "Device not responding, check connections and midi channel, then try again";
    ASSERT_TRUE(messagesOf(dialog).contains(longest));
    // The scroll bars come and go after the list's layout; the vertical one is due here.
    ASSERT_TRUE(waitUntil([&] { return list->verticalScrollBar()->isVisible(); }));

    ASSERT_GT(list->fontMetrics().horizontalAdvance(longest), list->viewport()->width())
        << "the line is wider than the list";
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    EXPECT_EQ(list->viewport()->height(), list->contentsRect().height());
    EXPECT_EQ(list->horizontalScrollBar()->value(), 0) << "the line starts at the left edge";
}

TEST(LoadingDialogTest, FailedFirstStepAddsErrorWithoutMovingTheSelection) {
    LoadJob job([](const SerialSettings&) { return std::unique_ptr<ByteChannel>(); }, false);
    LoadingDialog dialog(job, {smallProgram, 1, 127}, nullptr);
    dialog.show();
    ASSERT_TRUE(waitUntil([&] { return dialog.finished(); }));
    EXPECT_EQ(messagesOf(dialog),
              (QStringList{"Initialising", "Could not open PC RS232", "Error!"}));
    EXPECT_EQ(selectedMessage(dialog), "Could not open PC RS232");
    EXPECT_EQ(closeCaption(dialog), "Ok");
    EXPECT_EQ(dialog.progressBar().position(), 0);
}

struct RetryCase {
    const char* name;
    int answerButton;
    bool loadCompletes;
};

TEST(LoadingDialogTest, RetryPromptDecidesWhetherTheLoadGoesOn) {
    const RetryCase cases[] = {
        {"Try Again goes on from the failed record", OkButtonId, true},
        {"Cancel ends the load with Error!", CancelButtonId, false},
    };
    for (const auto& c : cases) {
        DeviceConfig config;
        config.faults = {Fault::statusAt(3, 0x03, 3)};
        Bench bench(config);
        LoadingDialog dialog(bench.job, {smallProgram, 1, 127}, nullptr);
        ModalHandler answer([&](QWidget& modal) {
            auto* prompt = qobject_cast<RetryDialog*>(&modal);
            if (prompt == nullptr) {
                return false;
            }
            EXPECT_EQ(prompt->parentWidget(), &dialog) << c.name;
            controlOf<QPushButton>(*prompt, c.answerButton)->click();
            return true;
        });
        ASSERT_TRUE(bench.runToEnd(dialog)) << c.name;
        EXPECT_TRUE(answer.handled()) << c.name;

        const auto lines = messagesOf(dialog);
        EXPECT_EQ(lines.count("Device received record with bad checksum. Trying record again"), 3)
            << c.name;
        EXPECT_EQ(lines.contains("Error!"), !c.loadCompletes) << c.name;
        EXPECT_EQ(lines.last() == "Loading complete. No errors", c.loadCompletes) << c.name;
        EXPECT_EQ(bench.device.loadsCompleted(), c.loadCompletes ? 1 : 0) << c.name;
        EXPECT_NE(selectedMessage(dialog), "Error!") << c.name;
        EXPECT_EQ(closeCaption(dialog), "Ok") << c.name;
        EXPECT_FALSE(bench.job.holdsResources()) << c.name;
    }
}

struct CloseCase {
    const char* name;
    std::function<void(LoadingDialog&)> close;
};

TEST(LoadingDialogTest, ClosingMidLoadReleasesTheLoadAndTheNextOneRuns) {
    const CloseCase cases[] = {
        {"close button", [](LoadingDialog& d) { controlOf<QPushButton>(d, OkButtonId)->click(); }},
        {"Esc", [](LoadingDialog& d) { d.reject(); }},
        {"Enter on the message list",
         [](LoadingDialog& d) {
             QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
             QApplication::sendEvent(findControl(d, MessageListId), &enter);
         }},
    };
    for (const auto& c : cases) {
        Bench bench;
        {
            LoadingDialog dialog(bench.job, {longProgram, 1, 127}, nullptr);
            dialog.show();
            ASSERT_TRUE(waitUntil([&] {
                return messagesOf(dialog).contains("Flash Erased, sending new program");
            })) << c.name;
            ASSERT_FALSE(dialog.finished()) << c.name;
            ASSERT_TRUE(bench.job.holdsResources()) << c.name;
            c.close(dialog);
            EXPECT_FALSE(dialog.isVisible()) << c.name;
            EXPECT_FALSE(bench.job.holdsResources()) << c.name << ": port and file released";
        }
        LoadingDialog next(bench.job, {smallProgram, 1, 127}, nullptr);
        ASSERT_TRUE(bench.runToEnd(next)) << c.name;
        EXPECT_EQ(messagesOf(next).last(), "Loading complete. No errors") << c.name;
        EXPECT_EQ(messagesOf(next).first(), "Initialising") << c.name;
        EXPECT_EQ(bench.link.opens(), 2) << c.name;
    }
}

TEST(LoadingDialogTest, CloseAskedForInsideAStepWaitsForItsEnd) {
    DeviceConfig config;
    config.faults = {Fault::statusAt(3, 0x03, 3)};
    Bench bench(config);
    LoadingDialog dialog(bench.job, {smallProgram, 1, 127}, nullptr);
    bool heldDuringPrompt = false;
    ModalHandler answer([&](QWidget& modal) {
        auto* prompt = qobject_cast<RetryDialog*>(&modal);
        if (prompt == nullptr) {
            return false;
        }
        dialog.reject();
        heldDuringPrompt = bench.job.holdsResources();
        controlOf<QPushButton>(*prompt, OkButtonId)->click();
        return true;
    });
    dialog.show();
    ASSERT_TRUE(waitUntil([&] { return answer.handled() && !dialog.isVisible(); }));
    EXPECT_TRUE(heldDuringPrompt) << "the step still runs: its port stays open";
    EXPECT_FALSE(bench.job.holdsResources());
    EXPECT_EQ(bench.device.loadsCompleted(), 0);
}

TEST(LoadingDialogTest, NoStepRunsAfterTheDialogHasClosed) {
    Bench bench;
    LoadingDialog dialog(bench.job, {longProgram, 1, 127}, nullptr);
    dialog.show();
    ASSERT_TRUE(waitUntil([&] { return bench.job.holdsResources() && dialog.stepDue(); }));
    dialog.reject();
    EXPECT_FALSE(dialog.stepDue()) << "the step timer is stopped with the dialog";
    const auto frames = bench.device.received().size();
    QApplication::processEvents();
    EXPECT_EQ(bench.device.received().size(), frames);
    EXPECT_EQ(bench.link.opens(), 1);
}

// What a widget showed at its last paint.
class PaintWatch : public QObject {
public:
    PaintWatch(QWidget& widget, std::function<int()> shown) : m_shown(std::move(shown)) {
        widget.installEventFilter(this);
    }
    int paints = 0;
    int lastShown = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            lastShown = m_shown();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<int()> m_shown;
};

// A look at the dialog each time the job reads from the line, as it goes on to wait for the
// device and as each read returns; the windows are served under it, as in the desktop program.
struct ReadWatch {
    std::function<void()> before = [] {};
    std::function<void(int)> after = [](int) {};
};

class WaitObserver : public ByteChannel {
public:
    WaitObserver(std::unique_ptr<ByteChannel> line, const ReadWatch& watch)
        : m_line(std::move(line)), m_watch(watch) {}
    bool write(std::span<const std::uint8_t> bytes) override { return m_line->write(bytes); }
    int readByte() override {
        m_watch.before();
        const int value = m_line->readByte();
        m_watch.after(value);
        return value;
    }
    void discardPending() override { m_line->discardPending(); }
    std::int64_t nowMs() const override { return m_line->nowMs(); }

private:
    std::unique_ptr<ByteChannel> m_line;
    const ReadWatch& m_watch;
};

// A device that answers every frame after 400 ms, on virtual time.
struct SlowDeviceBench {
    explicit SlowDeviceBench(ReadWatch watch) : watch(std::move(watch)) {}

    ReadWatch watch;
    DeviceModel device{[] {
        DeviceConfig config;
        config.replyDelayMs = 400;
        return config;
    }()};
    SimLink link{device};
    LoadJob job{[this](const SerialSettings& settings) -> std::unique_ptr<ByteChannel> {
                    const auto served =
                        servingWindowsWhileWaiting(link.opener(), serveWindowsWithoutInput);
                    return std::make_unique<WaitObserver>(served(settings), watch);
                },
                false};
};

TEST(LoadingDialogTest, EveryLineAndPercentageIsOnScreenBeforeTheJobWaitsAgain) {
    LoadingDialog* shown = nullptr;
    PaintWatch* listWatch = nullptr;
    PaintWatch* barWatch = nullptr;
    int reads = 0;
    int stale = 0;
    QStringList onScreenWhileWaiting;
    SlowDeviceBench bench({.before = [&] {
        auto* list = controlOf<QListWidget>(*shown, MessageListId);
        ++reads;
        if (listWatch->lastShown != list->count() ||
            barWatch->lastShown != shown->progressBar().position()) {
            ++stale;
        }
        if (list->count() > 0 && onScreenWhileWaiting.value(onScreenWhileWaiting.size() - 1) !=
                                     list->item(list->count() - 1)->text()) {
            onScreenWhileWaiting << list->item(list->count() - 1)->text();
        }
    }});
    LoadingDialog dialog(bench.job, {smallProgram, 1, 127}, nullptr);
    shown = &dialog;
    auto* list = controlOf<QListWidget>(dialog, MessageListId);
    // A line counts as shown when it was painted inside the list's visible part.
    PaintWatch lines(*list->viewport(), [list] {
        const int last = list->count() - 1;
        const bool visible = last < 0 || list->viewport()->rect().contains(
                                             list->visualRect(list->model()->index(last, 0)));
        return visible ? list->count() : -1;
    });
    PaintWatch percentage(dialog.progressBar(), [&] { return dialog.progressBar().position(); });
    listWatch = &lines;
    barWatch = &percentage;

    dialog.show();
    ASSERT_TRUE(waitUntil([&] { return dialog.finished(); }));
    ASSERT_EQ(messagesOf(dialog).last(), "Loading complete. No errors");
    EXPECT_GT(reads, 100);
    EXPECT_EQ(stale, 0) << "reads with a line or percentage not yet painted";
    for (const char* line :
         {"Searching for device", "Erasing flash", "Flash Erased, sending new program"}) {
        EXPECT_TRUE(onScreenWhileWaiting.contains(line)) << line;
    }
}

TEST(LoadingDialogTest, PaintAskedForDuringAWaitIsServedBeforeTheWaitEnds) {
    LoadingDialog* shown = nullptr;
    PaintWatch* watch = nullptr;
    int asked = 0;
    int served = 0;
    int paintsWhenAsked = 0;
    bool pending = false;
    int endedUnserved = 0;
    SlowDeviceBench bench({.after = [&](int value) {
        if (pending && watch->paints > paintsWhenAsked) {
            pending = false;
            ++served;
        }
        if (value >= 0) {
            endedUnserved += pending ? 1 : 0;
            pending = false;
        } else if (!pending) {
            // As an uncovered window: the window system asks for the whole dialog again.
            paintsWhenAsked = watch->paints;
            shown->update();
            pending = true;
            ++asked;
        }
    }});
    LoadingDialog dialog(bench.job, {smallProgram, 1, 127}, nullptr);
    shown = &dialog;
    PaintWatch paints(dialog, [] { return 0; });
    watch = &paints;

    dialog.show();
    ASSERT_TRUE(waitUntil([&] { return dialog.finished(); }));
    EXPECT_GT(asked, 10);
    EXPECT_EQ(served, asked);
    EXPECT_EQ(endedUnserved, 0);
}

} // namespace
} // namespace quarvel
