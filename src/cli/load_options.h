#pragma once

#include "link/command_set.h"
#include "link/port_names.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

enum class RetryPolicy { Ask, Always, Never };
enum class ProgressStyle { Bar, Lines, None };

// One --port: a COM number, or a device path that names the line directly.
struct PortChoice {
    // The port as the operator wrote it, which names it in the output of a gang load.
    std::string given;
    // A COM number 1 to kHighestPortNumber, or 0 when devicePath names the line.
    int number = 0;
    std::string devicePath;
};

// What `quarvel-cli load` was asked to do.
struct LoadOptions {
    std::string file;
    // Every --port in the order given; more than one loads the file into all of them at once.
    std::vector<PortChoice> ports;
    std::uint8_t channel = kAllChannels;
    bool bootMode = false;
    RetryPolicy retry = RetryPolicy::Never;
    ProgressStyle progress = ProgressStyle::None;
    // Events as JSON lines on the output instead of the message lines.
    bool json = false;
    // Every byte on the line, on the error stream.
    bool trace = false;
    bool helpWanted = false;
};

// Where the defaults of --retry and --progress come from.
struct TerminalFacts {
    bool inputIsTerminal = false;
    bool errorIsTerminal = false;
};

// Adds one --port value to ports; false, with error saying why, for a value that names no port
// or a port given already.
bool addPort(std::string_view text, std::vector<PortChoice>& ports, std::string& error);

// The channel byte of a --channel value, "all" or 1 to 16; nothing, with error saying why, for
// any other text.
std::optional<std::uint8_t> channelByte(std::string_view text, std::string& error);

// Reads the arguments after `load`. On bad usage answers false with error saying why.
bool parseLoadOptions(std::span<char* const> args, TerminalFacts terminal, LoadOptions& options,
                      std::string& error);

} // namespace quarvel
