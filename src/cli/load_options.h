#pragma once

#include "link/command_set.h"
#include "link/port_names.h"

#include <cstdint>
#include <span>
#include <string>

namespace quarvel {

enum class RetryPolicy { Ask, Always, Never };
enum class ProgressStyle { Bar, Lines, None };

// What `quarvel-cli load` was asked to do.
struct LoadOptions {
    std::string file;
    // A COM number 1 to kHighestPortNumber, or 0 when devicePath names the line directly.
    int portNumber = 0;
    std::string devicePath;
    std::uint8_t channel = kAllChannels;
    bool bootMode = false;
    RetryPolicy retry = RetryPolicy::Never;
    ProgressStyle progress = ProgressStyle::None;
    bool helpWanted = false;
};

// Where the defaults of --retry and --progress come from.
struct TerminalFacts {
    bool inputIsTerminal = false;
    bool errorIsTerminal = false;
};

// Reads the arguments after `load`. On bad usage answers false with error saying why.
bool parseLoadOptions(std::span<char* const> args, TerminalFacts terminal, LoadOptions& options,
                      std::string& error);

} // namespace quarvel
