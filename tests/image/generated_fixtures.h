#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quarvel::test {

// Program files written by objcopy and srec_cat in the test build (tests/image/CMakeLists.txt),
// with the verdict and the sectors that their data ranges imply.
struct GeneratedFixture {
    std::string name;
    bool accepted = false;
    std::vector<int> sectors;
};

inline void PrintTo(const GeneratedFixture& fixture, std::ostream* os) {
    *os << fixture.name;
}

inline const std::vector<GeneratedFixture> kGeneratedFixtures{
    // 05FF0h-062EFh and 31000h-31027h, S2 records with CR LF from a linked program.
    {"objcopy_linked", true, {1, 2, 6}},
    {"objcopy_linked_s3", false, {}},
    // 03FE0h-042DFh across the boot sector's end, S1 records.
    {"objcopy_boot_s1", true, {0, 1}},
    // 07FFE0h-0802DFh: only the part below 80000h has a sector.
    {"objcopy_top_s2", true, {10}},
    // 0FF00h-101FFh in records of count FFh, the longest there are.
    {"objcopy_longest_s2", true, {3, 4}},
    // 05F80h-0807Fh, S1, CR LF.
    {"srec_s1_crlf", true, {1, 2, 3}},
    // 0EF00h-0FFFFh, S1 records of count FFh.
    {"srec_s1_longest", true, {3}},
    // 03FFCh-04003h, one data byte a record.
    {"srec_s1_single_bytes", true, {0, 1}},
    // One 32-byte record at 03FF0h: it runs into sector 1 but starts in sector 0.
    {"srec_s1_straddle", true, {0}},
    // 1FF00h-300FFh, S2 records of 250 bytes, CR LF.
    {"srec_s2_crlf_long", true, {4, 5, 6}},
    // 7FFF0h-800FFh, S2 ending in S8.
    {"srec_s2_top", true, {10}},
    // 90000h-900FFh lies above the flash: accepted, nothing to erase.
    {"srec_s2_above_flash", true, {}},
    {"srec_s3", false, {}},
    {"srec_no_end_record", false, {}},
    {"srec_no_header", false, {}},
};

} // namespace quarvel::test
