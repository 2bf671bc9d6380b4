#include "cli/auto_port.h"
#include "cli/commands.h"
#include "cli/failure_explanation.h"
#include "cli/gang_load.h"
#include "cli/interrupt.h"
#include "cli/load_options.h"
#include "cli/load_output.h"
#include "cli/logo_staging.h"
#include "cli/port_identity.h"
#include "cli/port_load.h"
#include "cli/serial_line.h"
#include "cli/usage.h"
#include "logo/logo_staging.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace quarvel {
namespace {

constexpr const char* kLoadHelp =
    "\nLoads a program file (S-records) into a KTV-271 device; a .gif file is converted into\n"
    "the logo file Temp.s21 first. Message lines go to standard output, \"Error!\" last when\n"
    "the load failed; standard error then says why, where that is known.\n\n"
    "  -p, --port PORT  a COM number, as 3 or COM3: 1 to 9 (named by section [Ports] of the\n"
    "                   desktop program's settings file, else /dev/ttyS<n-1>; on Windows COM1\n"
    "                   to COM255), a device path, or a name of section [Ports] (bench-left);\n"
    "                   auto: the one port where a device answers the search frame (each port\n"
    "                   that no other program holds is sent it once; none or several answering\n"
    "                   fail); given more than once, a gang load (below)\n"
    "  -c, --channel CH the device's MIDI channel 1 to 16, or all (default)\n"
    "  -b, --boot       allow writing the boot sector (addresses below 4000h)\n"
    "  --retry WHEN     after a record failed three times: ask (default at a terminal),\n"
    "                   always (Try Again) or never (Cancel, the default otherwise)\n"
    "  --progress HOW   bar (default at a terminal), lines (\"NN%\" on standard error for each\n"
    "                   new percentage) or none\n"
    "  --json           one JSON object per event on standard output instead of the lines:\n"
    "                   {\"event\":\"message\",\"text\":\"...\"}\n"
    "                   {\"event\":\"progress\",\"percent\":N}\n"
    "                   {\"event\":\"retry\",\"answer\":\"try-again\"|\"cancel\"}\n"
    "                   {\"event\":\"result\",\"status\":S,\"reason\":R} last, S completed,\n"
    "                   failed or interrupted, R null or port, file, boot-sector, device\n"
    "                   (no answer), wrong-answer, erase, transfer or interrupted;\n"
    "                   --progress has no effect then\n"
    "  --trace          every byte on the line, on standard error: one line per frame written\n"
    "                   (>) and per reply read (<, up to F7 or a pause), after the milliseconds\n"
    "                   since the port opened: \"trace    1234 ms > F0 00 3C 51 ...\"\n\n"
    "Gang load: with several --port options the file goes into the devices on all of them at\n"
    "once, each load on its own and unhindered by the others. Every message line starts with\n"
    "its port as given and \": \"; the bar shows every port's percentage on one line, lines\n"
    "print \"PORT: NN%\". --retry is always or never (never by default). A .gif file is\n"
    "converted once, into a logo file of the run's own that goes when the run ends. Last comes\n"
    "one line per port, \"PORT: completed\" or \"PORT: failed (REASON)\", REASON being port,\n"
    "file, boot-sector, device, wrong-answer, erase, transfer or interrupted; with --json the\n"
    "result events are the summary, and every event carries \"port\". --trace names the port\n"
    "of each line. Ctrl-C ends every load, as SIGTERM and SIGHUP do.\n\n"
    "Options take their value as --port 3, --port=3, -p 3 or -p3; short options bundle, as\n"
    "-bp 3; -- ends the options.\n"
    "Exit status: 0 the load completed (every load of a gang), 1 it failed or was interrupted,\n"
    "2 bad usage.\n";

// Says on the error stream, once, why the load failed where the program can know it.
void explain(LoadFailure reason, const FailureFacts& facts) {
    for (const std::string& line : explainFailure(reason, facts)) {
        std::fprintf(stderr, "quarvel-cli load: %s\n", line.c_str());
    }
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
    const bool automatic = wantsAutoPort(options.ports, error);
    if (!error.empty()) {
        return badUsage(kLoadUsage, error);
    }
    // Two loads on one line would only fight over it, whatever each is called.
    if (const auto clash = portsOnOneDevice(options.ports)) {
        return badUsage(kLoadUsage,
                        "ports '" + clash->first + "' and '" + clash->second + "' name one device");
    }

    std::string file = options.file;
    // A gang converts a picture into a logo file of its own.
    if (options.ports.size() == 1 && isLogoPicture(file)) {
        const auto converted = stageLogo(file);
        if (!converted) {
            return ExitFailure;
        }
        file = *converted;
    }

    const auto lineSupport = serialLineSupport();
    if (automatic) {
        const InterruptGuard guard;
        const auto found = answeringPort(options.channel, "load");
        if (!found) {
            return ExitFailure;
        }
        options.ports = {*found};
    }
    if (options.ports.size() > 1) {
        return runGangLoad(options);
    }

    const InterruptGuard guard;
    const auto reporter = makeLoadOutput(options, interrupted);
    const PortLoadResult result = runPortLoad(options, options.ports.front(), file, *reporter);
    if (!result.completed && interrupted()) {
        std::fputs("quarvel-cli load: interrupted; the port and the file are released\n", stderr);
    } else if (!result.completed && result.failure) {
        explain(*result.failure, result.facts);
    }
    return result.completed ? ExitSuccess : ExitFailure;
}

} // namespace quarvel
