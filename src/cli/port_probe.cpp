#include "cli/port_probe.h"

#include "cli/device_search.h"
#include "cli/gang_threads.h"
#include "cli/interrupt.h"
#include "cli/port_identity.h"
#include "cli/port_mappings.h"
#include "cli/serial_line.h"

#include <algorithm>
#include <functional>

namespace quarvel {
namespace {

// As long as a load waits for the answer to its search frame.
constexpr std::int64_t kProbeWaitMs = 2000;
constexpr int kQueueSize = 100;

ProbeVerdict probe(const std::string& device, std::uint8_t channel) {
    bool busy = false;
    SerialPort port(interruptibleOpener(serialLineOpener(
        [device](int) { return device; },
        [&busy](const OpenFailure& why) { busy = why.problem == OpenProblem::InUse; })));
    if (port.open(SerialSettings{}, kQueueSize, kQueueSize) != 0) {
        return busy ? ProbeVerdict::Busy : ProbeVerdict::CannotOpen;
    }
    const SearchAnswer answer = searchOnce(port, channel, kProbeWaitMs);
    port.close();
    return answer == SearchAnswer::Answered ? ProbeVerdict::Answers : ProbeVerdict::NoAnswer;
}

} // namespace

std::vector<ProbedPort> probePorts(std::uint8_t channel) {
    std::vector<ProbedPort> probed;
    std::vector<std::string> identities;
    for (PortDescription& port : listSerialPorts()) {
        identities.push_back(deviceIdentity(port.device));
        probed.push_back({std::move(port), ProbeVerdict::Busy});
    }
    // The devices that the settings give COM numbers are ports too, listed by the system or not.
    for (const PortMapping& mapping : mappedPorts()) {
        const std::string identity = deviceIdentity(mapping.device);
        if (!mapping.missing && std::ranges::find(identities, identity) == identities.end()) {
            identities.push_back(identity);
            PortDescription port;
            port.device = mapping.device;
            port.busy = portHeldByAnotherProgram(mapping.device);
            probed.push_back({std::move(port), ProbeVerdict::Busy});
        }
    }
    std::vector<std::function<void()>> probes;
    std::vector<ProbedPort*> probing;
    for (ProbedPort& each : probed) {
        // Opening a port that another program holds would disturb its work.
        if (!each.port.busy) {
            probes.emplace_back(
                [&each, channel] { each.verdict = probe(each.port.device, channel); });
            probing.push_back(&each);
        }
    }
    runAtOnce(probes, [&probing](std::size_t piece, const std::string&) {
        probing[piece]->verdict = ProbeVerdict::CannotOpen;
    });
    return probed;
}

std::string_view verdictText(ProbeVerdict verdict) {
    switch (verdict) {
    case ProbeVerdict::Answers:
        return "device answers";
    case ProbeVerdict::NoAnswer:
        return "no answer";
    case ProbeVerdict::Busy:
        return "busy";
    case ProbeVerdict::CannotOpen:
        return "cannot open";
    }
    return "no answer";
}

} // namespace quarvel
