#include "e2e_programs.h"
#include "program_files.h"
#include "tests/support/child_process.h"
#include "tests/support/json_lines.h"
#include "tests/support/ktv_sim_process.h"

#include <QJsonObject>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace quarvel::test {
namespace {

std::vector<std::string> gangLoad(const std::filesystem::path& file,
                                  const std::vector<const KtvSimProcess*>& devices) {
    std::vector<std::string> argv{QUARVEL_CLI, "load", file.string()};
    for (const KtvSimProcess* device : devices) {
        argv.insert(argv.end(), {"--port", device->terminalPath()});
    }
    return argv;
}

// The message lines of each port, without its name, and the summary lines after them.
struct GangLines {
    std::map<std::string, Lines> byPort;
    Lines summary;
};

GangLines sortedOut(const Lines& out, const std::vector<std::string>& ports) {
    GangLines sorted;
    const std::size_t loadLines = out.size() - std::min(out.size(), ports.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (i >= loadLines) {
            sorted.summary.push_back(out[i]);
            continue;
        }
        const auto port = std::ranges::find_if(
            ports, [&](const std::string& p) { return out[i].rfind(p + ": ", 0) == 0; });
        EXPECT_NE(port, ports.end()) << "a line under no port's name: " << out[i];
        if (port != ports.end()) {
            sorted.byPort[*port].push_back(out[i].substr(port->size() + 2));
        }
    }
    return sorted;
}

const std::string kBadChecksum = "Device received record with bad checksum. Trying record again";

TEST(GangLoad, OneFailingDeviceLeavesTheOthersToComplete) {
    KtvSimProcess first(testFolderFor("gang-first"), {});
    KtvSimProcess failing(testFolderFor("gang-failing"), {"--fault", "status:2:03:3"});
    KtvSimProcess third(testFolderFor("gang-third"), {});
    const std::vector<std::string> ports{first.terminalPath(), failing.terminalPath(),
                                         third.terminalPath()};
    const auto& file = cliPrograms().spread;

    auto argv = gangLoad(file, {&first, &failing, &third});
    argv.insert(argv.end(), {"--progress", "lines"});
    const Finished run = runProgram(argv);
    const auto firstFlash = first.stopAndReadFlash();
    const auto thirdFlash = third.stopAndReadFlash();
    failing.stopAndReadFlash();

    const GangLines lines = sortedOut(splitLines(run.out), ports);
    const Lines completed = joined(identifiedStart(), {"Loading complete. No errors"});
    EXPECT_EQ(lines.byPort.at(ports[0]), completed);
    EXPECT_EQ(lines.byPort.at(ports[1]),
              joined(identifiedStart(), {kBadChecksum, kBadChecksum, kBadChecksum, "Error!"}));
    EXPECT_EQ(lines.byPort.at(ports[2]), completed);
    EXPECT_EQ(lines.summary, (Lines{ports[0] + ": completed", ports[1] + ": failed (transfer)",
                                    ports[2] + ": completed"}));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(firstFlash, expectedFlash(file));
    EXPECT_EQ(thirdFlash, expectedFlash(file));
    const Lines err = splitLines(run.err);
    for (const std::string& port : {ports[0], ports[2]}) {
        EXPECT_NE(std::ranges::find(err, port + ": 100%"), err.end()) << run.err;
    }
    EXPECT_NE(run.err.find(ports[1] + ": The application could not send some of the data. Would "
                                      "you like it to try sending it again? Cancel"),
              std::string::npos)
        << run.err;
}

// Reads the gang's lines until each of the awaited lines has come, in any order; false when the
// output ended first.
bool readUntilAllSaid(RunningProgram& cli, const std::set<std::string>& awaited) {
    std::set<std::string> said;
    std::string line;
    while (said.size() < awaited.size() && cli.readLine(line)) {
        if (awaited.contains(line)) {
            said.insert(line);
        }
    }
    return said.size() == awaited.size();
}

TEST(GangLoad, CtrlCEndsEveryLoadAndReleasesEveryPort) {
    // Silent about the erase: no load can end before the interrupt.
    const std::vector<std::string> silent{"--fault", "no-erase"};
    KtvSimProcess a(testFolderFor("interrupt-a"), silent), b(testFolderFor("interrupt-b"), silent),
        c(testFolderFor("interrupt-c"), silent);
    const std::vector<std::string> ports{a.terminalPath(), b.terminalPath(), c.terminalPath()};
    const Lines interrupted{ports[0] + ": failed (interrupted)",
                            ports[1] + ": failed (interrupted)",
                            ports[2] + ": failed (interrupted)"};
    // The second run opens every port again, which only a released port allows.
    for (const char* run : {"first run", "second run"}) {
        SCOPED_TRACE(run);
        RunningProgram cli(gangLoad(cliPrograms().spread, {&a, &b, &c}));
        ASSERT_TRUE(
            readUntilAllSaid(cli, {ports[0] + ": Erasing flash", ports[1] + ": Erasing flash",
                                   ports[2] + ": Erasing flash"}))
            << cli.errorText();
        cli.signal(SIGINT);
        Lines after;
        std::string line;
        while (cli.readLine(line)) {
            after.push_back(line);
        }

        ASSERT_TRUE(cli.endsWithin(5000));
        EXPECT_EQ(cli.wait(), 1);
        const GangLines lines = sortedOut(after, ports);
        for (const std::string& port : ports) {
            EXPECT_EQ(lines.byPort.at(port).back(), "Error!");
        }
        EXPECT_EQ(lines.summary, interrupted);
    }
}

TEST(GangLoad, JsonEventsNameTheirPort) {
    KtvSimProcess device(testFolderFor("gang-json"), {});
    const std::string missing = (testFolder() / "no-such-terminal").string();
    const std::vector<std::string> ports{device.terminalPath(), missing};

    const Finished run = runProgram({QUARVEL_CLI, "load", cliPrograms().small.string(), "--port",
                                     ports[0], "--port", ports[1], "--json"});
    device.stopAndReadFlash();

    std::map<std::string, Lines> messages;
    std::map<std::string, std::string> results;
    for (const std::string& line : splitLines(run.out)) {
        const QJsonObject event = parseJsonLine(line);
        const std::string port = event.value("port").toString().toStdString();
        ASSERT_NE(std::ranges::find(ports, port), ports.end()) << line;
        EXPECT_EQ(results.count(port), 0U) << "the result comes last: " << line;
        if (event.value("event") == "message") {
            messages[port].push_back(event.value("text").toString().toStdString());
        } else if (event.value("event") == "result") {
            results[port] = event.value("status").toString().toStdString() + " " +
                            event.value("reason").toString("null").toStdString();
        }
    }
    EXPECT_EQ(messages[ports[0]], joined(identifiedStart(), {"Loading complete. No errors"}));
    EXPECT_EQ(messages[ports[1]], (Lines{"Initialising", "Could not open PC RS232"}));
    EXPECT_EQ(results, (std::map<std::string, std::string>{{ports[0], "completed null"},
                                                           {ports[1], "failed port"}}));
    EXPECT_EQ(run.exitCode, 1);
}

std::size_t ownLogoFiles(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(
        std::ranges::count_if(std::filesystem::directory_iterator(folder), [](const auto& entry) {
            const std::string name = entry.path().filename().string();
            // Temp.<n>.s21, a run's own; other tests leave Temp.s21 and its flash image here.
            return name.starts_with("Temp.") && name.ends_with(".s21") && name != "Temp.s21";
        }));
}

TEST(GangLoad, PictureIsConvertedOnceIntoAFileThatGoesWithTheRun) {
    const auto folder = testFolderFor("gang-logo");
    const auto picture = folder / "logo.gif";
    const auto converted = folder / "logo.s21";
    ASSERT_EQ(runProgram({IMAGEMAGICK_CONVERT, "-size", "128x56", "xc:white", "-fill", "black",
                          "-draw", "circle 64,28 64,4", picture.string()})
                  .exitCode,
              0);
    ASSERT_EQ(
        runProgram({QUARVEL_CLI, "convert-logo", picture.string(), converted.string()}).exitCode,
        0);
    const auto staging = std::filesystem::path(QUARVEL_CLI).parent_path();
    // b stays silent about the erase, so the run is still going when the files are counted.
    KtvSimProcess a(testFolderFor("gang-logo-a"), {}),
        b(testFolderFor("gang-logo-b"), {"--fault", "no-erase"});

    RunningProgram cli(gangLoad(picture, {&a, &b}));
    ASSERT_TRUE(readUntilAllSaid(cli, {b.terminalPath() + ": Erasing flash",
                                       a.terminalPath() + ": Loading complete. No errors"}))
        << cli.errorText();
    // Both loads read the one file converted for this run.
    EXPECT_EQ(ownLogoFiles(staging), 1U);
    cli.signal(SIGINT);
    std::string line;
    while (cli.readLine(line)) {
    }
    EXPECT_EQ(cli.wait(), 1) << cli.errorText();
    EXPECT_EQ(ownLogoFiles(staging), 0U);
    EXPECT_EQ(a.stopAndReadFlash(), expectedFlash(converted));
}

// A request to end the run, as a service manager (SIGTERM) or a closed terminal (SIGHUP) sends.
class GangLoadEndedBy : public testing::TestWithParam<int> {};

TEST_P(GangLoadEndedBy, SignalEndsEveryLoadAndRemovesTheRunsOwnLogo) {
    const std::string name = "signal-" + std::to_string(GetParam());
    const auto folder = testFolderFor(name);
    // A copy of the program of its own: the logo files in its folder are this run's alone.
    const auto program = folder / "quarvel-cli";
    std::filesystem::copy_file(QUARVEL_CLI, program,
                               std::filesystem::copy_options::overwrite_existing);
    const auto picture = folder / "logo.gif";
    ASSERT_EQ(
        runProgram({IMAGEMAGICK_CONVERT, "-size", "128x56", "xc:white", picture.string()}).exitCode,
        0);
    // Devices silent about the erase: the loads cannot end by themselves.
    const std::vector<std::string> silentErase{"--fault", "no-erase"};
    KtvSimProcess a(testFolderFor(name + "-a"), silentErase),
        b(testFolderFor(name + "-b"), silentErase);
    const std::vector<std::string> ports{a.terminalPath(), b.terminalPath()};
    RunningProgram cli(
        {program.string(), "load", picture.string(), "--port", ports[0], "--port", ports[1]});
    std::set<std::string> erasing;
    std::string line;
    while (erasing.size() < ports.size() && cli.readLine(line)) {
        if (line.ends_with(": Erasing flash")) {
            erasing.insert(line);
        }
    }
    ASSERT_EQ(ownLogoFiles(folder), 1U) << cli.errorText();

    cli.signal(GetParam());
    Lines after;
    while (cli.readLine(line)) {
        after.push_back(line);
    }

    ASSERT_TRUE(cli.endsWithin(5000));
    EXPECT_EQ(cli.wait(), 1);
    EXPECT_EQ(sortedOut(after, ports).summary,
              (Lines{ports[0] + ": failed (interrupted)", ports[1] + ": failed (interrupted)"}));
    EXPECT_EQ(ownLogoFiles(folder), 0U);
}

INSTANTIATE_TEST_SUITE_P(Signals, GangLoadEndedBy, testing::Values(SIGTERM, SIGHUP),
                         [](const testing::TestParamInfo<int>& info) {
                             return std::string(sigabbrev_np(info.param));
                         });

} // namespace
} // namespace quarvel::test
