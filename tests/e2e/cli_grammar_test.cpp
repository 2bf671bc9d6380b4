#include "e2e_programs.h"
#include "tests/support/child_process.h"

#include <gtest/gtest.h>
#include <ostream>

namespace quarvel::test {
namespace {

// "FILE" in a command line stands for a program file that a load accepts.
struct GrammarCase {
    const char* name;
    std::vector<std::string> args;
    int exitCode;
    // A phrase that standard error must hold; empty when it must stay empty.
    std::string says;
};

void PrintTo(const GrammarCase& c, std::ostream* out) {
    *out << c.name;
}

class CommandLine : public testing::TestWithParam<GrammarCase> {};

TEST_P(CommandLine, EndsWithTheStatusOfItsGrammar) {
    const GrammarCase& c = GetParam();
    std::vector<std::string> argv{QUARVEL_CLI};
    for (const std::string& arg : c.args) {
        argv.push_back(arg == "FILE" ? cliPrograms().small.string() : arg);
    }

    const Finished run = runProgram(argv);

    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    if (c.says.empty()) {
        EXPECT_EQ(run.err, "");
    } else {
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
    if (c.exitCode == 2) {
        EXPECT_NE(run.err.find("usage: quarvel-cli "), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "") << "nothing may look like work done";
    } else if (c.exitCode == 0 && (c.args.back() == "-h" || c.args.back() == "--help")) {
        EXPECT_EQ(run.out.rfind("usage: quarvel-cli ", 0), 0U) << run.out;
    }
}

const std::string kNoDevice = "/nonexistent/tty";
const std::string kNoPort = "cannot open /nonexistent/tty: it does not exist";

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLine,
    testing::Values(
        GrammarCase{"TopHelp", {"--help"}, 0, ""}, GrammarCase{"TopShortHelp", {"-h"}, 0, ""},
        GrammarCase{"TopVersion", {"--version"}, 0, ""},
        GrammarCase{"TopNothing", {}, 2, "COMMAND"},
        GrammarCase{"TopUnknownOption", {"--fast"}, 2, "unknown option '--fast'"},
        GrammarCase{"TopUnknownCommand", {"flash"}, 2, "unknown command 'flash'"},
        GrammarCase{"CheckHelp", {"check", "-h"}, 0, ""},
        GrammarCase{"CheckHelpBeatsAFault", {"check", "a", "b", "--help"}, 0, ""},
        GrammarCase{"CheckAFile", {"check", "FILE"}, 0, ""},
        GrammarCase{"CheckAfterDoubleDash", {"check", "--", "FILE"}, 0, ""},
        GrammarCase{"CheckMissingFile", {"check"}, 2, "missing FILE"},
        GrammarCase{
            "CheckExtraArgument", {"check", "FILE", "EXTRA"}, 2, "unexpected argument 'EXTRA'"},
        GrammarCase{"ConvertLogoHelp", {"convert-logo", "--help"}, 0, ""},
        GrammarCase{"ConvertLogoMissingOut", {"convert-logo", "a.gif"}, 2, "missing OUT"},
        GrammarCase{
            "ConvertLogoExtra", {"convert-logo", "A", "B", "C"}, 2, "unexpected argument 'C'"},
        GrammarCase{"ConvertLogoFlagWithValue",
                    {"convert-logo", "--preview=yes", "A", "B"},
                    2,
                    "--preview takes no value"},
        GrammarCase{"PortsHelp", {"ports", "-h"}, 0, ""},
        GrammarCase{"PortsExtra", {"ports", "COM1"}, 2, "unexpected argument 'COM1'"},
        GrammarCase{"PortsJsonWithValue", {"ports", "--json=yes"}, 2, "--json takes no value"},
        GrammarCase{"LoadHelp", {"load", "-h"}, 0, ""},
        GrammarCase{"LoadPortAsSeparateValue", {"load", "FILE", "--port", kNoDevice}, 1, kNoPort},
        GrammarCase{"LoadPortAfterEquals", {"load", "--port=" + kNoDevice, "FILE"}, 1, kNoPort},
        GrammarCase{
            "LoadShortForms", {"load", "-p", kNoDevice, "-c", "3", "-b", "FILE"}, 1, kNoPort},
        GrammarCase{
            "LoadShortFormWithValueAttached", {"load", "-p" + kNoDevice, "FILE"}, 1, kNoPort},
        GrammarCase{
            "LoadDashHAfterDoubleDashIsAFile", {"load", "-p", kNoDevice, "--", "-h"}, 1, kNoPort},
        GrammarCase{
            "LoadJsonAndTrace", {"load", "FILE", "-p", kNoDevice, "--json", "--trace"}, 1, kNoPort},
        GrammarCase{"LoadJsonWithValue",
                    {"load", "a.a21", "-p", "1", "--json=yes"},
                    2,
                    "--json takes no value"},
        GrammarCase{"LoadNothing", {"load"}, 2, "missing FILE"},
        GrammarCase{"LoadNoPort", {"load", "a.a21"}, 2, "no --port given"},
        GrammarCase{"LoadPortWithoutValue", {"load", "a.a21", "--port"}, 2, "--port needs a value"},
        GrammarCase{"LoadPortZero", {"load", "a.a21", "-p", "0"}, 2, "port number must be 1 to 9"},
        GrammarCase{"LoadPortNumberWithJunk",
                    {"load", "a.a21", "--port", "3x"},
                    2,
                    "port number must be 1 to 9"},
        GrammarCase{"LoadChannelSeventeen",
                    {"load", "a.a21", "-p", "1", "--channel=17"},
                    2,
                    "channel must be 'all' or 1 to 16"},
        GrammarCase{"LoadChannelTwice",
                    {"load", "a.a21", "-p", "1", "-c", "1", "-c", "2"},
                    2,
                    "--channel is given more than once"},
        GrammarCase{"LoadRetryAskWithTwoPorts",
                    {"load", "a.a21", "-p", "1", "-p", "2", "--retry", "ask"},
                    2,
                    "--retry ask takes one --port"},
        GrammarCase{"LoadSamePortTwice",
                    {"load", "a.a21", "-p", "3", "--port", "COM3"},
                    2,
                    "port 'COM3' is given more than once"},
        GrammarCase{"LoadRetryUnknown",
                    {"load", "a.a21", "-p", "1", "--retry", "often"},
                    2,
                    "--retry takes ask, always or never"},
        GrammarCase{"LoadProgressUnknown",
                    {"load", "a.a21", "-p", "1", "--progress=dots"},
                    2,
                    "--progress takes bar, lines or none"},
        GrammarCase{"LoadUnknownOption",
                    {"load", "a.a21", "-p", "1", "--fast"},
                    2,
                    "unknown option '--fast'"},
        GrammarCase{"LoadTwoFiles",
                    {"load", "a.a21", "b.a21", "-p", "1"},
                    2,
                    "unexpected argument 'b.a21'"}),
    [](const testing::TestParamInfo<GrammarCase>& info) { return info.param.name; });

} // namespace
} // namespace quarvel::test
