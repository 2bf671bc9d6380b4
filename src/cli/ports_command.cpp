#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/load_options.h"
#include "cli/option_parser.h"
#include "cli/serial_port_list.h"
#include "cli/usage.h"
#include "files/path_text.h"
#include "settings/port_device.h"
#include "settings/profile_file.h"
#include "settings/settings_location.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace quarvel {
namespace {

constexpr OptionSpec kOptions[] = {{"--json"}};
#ifdef _WIN32
constexpr std::string_view kPortsHelp =
    "\nLists every COM port the system reports, one a line: its name, then what is known of it\n"
    "(description, manufacturer, USB vendor:product id, serial number) and \"busy\" where\n"
    "another program holds it.\n\n"
    "  --json  one JSON object a line instead\n";
#else
constexpr std::string_view kPortsHelp =
    "\nLists every serial port the system reports, one a line: its device, then what is known\n"
    "of it (description, manufacturer, USB vendor:product id, serial number) and \"busy\" where\n"
    "another program holds it. Then the COM numbers that section [Ports] of the settings file\n"
    "maps, each with its device and \"missing\" where that device does not exist.\n\n"
    "  --json  one JSON object a line instead\n";
#endif

// A COM number that section [Ports] of the settings file maps to a device.
struct PortMapping {
    int number = 0;
    std::string device;
    bool missing = false;
};

std::vector<PortMapping> mappedPorts() {
    const ProfileFile settings(settingsFilePath());
    std::vector<PortMapping> mappings;
    for (int number = 1; number <= kHighestPortNumber; ++number) {
        const std::string device = settings.readString("Ports", "COM" + std::to_string(number), "");
        if (!device.empty()) {
            std::error_code error;
            mappings.push_back(
                {number, device, !std::filesystem::exists(pathFromText(device), error)});
        }
    }
    return mappings;
}

void printPlain(const PortDescription& port) {
    std::string line = port.device;
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
    if (port.busy) {
        append("busy");
    }
    std::puts(line.c_str());
}

void printJson(const PortDescription& port) {
    JsonObject object;
    object.add("port", port.device)
        .addOrNull("description", port.description)
        .addOrNull("manufacturer", port.manufacturer)
        .addOrNull("vendor_id", port.vendorId)
        .addOrNull("product_id", port.productId)
        .addOrNull("serial_number", port.serialNumber)
        .add("busy", port.busy);
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
    for (const PortDescription& port : listSerialPorts()) {
        json ? printJson(port) : printPlain(port);
    }
    if (kSettingsMapPorts) {
        for (const PortMapping& mapping : mappedPorts()) {
            printMapping(mapping, json);
        }
    }
    return ExitSuccess;
}

} // namespace quarvel
