#include "e2e_programs.h"
#include "program_files.h"
#include "tests/support/child_process.h"
#include "tests/support/file_contents.h"
#include "tests/support/json_lines.h"
#include "tests/support/ktv_sim_process.h"

#include <QJsonObject>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <sstream>

namespace quarvel::test {
namespace {

// What a case does, in order: "on" and "off" put a unit on the device's line and take it off,
// "gone" ends ktv-sim (its port vanishes), "back" starts it again on the same port, "int"
// presses Ctrl-C, and any other text waits for a line of the station that holds it.
struct StationCase {
    const char* name;
    std::vector<std::string> deviceOptions;
    std::vector<std::string> stationOptions;
    std::vector<std::string> steps;
    int exitCode;
    // The status of each unit in the log, in order.
    std::vector<std::string> statuses;
    // The station's last line.
    std::string tally;
    // The log, when not one in the case's folder.
    std::string log;
};

void PrintTo(const StationCase& c, std::ostream* out) {
    *out << c.name;
}

class Station : public testing::TestWithParam<StationCase> {};

TEST_P(Station, LoadsUnitAfterUnitAndRecordsEach) {
    const StationCase& c = GetParam();
    const auto folder = testFolderFor(std::string("station-") + c.name);
    const std::string port = (folder / "port").string();
    const std::string log = c.log.empty() ? (folder / "units.log").string() : c.log;
    if (c.log.empty()) {
        std::filesystem::remove(log);
    }
    std::vector<std::string> options{"--absent", "--link", port};
    options.insert(options.end(), c.deviceOptions.begin(), c.deviceOptions.end());
    auto device = std::make_unique<KtvSimProcess>(folder, options);
    const std::string file = cliPrograms().small.string();
    std::vector<std::string> argv{QUARVEL_CLI, "station", file, "--port", port, "--log", log};
    argv.insert(argv.end(), c.stationOptions.begin(), c.stationOptions.end());
    RunningProgram station(argv);

    std::string line;
    for (const std::string& step : c.steps) {
        if (step == "on" || step == "off") {
            device->signal(step == "on" ? SIGUSR2 : SIGUSR1);
        } else if (step == "gone") {
            device->stopAndReadFlash();
            device.reset();
        } else if (step == "back") {
            device =
                std::make_unique<KtvSimProcess>(folder, std::vector<std::string>{"--link", port});
        } else if (step == "int") {
            station.signal(SIGINT);
        } else {
            while (station.readLine(line) && line.find(step) == std::string::npos) {
            }
            ASSERT_NE(line.find(step), std::string::npos) << "no line with: " << step;
        }
    }
    std::string last = line;
    while (station.readLine(line)) {
        last = line;
    }

    EXPECT_EQ(station.wait(), c.exitCode) << station.errorText();
    EXPECT_EQ(last, port + ": " + c.tally);
    if (!c.log.empty()) {
        return;
    }
    const Finished digest = runProgram({"/usr/bin/sha256sum", file});
    std::istringstream records(fileText(log));
    std::vector<std::string> statuses;
    for (std::string record; std::getline(records, record);) {
        const QJsonObject unit = parseJsonLine(record);
        statuses.push_back(unit["status"].toString().toStdString());
        EXPECT_EQ(unit["unit"].toInt(), static_cast<int>(statuses.size()));
        EXPECT_EQ(unit["port"].toString().toStdString(), port);
        EXPECT_EQ(unit["file"].toString().toStdString(), file);
        EXPECT_EQ(digest.out.substr(0, 64), unit["sha256"].toString().toStdString());
        EXPECT_TRUE(unit["seconds"].toObject().contains("transfer")) << record;
        EXPECT_EQ(unit["reason"].isNull(), statuses.back() == "completed") << record;
    }
    EXPECT_EQ(statuses, c.statuses);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Station,
    testing::Values(StationCase{"AFailingUnitBetweenTwoThatPass",
                                {"--fail-unit", "2"},
                                {"--units", "3"},
                                {"on", "unit 1 completed", "off", "unit 1 removed", "on",
                                 "unit 2 failed", "off", "unit 2 removed", "on",
                                 "unit 3 completed"},
                                1,
                                {"completed", "failed", "completed"},
                                "2 passed, 1 failed",
                                ""},
                    StationCase{"AVanishedPortComesBack",
                                {},
                                {"--units", "2"},
                                {"on", "unit 1 completed", "gone", "unit 1 removed", "back",
                                 "unit 2 completed"},
                                0,
                                {"completed", "completed"},
                                "2 passed, 0 failed",
                                ""},
                    StationCase{"CtrlCWhileAUnitStaysOn",
                                {},
                                {},
                                {"on", "unit 1 completed", "int"},
                                0,
                                {"completed"},
                                "1 passed, 0 failed",
                                ""},
                    StationCase{"CtrlCInALoad",
                                {"--fault", "no-erase"},
                                {},
                                {"on", "Erasing flash", "int"},
                                1,
                                {"interrupted"},
                                "0 passed, 1 failed",
                                ""},
                    StationCase{"ALogThatCannotBeWrittenStopsTheStation",
                                {},
                                {},
                                {"on", "unit 1 completed"},
                                1,
                                {},
                                "1 passed, 0 failed",
                                "/dev/full"}),
    [](const testing::TestParamInfo<StationCase>& info) { return info.param.name; });

} // namespace
} // namespace quarvel::test
