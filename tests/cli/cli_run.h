#pragma once

#include "tests/support/child_process.h"

#include <string>
#include <vector>

namespace quarvel::test {

using CliRun = Finished;

// Runs the real quarvel-cli with args and collects its exit code and both output streams.
inline CliRun runCli(const std::vector<std::string>& args) {
    std::vector<std::string> argv{QUARVEL_CLI};
    argv.insert(argv.end(), args.begin(), args.end());
    return runProgram(argv);
}

} // namespace quarvel::test
