#include "child_process.h"
#include "e2e_programs.h"

#include <gtest/gtest.h>
#include <ostream>

namespace quarvel::test {
namespace {

struct UsageCase {
    const char* name;
    std::vector<std::string> args;
    // A phrase that the message on standard error must hold.
    std::string says;
};

void PrintTo(const UsageCase& c, std::ostream* out) {
    *out << c.name;
}

class LoadUsage : public testing::TestWithParam<UsageCase> {};

TEST_P(LoadUsage, IsRefusedWithAMessageAndStatusTwo) {
    const UsageCase& c = GetParam();
    std::vector<std::string> argv{QUARVEL_CLI, "load"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());

    const Finished run = runProgram(argv);

    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("usage: quarvel-cli load FILE --port PORT"), std::string::npos);
    EXPECT_EQ(run.out, "") << "nothing may look like a load";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadUsage,
    testing::Values(
        UsageCase{"NothingGiven", {}, "no FILE given"},
        UsageCase{"NoPort", {"a.a21"}, "no --port given"},
        UsageCase{"PortWithoutValue", {"a.a21", "--port"}, "--port needs a value"},
        UsageCase{"PortZero", {"a.a21", "--port", "0"}, "port number must be 1 to 9"},
        UsageCase{"PortTen", {"a.a21", "--port", "10"}, "port number must be 1 to 9"},
        UsageCase{"PortNumberWithJunk", {"a.a21", "--port", "3x"}, "port number must be 1 to 9"},
        UsageCase{"ChannelZero",
                  {"a.a21", "--port", "1", "--channel", "0"},
                  "channel must be 'all' or 1 to 16"},
        UsageCase{"ChannelSeventeen",
                  {"a.a21", "--port", "1", "--channel=17"},
                  "channel must be 'all' or 1 to 16"},
        UsageCase{"RetryUnknown",
                  {"a.a21", "--port", "1", "--retry", "often"},
                  "--retry takes ask, always or never"},
        UsageCase{"ProgressUnknown",
                  {"a.a21", "--port", "1", "--progress", "dots"},
                  "--progress takes bar, lines or none"},
        UsageCase{"UnknownOption", {"a.a21", "--port", "1", "--fast"}, "unknown option '--fast'"},
        UsageCase{"TwoFiles", {"a.a21", "b.a21", "--port", "1"}, "only one FILE can be loaded"}),
    [](const testing::TestParamInfo<UsageCase>& info) { return info.param.name; });

TEST(LoadUsage, HelpIsNoError) {
    const Finished run = runProgram({QUARVEL_CLI, "load", "--help"});

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("usage: quarvel-cli load FILE --port PORT"), std::string::npos);
}

} // namespace
} // namespace quarvel::test
