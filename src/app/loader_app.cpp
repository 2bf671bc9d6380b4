#include "app/loader_app.h"

#include "app/app_paths.h"
#include "app/boot_mode.h"
#include "app/desktop_serial_line.h"
#include "app/stored_values.h"
#include "files/path_text.h"
#include "job/load_job.h"
#include "logo/logo_staging.h"
#include "settings/port_device.h"
#include "settings/settings_location.h"
#include "ui/loader_dialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QIcon>
#include <QPixmap>
#include <QUrl>

namespace quarvel {

namespace {

#include "app/quarvel_icon.xpm"

} // namespace

LoaderApp::LoaderApp(std::filesystem::path executablePath, std::string_view arguments,
                     const std::filesystem::path& startedAs)
    : m_executablePath(std::move(executablePath)), m_bootMode(commandLineAsksForBoot(arguments)),
      m_settings(settingsFilePath(startedAs.empty() ? m_executablePath : startedAs)) {}

ChannelOpener LoaderApp::serialOpener() const {
    // The settings are read at each opening, so a "Ports" entry edited meanwhile takes effect.
    return desktopSerialOpener(
        [settings = m_settings](int portNumber) { return portDeviceName(settings, portNumber); });
}

std::unique_ptr<LoaderDialog> LoaderApp::makeMainDialog(LoadJob& job) {
    const auto programFolder = m_executablePath.parent_path();
    // Relative to the program, so that an installed tree can be moved as a whole.
    const auto helpFile =
        helpFilePath(m_executablePath, programFolder.parent_path() / "share" / "quarvel");
    LoaderServices services{
        [this] { return readLastValues(m_settings); },
        [this](const LastValues& values) { writeLastValues(m_settings, values); },
        [this] { return stagedLogoPath(m_executablePath); },
        [helpFile] {
            return QDesktopServices::openUrl(
                QUrl::fromLocalFile(QString::fromStdString(textFromPath(helpFile))));
        },
    };
    return std::make_unique<LoaderDialog>(job, std::move(services));
}

int LoaderApp::run() {
    QApplication::setWindowIcon(QIcon(QPixmap(quarvel_icon)));
    LoadJob job(serialOpener(), m_bootMode);
    const auto mainDialog = makeMainDialog(job);
    mainDialog->exec();
    return 0;
}

} // namespace quarvel
