#pragma once

#include "tests/support/child_process.h"

#include <string>
#include <vector>

namespace quarvel::test {

// Runs a quarvel-cli command (args as after the program's name) in this process, collecting its
// exit code and what it wrote to standard output and standard error.
Finished runCliInProcess(const std::vector<std::string>& args);

} // namespace quarvel::test
