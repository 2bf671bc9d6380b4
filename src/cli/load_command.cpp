#include "app/port_device.h"
#include "app/profile_file.h"
#include "app/settings_location.h"
#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/load_options.h"
#include "cli/logo_staging.h"
#include "cli/terminal_reporter.h"
#include "cli/usage.h"
#include "job/load_job.h"
#include "link/qt_serial_channel.h"

#include <QCoreApplication>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace quarvel {
namespace {

constexpr const char* kLoadHelp =
    "\nLoads a program file (S-records) into a KTV-271 device; a .gif file is converted into\n"
    "the logo file Temp.s21 first. Message lines go to standard output, \"Error!\" last when\n"
    "the load failed.\n\n"
    "  -p, --port PORT  a COM number 1 to 9 (named by section [Ports] of the desktop program's\n"
    "                   settings file, else /dev/ttyS<n-1>), or a device path\n"
    "  -c, --channel CH the device's MIDI channel 1 to 16, or all (default)\n"
    "  -b, --boot       allow writing the boot sector (addresses below 4000h)\n"
    "  --retry WHEN     after a record failed three times: ask (default at a terminal),\n"
    "                   always (Try Again) or never (Cancel, the default otherwise)\n"
    "  --progress HOW   bar (default at a terminal), lines (\"NN%\" on standard error for each\n"
    "                   new percentage) or none\n\n"
    "Options take their value as --port 3 or --port=3; -- ends the options.\n"
    "Exit status: 0 the load completed, 1 it failed or was interrupted, 2 bad usage.\n";

ChannelOpener lineOpener(const LoadOptions& options) {
    if (options.devicePath.empty()) {
        // Port numbers name devices as in the desktop program, through its settings file.
        return qtSerialOpener([](int portNumber) {
            return portDeviceName(ProfileFile(settingsFilePath()), portNumber);
        });
    }
    return qtSerialOpener([path = options.devicePath](int) { return path; });
}

// Runs the job as the loading dialog does, without the dialog's pause between steps.
int runJob(LoadJob& job, const std::string& file, const LoadOptions& options,
           TerminalReporter& reporter) {
    job.reset();
    int result = StepAgain;
    while (result == StepAgain && !interrupted()) {
        result = job.step(file, options.portNumber, options.channel, reporter);
    }
    job.cleanUp();
    return result;
}

} // namespace

int runLoad(std::span<char* const> args) {
    LoadOptions options;
    std::string error;
    const TerminalFacts terminal{isatty(STDIN_FILENO) == 1, isatty(STDERR_FILENO) == 1};
    if (!parseLoadOptions(args, terminal, options, error)) {
        return badUsage(kLoadUsage, error);
    }
    if (options.helpWanted) {
        return printHelp(kLoadUsage, kLoadHelp);
    }

    std::string file = options.file;
    if (isLogoPicture(file)) {
        const auto converted = stageLogo(file);
        if (!converted) {
            return ExitFailure;
        }
        file = *converted;
    }

    // QSerialPort wants the application object of its thread, even with no event loop running.
    int appArgc = 1;
    char appName[] = "quarvel-cli";
    char* appArgv[] = {appName, nullptr};
    const QCoreApplication application(appArgc, appArgv);

    const InterruptGuard guard;
    LoadJob job(interruptibleOpener(lineOpener(options)), options.bootMode);
    TerminalReporter reporter({}, options.progress, options.retry, interrupted);
    const int result = runJob(job, file, options, reporter);
    const bool completed = result == StepDone;
    reporter.finish(!completed);
    if (!completed && interrupted()) {
        std::fputs("quarvel-cli load: interrupted; the port and the file are released\n", stderr);
    }
    return completed ? ExitSuccess : ExitFailure;
}

} // namespace quarvel
