#include "cli/json_reporter.h"
#include "tests/support/file_contents.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace quarvel {
namespace {

using test::readBack;

// A reporter on a file of its own, with the operator's answers and Ctrl-C played by the test.
struct Recorded {
    std::FILE* file = std::tmpfile();
    bool tryAgain = false;
    bool stopped = false;
    JsonReporter reporter;

    explicit Recorded(std::optional<std::string> port)
        : reporter(
              file, std::move(port), [this] { return tryAgain; }, [this] { return stopped; }) {}
    ~Recorded() { std::fclose(file); }
    Recorded(const Recorded&) = delete;
    Recorded& operator=(const Recorded&) = delete;
};

TEST(JsonReporterTest, EveryEventCarriesThePortWhenOneIsGiven) {
    Recorded recorded(std::string("/dev/tty\"A\""));
    JsonReporter& reporter = recorded.reporter;
    reporter.addMessage("Initialising");
    reporter.setPercentage(0);
    reporter.setPercentage(40);
    reporter.setPercentage(40);
    recorded.tryAgain = true;
    EXPECT_TRUE(reporter.askRetry());
    recorded.tryAgain = false;
    EXPECT_FALSE(reporter.askRetry());
    reporter.failed(LoadFailure::Transfer);
    reporter.finish(true);

    EXPECT_EQ(readBack(recorded.file),
              R"({"event":"message","port":"/dev/tty\"A\"","text":"Initialising"}
{"event":"progress","port":"/dev/tty\"A\"","percent":40}
{"event":"retry","port":"/dev/tty\"A\"","answer":"try-again"}
{"event":"retry","port":"/dev/tty\"A\"","answer":"cancel"}
{"event":"result","port":"/dev/tty\"A\"","status":"failed","reason":"transfer"}
)");
}

struct ResultCase {
    const char* name;
    std::optional<LoadFailure> reported;
    bool stopped;
    bool failed;
    std::string result;
};

void PrintTo(const ResultCase& c, std::ostream* out) {
    *out << c.name;
}

class JsonResult : public testing::TestWithParam<ResultCase> {};

TEST_P(JsonResult, SaysHowTheLoadEnded) {
    const ResultCase& c = GetParam();
    Recorded recorded(std::nullopt);
    if (c.reported) {
        recorded.reporter.failed(*c.reported);
    }
    recorded.stopped = c.stopped;
    recorded.reporter.addMessage("RS232 device error, reset PC and run program again");
    recorded.reporter.finish(c.failed);

    const std::string message =
        R"({"event":"message","text":"RS232 device error, reset PC and run program again"})"
        "\n";
    EXPECT_EQ(readBack(recorded.file), (c.stopped ? "" : message) + c.result + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JsonResult,
    testing::Values(
        ResultCase{"Completed", std::nullopt, false, false,
                   R"({"event":"result","status":"completed","reason":null})"},
        ResultCase{"FailedWithItsReason", LoadFailure::BootSector, false, true,
                   R"({"event":"result","status":"failed","reason":"boot-sector"})"},
        // The port failure that Ctrl-C causes is no fault of the device.
        ResultCase{"InterruptedOutweighsTheJob", LoadFailure::Transfer, true, true,
                   R"({"event":"result","status":"interrupted","reason":"interrupted"})"},
        ResultCase{"InterruptedBetweenSteps", std::nullopt, true, true,
                   R"({"event":"result","status":"interrupted","reason":"interrupted"})"}),
    [](const testing::TestParamInfo<ResultCase>& info) { return info.param.name; });

} // namespace
} // namespace quarvel
