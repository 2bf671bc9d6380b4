#include "e2e_programs.h"
#include "giflib_picture.h"
#include "program_files.h"
#include "tests/support/child_process.h"
#include "tests/support/ktv_sim_process.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>

namespace quarvel::test {
namespace {

TEST(LoadSession, PrintsEachNewPercentageOnItsOwnLine) {
    KtvSimProcess device(testFolderFor("percent-lines"), {"--fault", "restart:9"});
    const auto& file = cliPrograms().spread;

    const Finished run = runProgram({QUARVEL_CLI, "load", file.string(), "--port",
                                     device.terminalPath(), "--progress", "lines"});
    device.stopAndReadFlash();

    // A bar starts at 0 and repaints only on a change: so do the lines.
    const std::vector<int> whole = percentagesByOffset(file);
    std::vector<int> handed(whole.begin(), whole.begin() + 8);
    handed.push_back(0);
    handed.insert(handed.end(), whole.begin(), whole.end());
    std::vector<int> expected;
    int shown = 0;
    for (const int percent : handed) {
        if (percent != shown) {
            expected.push_back(percent);
            shown = percent;
        }
    }
    std::vector<int> printed;
    const std::regex percentLine("([0-9]+)%");
    for (const auto& line : splitLines(run.err)) {
        std::smatch match;
        if (std::regex_match(line, match, percentLine)) {
            printed.push_back(std::stoi(match[1]));
        }
    }
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(printed, expected);
}

TEST(LoadSession, CtrlCDuringTheEraseEndsTheLoadAtOnce) {
    KtvSimProcess device(testFolderFor("interrupt"), {"--fault", "no-erase"});
    RunningProgram cli(
        {QUARVEL_CLI, "load", cliPrograms().small.string(), "--port", device.terminalPath()});

    std::string line;
    while (cli.readLine(line) && line != "Erasing flash") {
    }
    ASSERT_EQ(line, "Erasing flash");
    cli.signal(SIGINT);
    Lines after;
    while (cli.readLine(line)) {
        after.push_back(line);
    }

    // Waiting out the erase would have added "No response" and "Reset PC and run again".
    EXPECT_EQ(after, Lines{"Error!"});
    EXPECT_EQ(cli.wait(), 1);
    EXPECT_NE(cli.errorText().find("interrupted"), std::string::npos);
}

TEST(LoadSession, PortNumberNamesTheDeviceOfTheSettingsFile) {
    const auto folder = testFolderFor("port-number");
    KtvSimProcess device(folder, {});
    std::ofstream(folder / "quarvel.INI")
        << "[Last Values]\r\nComm Port=2\r\n[Ports]\r\nCOM3=" << device.terminalPath() << "\r\n";

    const Finished run =
        runProgram({QUARVEL_CLI, "load", cliPrograms().small.string(), "--port", "3"}, "",
                   {"XDG_CONFIG_HOME=" + folder.string()});
    const auto flash = device.stopAndReadFlash();

    EXPECT_EQ(splitLines(run.out), joined(identifiedStart(), {"Loading complete. No errors"}));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(flash, expectedFlash(cliPrograms().small));
}

TEST(LoadSession, PortThatCannotBeOpened) {
    const Finished run = runProgram({QUARVEL_CLI, "load", cliPrograms().small.string(), "--port",
                                     (testFolder() / "no-such-terminal").string()});

    EXPECT_EQ(splitLines(run.out), (Lines{"Initialising", "Could not open PC RS232", "Error!"}));
    EXPECT_EQ(run.exitCode, 1);
}

TEST(LoadSession, GifPictureIsConvertedAndLoaded) {
    const auto folder = testFolderFor("logo");
    const auto picture = folder / "Logo.GIF";
    ASSERT_EQ(runProgram({IMAGEMAGICK_CONVERT, "-size", "128x56", "xc:white", "-fill", "black",
                          "-draw", "rectangle 8,4 100,40", picture.string()})
                  .exitCode,
              0);
    KtvSimProcess device(folder, {});

    const Finished run =
        runProgram({QUARVEL_CLI, "load", picture.string(), "--port", device.terminalPath()});
    const auto flash = device.stopAndReadFlash();

    EXPECT_EQ(splitLines(run.out), joined(identifiedStart(), {"Loading complete. No errors"}));
    EXPECT_EQ(run.exitCode, 0);
    // The flash is checked against giflib's reading of the picture, not against the file the
    // program under test wrote.
    const auto oracle = writeLines(
        folder, "oracle", expectedLogoFile(rasterFromRows(decodeWithGiflib(picture).rows)));
    EXPECT_EQ(flash, expectedFlash(oracle));
}

TEST(LoadSession, PictureThatCannotBeConvertedLoadsNothing) {
    const auto picture = testFolderFor("bad-logo") / "broken.gif";
    std::ofstream(picture) << "GIF89a";

    const Finished run = runProgram({QUARVEL_CLI, "load", picture.string(), "--port", "1"});

    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("could not convert"), std::string::npos) << run.err;
}

} // namespace
} // namespace quarvel::test
