#include "e2e_programs.h"
#include "program_files.h"
#include "tests/support/child_process.h"
#include "tests/support/ktv_sim_process.h"

#include <gtest/gtest.h>
#include <ostream>

namespace quarvel::test {
namespace {

enum class Program { Small, Spread, Boot, Missing };

std::filesystem::path pathOf(Program program) {
    switch (program) {
    case Program::Small:
        return cliPrograms().small;
    case Program::Spread:
        return cliPrograms().spread;
    case Program::Boot:
        return cliPrograms().boot;
    case Program::Missing:
        break;
    }
    return testFolder() / "missing.a21";
}

// One load through the real quarvel-cli into ktv-sim on a pseudo-terminal.
struct CliLoadCase {
    const char* name;
    std::vector<std::string> deviceOptions;
    Program program;
    std::vector<std::string> loadOptions;
    // Standard input: the operator's answers to the retry question.
    std::string answers;
    Lines out;
    int exitCode;
    bool flashAsFile;
};

void PrintTo(const CliLoadCase& c, std::ostream* out) {
    *out << c.name;
}

class LoadThroughCli : public testing::TestWithParam<CliLoadCase> {};

TEST_P(LoadThroughCli, PrintsTheLoadAndProgramsTheDevice) {
    const CliLoadCase& c = GetParam();
    const auto folder = testFolder() / c.name;
    std::filesystem::create_directories(folder);
    KtvSimProcess device(folder, c.deviceOptions);
    std::vector<std::string> argv{QUARVEL_CLI, "load", pathOf(c.program).string(), "--port",
                                  device.terminalPath()};
    argv.insert(argv.end(), c.loadOptions.begin(), c.loadOptions.end());

    const Finished run = runProgram(argv, c.answers);
    const std::vector<std::uint8_t> flash = device.stopAndReadFlash();

    EXPECT_EQ(splitLines(run.out), c.out) << run.err;
    EXPECT_EQ(run.exitCode, c.exitCode);
    if (c.flashAsFile) {
        EXPECT_EQ(flash, expectedFlash(pathOf(c.program)));
    }
}

const Lines kComplete{"Loading complete. No errors"};
const Lines kError{"Error!"};
const std::string kBadChecksum = "Device received record with bad checksum. Trying record again";
const Lines kThreeBadChecksums{kBadChecksum, kBadChecksum, kBadChecksum};
const std::vector<std::string> kBadChecksumThrice{"--fault", "status:2:03:3"};

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadThroughCli,
    testing::Values(CliLoadCase{"NormalDialect",
                                {},
                                Program::Spread,
                                {},
                                "",
                                joined(identifiedStart(), kComplete),
                                0,
                                true},
                    CliLoadCase{"AssumedModelDialect",
                                {"--model", "assumed"},
                                Program::Spread,
                                {},
                                "",
                                joined(echoedStart(), kComplete),
                                0,
                                true},
                    CliLoadCase{"ChannelSixteen",
                                {"--channel", "16"},
                                Program::Small,
                                {"--channel", "16"},
                                "",
                                joined(identifiedStart(), kComplete),
                                0,
                                true},
                    CliLoadCase{"RetryNeverCancels",
                                kBadChecksumThrice,
                                Program::Small,
                                {"--retry", "never"},
                                "",
                                joined(joined(identifiedStart(), kThreeBadChecksums), kError),
                                1,
                                false},
                    CliLoadCase{"RetryAlwaysTriesAgain",
                                kBadChecksumThrice,
                                Program::Small,
                                {"--retry", "always"},
                                "",
                                joined(joined(identifiedStart(), kThreeBadChecksums), kComplete),
                                0,
                                true},
                    CliLoadCase{"OperatorTriesAgain",
                                kBadChecksumThrice,
                                Program::Small,
                                {"--retry", "ask"},
                                "t\n",
                                joined(joined(identifiedStart(), kThreeBadChecksums), kComplete),
                                0,
                                true},
                    CliLoadCase{"OperatorCancels",
                                kBadChecksumThrice,
                                Program::Small,
                                {"--retry", "ask"},
                                "cancel\n",
                                joined(joined(identifiedStart(), kThreeBadChecksums), kError),
                                1,
                                false},
                    CliLoadCase{"UnclearAnswerIsAskedAgain",
                                kBadChecksumThrice,
                                Program::Small,
                                {"--retry", "ask"},
                                "maybe\nTry Again\n",
                                joined(joined(identifiedStart(), kThreeBadChecksums), kComplete),
                                0,
                                true},
                    CliLoadCase{"NoAnswerCancels",
                                kBadChecksumThrice,
                                Program::Small,
                                {"--retry", "ask"},
                                "",
                                joined(joined(identifiedStart(), kThreeBadChecksums), kError),
                                1,
                                false},
                    CliLoadCase{"BootSectorRefused",
                                {},
                                Program::Boot,
                                {},
                                "",
                                {"Initialising", "PC RS232 opened", "Error 37.", "Error!"},
                                1,
                                false},
                    CliLoadCase{"BootSectorInBootMode",
                                {},
                                Program::Boot,
                                {"--boot"},
                                "",
                                joined(identifiedStart(), kComplete),
                                0,
                                true},
                    CliLoadCase{
                        "LineDrops",
                        {"--fault", "drop:3"},
                        Program::Small,
                        {},
                        "",
                        joined(identifiedStart(),
                               {"RS232 device error, reset PC and run program again",
                                "Leave device to be programmed in current state", "Error!"}),
                        1,
                        false},
                    CliLoadCase{"MissingFile",
                                {},
                                Program::Missing,
                                {},
                                "",
                                {"Initialising", "PC RS232 opened", "File not found", "Error!"},
                                1,
                                false}),
    [](const testing::TestParamInfo<CliLoadCase>& info) { return info.param.name; });

} // namespace
} // namespace quarvel::test
