#pragma once

#include <string>
#include <vector>

namespace quarvel::endurance {

struct CommandResult {
    // -1 when the command could not be started or did not exit normally.
    int exitStatus = -1;
    std::vector<std::string> outputLines;
    std::string errorText;
};

// Runs a program to its end with no input, collecting its output lines and its error stream.
CommandResult runCommand(const std::vector<std::string>& command);

} // namespace quarvel::endurance
