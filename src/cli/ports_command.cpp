#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/json_writer.h"
#include "cli/load_options.h"
#include "cli/option_parser.h"
#include "cli/port_mappings.h"
#include "cli/port_probe.h"
#include "cli/serial_line.h"
#include "cli/serial_port_list.h"
#include "cli/stable_port_names.h"
#include "cli/usage.h"

#include <cstdio>
#include <string>

namespace quarvel {
namespace {

constexpr OptionSpec kOptions[] = {{"--json"}, {"--probe"}, {"--channel", 'c', true}};
// The options, alike on every system.
#define QUARVEL_PORTS_OPTIONS_HELP                                                                 \
    "  --json            one JSON object a line instead\n"                                         \
    "  --probe           open each port that no other program holds, send it the search\n"         \
    "                    frame once and wait for the reply; the port then ends with \"device\n"    \
    "                    answers\", \"no answer\", \"busy\" (held by another program, never\n"     \
    "                    touched) or \"cannot open\". Nothing but the search frame is written\n"   \
    "  -c, --channel CH  the channel of the search frame, 1 to 16 or all (default)\n"
#ifdef _WIN32
constexpr std::string_view kPortsHelp =
    "\nLists every COM port the system reports, one a line: its name, then what is known of it\n"
    "(description, manufacturer, USB vendor:product id, serial number) and \"busy\" where\n"
    "another program holds it.\n\n" QUARVEL_PORTS_OPTIONS_HELP;
#else
constexpr std::string_view kPortsHelp =
    "\nLists every serial port the system reports, one a line: its device and its names in\n"
    "/dev/serial/by-id and by-path (which stay the same however it is plugged in), then what\n"
    "is known of it (description, manufacturer, USB vendor:product id, serial number) and\n"
    "\"busy\" where another program holds it. Then the COM numbers that section [Ports] of the\n"
    "settings file maps, each with its device and \"missing\" where that device does not exist;\n"
    "--probe probes those devices too.\n\n" QUARVEL_PORTS_OPTIONS_HELP;
#endif
#undef QUARVEL_PORTS_OPTIONS_HELP

void printPlain(const PortDescription& port, std::optional<ProbeVerdict> verdict) {
    std::string line = port.device;
    const StableNames stable = stablePortNames(port.device);
    for (const auto& name : {stable.byId, stable.byPath}) {
        line += name ? " " + *name : "";
    }
    std::string separator = ": ";
    const auto append = [&](const std::string& text) {
        line += separator + text;
        separator = "; ";
    };
    if (port.description) {
        append(*port.description);
    }
    if (port.manufacturer) {
        append("manufacturer " + *port.manufacturer);
    }
    if (port.vendorId || port.productId) {
        append("USB id " + port.vendorId.value_or("????") + ":" + port.productId.value_or("????"));
    }
    if (port.serialNumber) {
        append("serial number " + *port.serialNumber);
    }
    if (verdict) {
        append(std::string(verdictText(*verdict)));
    } else if (port.busy) {
        append("busy");
    }
    std::puts(line.c_str());
}

void printJson(const PortDescription& port, std::optional<ProbeVerdict> verdict) {
    JsonObject object;
    const StableNames stable = stablePortNames(port.device);
    object.add("port", port.device)
        .addOrNull("by_id", stable.byId)
        .addOrNull("by_path", stable.byPath)
        .addOrNull("description", port.description)
        .addOrNull("manufacturer", port.manufacturer)
        .addOrNull("vendor_id", port.vendorId)
        .addOrNull("product_id", port.productId)
        .addOrNull("serial_number", port.serialNumber)
        .add("busy", port.busy);
    if (verdict) {
        object.add("probe", verdictText(*verdict));
    }
    std::puts(object.text().c_str());
}

void printMapping(const PortMapping& mapping, bool json) {
    if (json) {
        JsonObject object;
        object.add("com", std::int64_t{mapping.number})
            .add("device", mapping.device)
            .add("missing", mapping.missing);
        std::puts(object.text().c_str());
    } else {
        std::printf("COM%d: %s%s\n", mapping.number, mapping.device.c_str(),
                    mapping.missing ? " missing" : "");
    }
}

} // namespace

int runPorts(std::span<char* const> args) {
    ParsedArguments parsed;
    std::string error;
    if (!parseArguments(args, {kOptions, {}}, parsed, error)) {
        return badUsage(kPortsUsage, error);
    }
    if (parsed.helpWanted) {
        return printHelp(kPortsUsage, kPortsHelp);
    }
    const bool json = parsed.given("--json");
    std::uint8_t channel = kAllChannels;
    for (const GivenOption& option : parsed.options) {
        if (option.name == "--channel") {
            const auto byte = channelByte(option.value, error);
            if (!byte) {
                return badUsage(kPortsUsage, error);
            }
            channel = *byte;
        }
    }
    if (parsed.given("--channel") && !parsed.given("--probe")) {
        return badUsage(kPortsUsage, "--channel goes with --probe");
    }
    const auto print = [json](const PortDescription& port, std::optional<ProbeVerdict> verdict) {
        json ? printJson(port, verdict) : printPlain(port, verdict);
    };
    if (parsed.given("--probe")) {
        const auto lineSupport = serialLineSupport();
        const InterruptGuard guard;
        for (const ProbedPort& probed : probePorts(channel)) {
            print(probed.port, probed.verdict);
        }
    } else {
        for (const PortDescription& port : listSerialPorts()) {
            print(port, std::nullopt);
        }
    }
    for (const PortMapping& mapping : mappedPorts()) {
        printMapping(mapping, json);
    }
    return ExitSuccess;
}

} // namespace quarvel
