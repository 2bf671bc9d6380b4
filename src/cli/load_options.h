#pragma once

#include "link/command_set.h"

#include <cstdint>
#include <span>
#include <string>

namespace quarvel {

// Port numbers run from 1 to this.
inline constexpr int kHighestPortNumber = 9;

enum class RetryPolicy { Ask, Always, Never };
enum class ProgressStyle { Bar, Lines, None };

// What `quarvel-cli load` was asked to do.
struct LoadOptions {
    std::string file;
    // A COM number 1 to 9, or 0 when devicePath names the line directly.
    int portNumber = 0;
    std::string devicePath;
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

// Reads the arguments after `load`. On bad usage answers false with error saying why.
bool parseLoadOptions(std::span<char* const> args, TerminalFacts terminal, LoadOptions& options,
                      std::string& error);

} // namespace quarvel
