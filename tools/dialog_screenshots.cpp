// Renders every dialog of the desktop program to PNG files, on the offscreen platform, for the
// documentation: dialog_screenshots <program file> <output folder>.

#include "job/load_job.h"
#include "sim/device_model.h"
#include "sim/sim_link.h"
#include "ui/alive_while_waiting.h"
#include "ui/loader_dialog.h"
#include "ui/loading_dialog.h"
#include "ui/progress_bar.h"
#include "ui/retry_dialog.h"

#include <QApplication>
#include <QEventLoop>
#include <QFont>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <string>

namespace quarvel {
namespace {

// The dialog as the templates frame it: a caption bar with its title and a close box, and no
// minimise or maximise button, over the client.
QImage framed(QWidget& window) {
    const QImage client = window.grab().toImage();
    QFont captionFont = window.font();
    captionFont.setBold(true);
    const int captionHeight = QFontMetrics(captionFont).height() + 8;
    QImage image(client.width() + 4, client.height() + captionHeight + 4, QImage::Format_RGB32);
    image.fill(QColor(192, 192, 192));
    QPainter painter(&image);
    painter.fillRect(2, 2, client.width(), captionHeight - 2, QColor(0, 0, 128));
    painter.setPen(Qt::white);
    painter.setFont(captionFont);
    painter.drawText(QRect(8, 2, client.width() - 12, captionHeight - 2),
                     Qt::AlignVCenter | Qt::AlignLeft, window.windowTitle());
    const int box = captionHeight - 8;
    const QRect closeBox(client.width() - box - 2, 5, box, box);
    painter.fillRect(closeBox, QColor(192, 192, 192));
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(closeBox.adjusted(3, 3, -3, -3).topLeft(),
                     closeBox.adjusted(3, 3, -3, -3).bottomRight());
    painter.drawLine(closeBox.adjusted(3, 3, -3, -3).topRight(),
                     closeBox.adjusted(3, 3, -3, -3).bottomLeft());
    painter.drawImage(2, captionHeight + 2, client);
    painter.setPen(Qt::black);
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    return image;
}

bool save(const QImage& image, const QString& folder, const char* name) {
    const QString path = folder + QLatin1Char('/') + QLatin1String(name);
    if (!image.save(path)) {
        std::fprintf(stderr, "dialog_screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// Runs the event loop until the condition holds.
void runUntil(const std::function<bool()>& condition) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (condition()) {
            loop.quit();
        }
    });
    poll.start(1);
    loop.exec();
}

QString lastLine(const LoadingDialog& loading) {
    const auto* list = loading.findChild<QListWidget*>();
    return list != nullptr && list->count() > 0 ? list->item(list->count() - 1)->text() : QString();
}

bool renderAll(const std::string& programFile, const QString& folder) {
    // A unit that answers every frame after 400 ms, so that the erase is a wait worth showing.
    DeviceConfig slow;
    slow.replyDelayMs = 400;
    DeviceModel device(slow);
    SimLink link(device);
    LoadingDialog* loadingShown = nullptr;
    bool erasingWritten = false;
    bool erasingShown = false;
    // Taken while the job waits for the erase, as the operator sees it then.
    const auto whileWaiting = [&] {
        if (!erasingShown && loadingShown != nullptr &&
            lastLine(*loadingShown) == "Erasing flash") {
            erasingShown = true;
            erasingWritten = save(framed(*loadingShown), folder, "loading_dialog_erasing.png");
        }
        serveWindowsWithoutInput();
    };
    LoadJob job(servingWindowsWhileWaiting(link.opener(), whileWaiting), false);

    LoaderServices services{
        [&] {
            return LastValues{0, 0, programFile};
        },
        [](const LastValues&) {},
        // The screenshots load a program file, never a picture.
        [] { return std::filesystem::path(); },
        [] { return true; },
    };
    LoaderDialog loader(job, services);
    loader.show();
    bool written = save(framed(loader), folder, "loader_dialog.png");

    LoadingDialog loading(job, {programFile, 1, kAllChannels}, &loader);
    loadingShown = &loading;
    loading.show();
    runUntil([&] { return loading.progressBar().position() >= 40 || loading.finished(); });
    written = save(framed(loading), folder, "loading_dialog_running.png") && written;
    runUntil([&] { return loading.finished(); });
    written = save(framed(loading), folder, "loading_dialog_finished.png") && written;
    loading.accept();
    loadingShown = nullptr;
    if (!erasingShown) {
        std::fprintf(stderr, "dialog_screenshots: the load never waited for the erase\n");
    }
    written = written && erasingWritten;

    // A unit that never answers: the longest line, cut at the list's edge.
    DeviceConfig silentConfig;
    silentConfig.faults = {Fault{FaultKind::Silent}};
    DeviceModel silent(silentConfig);
    SimLink silentLink(silent);
    LoadJob silentJob(silentLink.opener(), false);
    LoadingDialog noDevice(silentJob, {programFile, 1, kAllChannels}, &loader);
    noDevice.show();
    runUntil([&] { return noDevice.finished(); });
    written = save(framed(noDevice), folder, "loading_dialog_no_device.png") && written;
    noDevice.accept();

    // With its focus shown, as after the operator's last key press: on "Cancel".
    RetryDialog retry(&loading);
    retry.setAttribute(Qt::WA_KeyboardFocusChange);
    retry.show();
    retry.activateWindow();
    runUntil([&] { return retry.isActiveWindow(); });
    written = save(framed(retry), folder, "retry_dialog.png") && written;

    for (const int position : {0, 57, 100}) {
        ProgressBar bar;
        bar.resize(loading.progressBar().size());
        bar.setPosition(position);
        const auto name = "progress_bar_" + std::to_string(position) + ".png";
        written = save(bar.grab().toImage(), folder, name.c_str()) && written;
    }
    return written;
}

} // namespace
} // namespace quarvel

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: dialog_screenshots <program file> <output folder>\n");
        return 2;
    }
    return quarvel::renderAll(argv[1], QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
