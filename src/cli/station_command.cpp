#include "cli/auto_port.h"
#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/port_identity.h"
#include "cli/serial_line.h"
#include "cli/station.h"
#include "cli/station_options.h"
#include "cli/unit_log.h"
#include "cli/usage.h"
#include "logo/logo_staging.h"

#include <cstdio>
#include <string>

namespace quarvel {
namespace {

constexpr const char* kStationHelp =
    "\nA production bench: loads the program file into unit after unit at every port at once,\n"
    "each port on its own. At each port, again and again: waits for a unit (the search frame\n"
    "every half second until the device answers twice in a row), loads it as `load --retry\n"
    "never` does with its lines under the port's name, says \"PORT: unit N completed in S s\" or\n"
    "\"PORT: unit N failed (REASON) in S s\", appends its record to the log, then waits for it\n"
    "to go (three searches in a row without an answer) and says \"PORT: unit N removed\". A\n"
    "port that disappears (an adapter pulled out) is waited for and used again when it is\n"
    "back; a unit that fails never stops the others.\n\n"
    "  -p, --port PORT   as for load: a COM number, a device path, a name of section [Ports]\n"
    "                    of the settings file, or auto; given more than once, one bench each\n"
    "  -c, --channel CH  the device's MIDI channel 1 to 16, or all (default)\n"
    "  -b, --boot        allow writing the boot sector (addresses below 4000h)\n"
    "  --log FILE        append one JSON object a line for each unit, flushed to the disk\n"
    "                    before the next unit: time (UTC), port, port_id (its by-id or by-path\n"
    "                    name where it has one), unit, channel, device (the type number the\n"
    "                    device answered with, or null), file, sha256, status, reason, retries,\n"
    "                    seconds {search, erase, transfer} and quarvel (the version). A log\n"
    "                    that cannot be written stops the station before the next unit\n"
    "  --units N         end once N units were loaded at every port\n"
    "  --json            the events of a gang load, and for each unit\n"
    "                    {\"event\":\"unit\",\"port\":P,\"unit\":N,\"status\":S,\n"
    "                    \"reason\":R,\"seconds\":T}, {\"event\":\"removed\",\"port\":P,\n"
    "                    \"unit\":N} and last {\"event\":\"summary\",\"port\":P,\"passed\":N,\n"
    "                    \"failed\":M}\n\n"
    "Ctrl-C, or --units reached at every port, ends the station with one line per port,\n"
    "\"PORT: P passed, F failed\". Exit status: 0 every unit passed, 1 a unit failed or the log\n"
    "could not be written, 2 bad usage.\n";

} // namespace

int runStation(std::span<char* const> args) {
    StationOptions options;
    std::string error;
    if (!parseStationOptions(args, options, error)) {
        return badUsage(kStationUsage, error);
    }
    if (options.helpWanted) {
        return printHelp(kStationUsage, kStationHelp);
    }
    const bool automatic = wantsAutoPort(options.load.ports, error);
    if (!error.empty()) {
        return badUsage(kStationUsage, error);
    }
    // Two benches on one line would only fight over it, whatever each is called.
    if (const auto clash = portsOnOneDevice(options.load.ports)) {
        return badUsage(kStationUsage,
                        "ports '" + clash->first + "' and '" + clash->second + "' name one device");
    }
    if (isLogoPicture(options.load.file)) {
        return badUsage(kStationUsage, "a station loads program files; convert the picture with "
                                       "convert-logo first");
    }
    // Found out before the first unit, not after it.
    if (!options.logPath.empty() && !UnitLog(options.logPath).reachable(error)) {
        std::fprintf(stderr, "quarvel-cli station: %s\n", error.c_str());
        return ExitFailure;
    }
    const auto lineSupport = serialLineSupport();
    if (automatic) {
        const InterruptGuard guard;
        const auto found = answeringPort(options.load.channel, "station");
        if (!found) {
            return ExitFailure;
        }
        options.load.ports = {*found};
    }
    return serveStation(options);
}

} // namespace quarvel
