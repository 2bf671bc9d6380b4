#include "cli/gang_output.h"
#include "cli/terminal_reporter.h"
#include "tests/support/file_contents.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarvel::test {
namespace {

// The rows a terminal of that many columns shows for text (0: as wide as needed), trailing
// blanks left off: a carriage return goes back to the row's start, a character past the last
// column wraps to the next row.
std::vector<std::string> screen(const std::string& text, std::size_t columns) {
    std::vector<std::string> rows(1);
    std::size_t column = 0;
    for (const char c : text) {
        if (c == '\r') {
            column = 0;
            continue;
        }
        if (c == '\n' || (columns > 0 && column == columns)) {
            rows.emplace_back();
            column = 0;
            if (c == '\n') {
                continue;
            }
        }
        std::string& row = rows.back();
        row.resize(std::max(row.size(), column + 1), ' ');
        row[column++] = c;
    }
    for (std::string& row : rows) {
        row.erase(row.find_last_not_of(' ') + 1);
    }
    return rows;
}

struct Streams {
    std::FILE* output = std::tmpfile();
    std::FILE* error = std::tmpfile();
    ~Streams() {
        std::fclose(output);
        std::fclose(error);
    }
    Streams() = default;
    Streams(const Streams&) = delete;
    Streams& operator=(const Streams&) = delete;
};

const std::string kTrace = "trace    1301 ms < F0 01 F7";

struct TerminalBarCase {
    const char* name;
    std::size_t columns;
    const char* bar;
};

class TerminalBarTest : public ::testing::TestWithParam<TerminalBarCase> {};

// A line for the error stream, a trace line say, never lands on the bar's row: the bar leaves it
// and comes back below it, on one row of the terminal however narrow.
TEST_P(TerminalBarTest, AnErrorLineTakesARowOfItsOwnUnderTheLoadsBar) {
    const TerminalBarCase& row = GetParam();
    Streams streams;
    TerminalReporter reporter({streams.output, streams.error, stdin, row.columns},
                              ProgressStyle::Bar, RetryPolicy::Never, [] { return false; });
    reporter.setPercentage(0);
    reporter.setPercentage(57);
    reporter.errorLine(kTrace);
    reporter.addMessage("Flash Erased, sending new program");
    reporter.finish(true);

    EXPECT_EQ(screen(readBack(streams.error), row.columns),
              (std::vector<std::string>{kTrace, row.bar, ""}));
    EXPECT_EQ(readBack(streams.output), "Flash Erased, sending new program\nError!\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TerminalBarTest,
    ::testing::Values(
        TerminalBarCase{"WidthUnknown", 0, "[######################------------------]  57%"},
        TerminalBarCase{"WideTerminal", 80, "[######################------------------]  57%"},
        TerminalBarCase{"NarrowTerminal", 30, "[############----------]  57%"}),
    [](const auto& info) { return std::string(info.param.name); });

struct GangBarCase {
    const char* name;
    std::vector<std::string> ports;
    std::size_t columns;
    const char* bar;
};

class GangBarTest : public ::testing::TestWithParam<GangBarCase> {};

// The gang's bar stays on one row of the terminal, so that a carriage return can draw it again.
TEST_P(GangBarTest, FitsOneRowOfTheTerminal) {
    const GangBarCase& row = GetParam();
    Streams streams;
    GangOutput output(row.ports, ProgressStyle::Bar, {streams.output, streams.error}, row.columns);
    output.percentage(0, 0);
    output.percentage(0, 57);
    output.errorLine(kTrace);
    output.message(1, "Erasing flash");
    output.finish();

    EXPECT_EQ(screen(readBack(streams.error), row.columns),
              (std::vector<std::string>{kTrace, row.bar, ""}));
    EXPECT_EQ(readBack(streams.output), row.ports[1] + ": Erasing flash\n");
}

const std::vector<std::string> kFourUsbPorts{"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyUSB2",
                                             "/dev/ttyUSB3"};

INSTANTIATE_TEST_SUITE_P(
    Cases, GangBarTest,
    ::testing::Values(
        GangBarCase{"WidthUnknown", kFourUsbPorts, 0,
                    "/dev/ttyUSB0:  57%   /dev/ttyUSB1:   0%   /dev/ttyUSB2:   0%   "
                    "/dev/ttyUSB3:   0%"},
        GangBarCase{"FullNamesFit", {"COM3", "/dev/ttyS0"}, 80, "COM3:  57%   /dev/ttyS0:   0%"},
        GangBarCase{"ShortNamesWhereFullOnesWouldWrap", kFourUsbPorts, 80,
                    "ttyUSB0:  57%   ttyUSB1:   0%   ttyUSB2:   0%   ttyUSB3:   0%"},
        GangBarCase{"CutWhereEvenShortNamesWouldWrap", kFourUsbPorts, 40,
                    "ttyUSB0:  57%   ttyUSB1:   0%   ttyUSB2"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quarvel::test
