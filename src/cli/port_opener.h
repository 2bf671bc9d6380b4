#pragma once

#include "cli/load_options.h"
#include "link/byte_channel.h"

#include <string>

namespace quarvel {

// Opens the line of one --port; an open that fails is described to onFailure.
ChannelOpener portOpener(const PortChoice& port, OpenFailureSink onFailure);

// The port as the error stream names it: "port 3", or the device path.
std::string portDescription(const PortChoice& port);

} // namespace quarvel
