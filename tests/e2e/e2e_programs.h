#pragma once

#include "tests/support/child_process.h"
#include "tests/support/start_messages.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quarvel::test {

// Program files for the loads through quarvel-cli, written once by srec_cat.
struct CliPrograms {
    std::filesystem::path small;  // S1 records at 4000h, sector 1
    std::filesystem::path spread; // S2 records in sectors 1, 2, 4 and 10
    std::filesystem::path boot;   // S1 records at 0100h, the boot sector
};
const CliPrograms& cliPrograms();

Lines joined(Lines first, const Lines& second);

} // namespace quarvel::test
