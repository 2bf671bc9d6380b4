#include "recorded_load.h"
#include "tests/support/temporary_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace quarvel::bench {
namespace {

// Start-up bytes each way: search 8 + 8, identify 8 + two replies of 10, handshake 7 + 8.
constexpr std::int64_t kStartSent = 8 + 8 + 7;
constexpr std::int64_t kStartReceived = 8 + 10 + 10 + 8;
// Per erased sector: the erase frame and its acknowledgement; per record: the frame's head and
// F7 around the record's characters, and the acknowledgement.
constexpr std::int64_t kEraseBytes = 8;
constexpr std::int64_t kRecordFrameExtra = 7;
constexpr std::int64_t kAcknowledgement = 8;

struct Case {
    const char* name;
    const char* generate; // srec_cat's arguments for the program file
    std::int64_t sectors;
};

const Case kCases[] = {
    {"s1_records_in_one_sector",
     "-generate 0x8000 0x8400 -repeat-string QUARVEL -execution-start-address 0x8000 "
     "-address-length=2 -obs=32",
     1},
    {"s2_records_across_two_sectors",
     "-generate 0x1FF00 0x20100 -repeat-string QUARVEL -execution-start-address 0x1FF00 "
     "-address-length=3 -obs=16",
     2},
    {"short_s1_records",
     "-generate 0x4000 0x4040 -repeat-string QUARVEL -execution-start-address 0x4000 "
     "-address-length=2 -obs=4",
     1},
};

std::filesystem::path writeProgram(const std::filesystem::path& folder, const Case& test) {
    const auto path = folder / (std::string(test.name) + ".a21");
    const std::string command = std::string(SREC_CAT_PATH) + " " + test.generate + " -o '" +
                                path.string() +
                                "' -Motorola -line-termination=crlf -disable=data-count";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return path;
}

TEST(RecordedLoad, CountsEveryByteThatCrossesTheLine) {
    const test::TemporaryFolder folder;
    for (const Case& test : kCases) {
        SCOPED_TRACE(test.name);
        const auto path = writeProgram(folder.path(), test);

        // What the file says: every line goes out as one record frame and is acknowledged.
        std::ifstream file(path);
        std::int64_t lines = 0;
        std::int64_t recordBytes = 0;
        for (std::string line; std::getline(file, line);) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            ++lines;
            recordBytes += kRecordFrameExtra + static_cast<std::int64_t>(line.size());
        }

        const RecordedLoad load = recordLoad(path.string());
        ASSERT_TRUE(load.completed);
        std::int64_t sent = 0;
        std::int64_t received = 0;
        for (const Exchange& exchange : load.exchanges) {
            sent += static_cast<std::int64_t>(exchange.sent.size());
            received += static_cast<std::int64_t>(exchange.replyBytes);
        }
        EXPECT_EQ(load.records, lines);
        EXPECT_EQ(sent, kStartSent + kEraseBytes * test.sectors + recordBytes);
        EXPECT_EQ(received, kStartReceived + kAcknowledgement * (test.sectors + lines));
        // Search, identify (both its replies), handshake; one per erased sector and per record.
        EXPECT_EQ(static_cast<std::int64_t>(load.exchanges.size()), 3 + test.sectors + lines);
    }
}

} // namespace
} // namespace quarvel::bench
