#include "app/app_paths.h"
#include "app/boot_mode.h"
#include "app/stored_values.h"
#include "files/path_text.h"
#include "files/platform_folders.h"
#include "job/load_job.h"
#include "link/win32_serial_channel.h"
#include "logo/logo_staging.h"
#include "settings/port_device.h"
#include "settings/settings_location.h"
#include "ui/win32_loader_dialog.h"
#include "ui/win32_message_queue.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windows.h>

namespace {

using namespace quarvel;

// The help page beside the program, opened in the operator's default browser.
bool openHelpPage(const std::filesystem::path& page) {
    const auto opened =
        ::ShellExecuteW(nullptr, L"open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    // Values above 32 mean success.
    return reinterpret_cast<INT_PTR>(opened) > 32;
}

} // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    const auto executable = runningExecutable();
    const std::string commandLine = textFromPath(std::filesystem::path(::GetCommandLineW()));
    const bool bootMode = commandLineAsksForBoot(argumentsAfterProgramName(commandLine));

    ProfileFile settings(settingsFilePath(executable));
    adoptLastValues(ProfileFile(earlierSettingsFilePath(executable)), settings);

    LoadJob job(win32SerialOpener(
                    [&settings](int portNumber) { return portDeviceName(settings, portNumber); },
                    {}, serveQueueWithoutInput),
                bootMode);
    const auto helpPage = helpFilePath(executable, executable.parent_path());
    Win32LoaderDialog dialog(
        job, {
                 [&settings] { return readLastValues(settings); },
                 [&settings](const LastValues& values) { writeLastValues(settings, values); },
                 [&executable] { return stagedLogoPath(executable); },
                 [&helpPage] { return openHelpPage(helpPage); },
             });
    dialog.run();
    return 0;
}
