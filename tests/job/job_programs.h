#pragma once

#include "program_files.h"

#include <filesystem>
#include <functional>
#include <string>

namespace quarvel::test {

// Programs shared by the tests, written by srec_cat.
struct Programs {
    std::filesystem::path small;      // four data records at 4000h, sector 1
    std::filesystem::path spread;     // S2 records in sectors 1, 2, 4 and 10
    std::filesystem::path boot;       // data at 0100h, the boot sector
    std::filesystem::path twentyFive; // header, 23 data records and the end record
    std::filesystem::path lineFeeds;  // as small, with LF line ends only
};
const Programs& programs();

// Writes every program with write, which answers the path of the file it wrote.
using ProgramWriter =
    std::function<std::filesystem::path(const std::string& name, const ProgramLayout& layout)>;
Programs writeJobPrograms(const ProgramWriter& write);

// The programs of this test run, written once. A build for Windows, where srec_cat does not run,
// takes those that this machine wrote at build time.
const Programs& programs();

} // namespace quarvel::test
