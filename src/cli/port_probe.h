#pragma once

#include "cli/serial_port_list.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace quarvel {

enum class ProbeVerdict { Answers, NoAnswer, Busy, CannotOpen };

struct ProbedPort {
    PortDescription port;
    ProbeVerdict verdict = ProbeVerdict::NoAnswer;
};

// Every port that the system reports and every device that the settings map, each opened
// exclusively and sent the search frame on channel once, all at once. A port that another program
// holds is never opened.
std::vector<ProbedPort> probePorts(std::uint8_t channel);

// "device answers", "no answer", "busy" or "cannot open".
std::string_view verdictText(ProbeVerdict verdict);

} // namespace quarvel
