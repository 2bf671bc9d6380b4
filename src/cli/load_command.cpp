#include "app/port_device.h"
#include "app/profile_file.h"
#include "app/settings_location.h"
#include "cli/commands.h"
#include "cli/failure_explanation.h"
#include "cli/interrupt.h"
#include "cli/load_options.h"
#include "cli/logo_staging.h"
#include "cli/serial_line.h"
#include "cli/terminal_reporter.h"
#include "cli/usage.h"
#include "job/load_job.h"
#include "logo/logo_staging.h"

#include <cstdio>
#include <string>
#include <unistd.h>
#include <utility>

namespace quarvel {
namespace {

constexpr const char* kLoadHelp =
    "\nLoads a program file (S-records) into a KTV-271 device; a .gif file is converted into\n"
    "the logo file Temp.s21 first. Message lines go to standard output, \"Error!\" last when\n"
    "the load failed; standard error then says why, where that is known.\n\n"
    "  -p, --port PORT  a COM number, as 3 or COM3: 1 to 9 (named by section [Ports] of the\n"
    "                   desktop program's settings file, else /dev/ttyS<n-1>; on Windows COM1\n"
    "                   to COM255), or a device path\n"
    "  -c, --channel CH the device's MIDI channel 1 to 16, or all (default)\n"
    "  -b, --boot       allow writing the boot sector (addresses below 4000h)\n"
    "  --retry WHEN     after a record failed three times: ask (default at a terminal),\n"
    "                   always (Try Again) or never (Cancel, the default otherwise)\n"
    "  --progress HOW   bar (default at a terminal), lines (\"NN%\" on standard error for each\n"
    "                   new percentage) or none\n\n"
    "Options take their value as --port 3 or --port=3; -- ends the options.\n"
    "Exit status: 0 the load completed, 1 it failed or was interrupted, 2 bad usage.\n";

ChannelOpener lineOpener(const LoadOptions& options, OpenFailureSink onFailure) {
    if (options.devicePath.empty()) {
        // Port numbers name devices as in the desktop program, through its settings file.
        return serialLineOpener(
            [](int portNumber) {
                return portDeviceName(ProfileFile(settingsFilePath()), portNumber);
            },
            std::move(onFailure));
    }
    return serialLineOpener([path = options.devicePath](int) { return path; },
                            std::move(onFailure));
}

// Says on the error stream, once, why the load failed where the program can know it.
void explain(LoadFailure reason, const FailureFacts& facts) {
    const std::string text = explainFailure(reason, facts);
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        std::fprintf(stderr, "quarvel-cli load: %s\n", text.substr(start, end - start).c_str());
        start = end + 1;
    }
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

    const InterruptGuard guard;
    FailureFacts facts{options.devicePath.empty() ? "port " + std::to_string(options.portNumber)
                                                  : options.devicePath,
                       file, options.bootMode, options.channel, std::nullopt};
    LoadJob job(interruptibleOpener(lineOpener(
                    options, [&facts](const OpenFailure& why) { facts.openFailure = why; })),
                options.bootMode);
    TerminalReporter reporter({}, options.progress, options.retry, interrupted);
    const int result = runJob(job, file, options, reporter);
    const bool completed = result == StepDone;
    reporter.finish(!completed);
    if (!completed && interrupted()) {
        std::fputs("quarvel-cli load: interrupted; the port and the file are released\n", stderr);
    } else if (const auto reason = reporter.failure(); !completed && reason) {
        explain(*reason, facts);
    }
    return completed ? ExitSuccess : ExitFailure;
}

} // namespace quarvel
