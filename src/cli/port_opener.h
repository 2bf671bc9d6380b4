#pragma once

#include "cli/load_options.h"
#include "link/byte_channel.h"

#include <string>

namespace quarvel {

// The device that one --port opens: a COM number through the settings file, a name of section
// [Ports] in it (an alias such as bench-left), or the device path as given.
std::string portDevicePath(const PortChoice& port);

// Opens the line of one --port; an open that fails is described to onFailure.
ChannelOpener portOpener(const PortChoice& port, OpenFailureSink onFailure);

// The port as the error stream names it: "port 3", or the device path.
std::string portDescription(const PortChoice& port);

} // namespace quarvel
