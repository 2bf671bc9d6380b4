#include "job/load_job.h"
#include "link/qt_serial_channel.h"
#include "ui/loading_dialog.h"

#include <QApplication>
#include <QMetaObject>
#include <chrono>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

// Runs one load through the loading dialog's timer loop, on Qt's offscreen platform, and times its
// record transfer: from "Flash Erased, sending new program" to "Loading complete. No errors".
// Usage: bench_dialog_load FILE DEVICE; prints "records seconds".

namespace quarvel {
namespace {

using Clock = std::chrono::steady_clock;

class TimedLoadingDialog final : public LoadingDialog {
public:
    using LoadingDialog::LoadingDialog;

    void addMessage(std::string_view text) override {
        LoadingDialog::addMessage(text);
        if (text == "Flash Erased, sending new program") {
            m_transferStart = Clock::now();
        } else if (text == "Loading complete. No errors") {
            m_transferEnd = Clock::now();
            m_completed = true;
        }
        // Looked at once the step has returned and the dialog has acted on its result.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (finished()) {
                    accept();
                }
            },
            Qt::QueuedConnection);
    }

    void setPercentage(int percent) override {
        LoadingDialog::setPercentage(percent);
        ++m_records;
    }

    bool completed() const { return m_completed; }
    int records() const { return m_records; }
    double transferSeconds() const {
        return std::chrono::duration<double>(m_transferEnd - m_transferStart).count();
    }

private:
    Clock::time_point m_transferStart{};
    Clock::time_point m_transferEnd{};
    bool m_completed = false;
    // The job reports the percentage once for every record the device has taken.
    int m_records = 0;
};

} // namespace
} // namespace quarvel

int main(int argc, char** argv) {
    using namespace quarvel;
    const std::span<char*> args(argv, static_cast<std::size_t>(argc));
    if (args.size() != 3) {
        std::fputs("usage: bench_dialog_load FILE DEVICE\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    LoadJob job(qtSerialOpener([device = std::string(args[2])](int) { return device; }), false);
    TimedLoadingDialog dialog(job, LoadRequest{args[1], 1, 0x7F}, nullptr);
    dialog.exec();
    if (!dialog.completed()) {
        std::fprintf(stderr, "bench_dialog_load: the load of %s failed\n", args[1]);
        return 1;
    }
    std::printf("%d %.6f\n", dialog.records(), dialog.transferSeconds());
    return 0;
}
