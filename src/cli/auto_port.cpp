#include "cli/auto_port.h"

#include "cli/port_probe.h"

#include <algorithm>
#include <cstdio>

namespace quarvel {

bool wantsAutoPort(const std::vector<PortChoice>& ports, std::string& error) {
    const bool automatic =
        std::ranges::any_of(ports, [](const PortChoice& port) { return port.given == kAutoPort; });
    if (automatic && ports.size() > 1) {
        error = "--port auto finds one port and goes with no other --port";
    }
    return automatic;
}

std::optional<PortChoice> answeringPort(std::uint8_t channel, std::string_view command) {
    std::vector<std::string> answering;
    for (const ProbedPort& probed : probePorts(channel)) {
        if (probed.verdict == ProbeVerdict::Answers) {
            answering.push_back(probed.port.device);
        }
    }
    const auto say = [command](const std::string& text) {
        std::fprintf(stderr, "quarvel-cli %.*s: --port auto: %s\n",
                     static_cast<int>(command.size()), command.data(), text.c_str());
    };
    if (answering.empty()) {
        say("no device answers on any port");
        return std::nullopt;
    }
    if (answering.size() > 1) {
        std::string list;
        for (const std::string& device : answering) {
            list += (list.empty() ? "" : ", ") + device;
        }
        say("devices answer on more than one port, name one with --port: " + list);
        return std::nullopt;
    }
    say("using " + answering.front() + ", the one port where a device answers");
    PortChoice port;
    port.given = answering.front();
    port.devicePath = answering.front();
    return port;
}

} // namespace quarvel
