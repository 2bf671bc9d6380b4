#include "job_fixture.h"
#include "program_files.h"
#include "scripted_line.h"
#include "sim/device_model.h"
#include "sim/sim_link.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <ostream>

namespace quarvel::test {
namespace {

using Lines = std::vector<std::string>;

Lines concat(Lines first, const Lines& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

const Lines kOpened{"Initialising", "PC RS232 opened"};
const Lines kSearching = concat(kOpened, {"Searching for device"});

std::filesystem::path smallProgram() {
    return programs().small;
}
std::filesystem::path spreadProgram() {
    return programs().spread;
}
std::filesystem::path bootProgram() {
    return programs().boot;
}
std::filesystem::path missingFile() {
    return testFolder() / "no-such-file.a21";
}
std::filesystem::path headerMissing() {
    return writeLines(testFolder(), "header-missing", {"S1041234AB0A", "S9030000FC"});
}
std::filesystem::path headerChecksumWrong() {
    return writeLines(testFolder(), "header-checksum", {"S00600004844521C", "S9030000FC"});
}
std::filesystem::path noDataRecords() {
    return writeLines(testFolder(), "no-data", {"S00600004844521B", "S9030000FC"});
}

struct DeviceStartCase {
    const char* name;
    std::filesystem::path (*file)();
    DeviceConfig device;
    bool bootMode;
    Lines messages;
    int result;
};

void PrintTo(const DeviceStartCase& c, std::ostream* out) {
    *out << c.name;
}

class StartWithDevice : public testing::TestWithParam<DeviceStartCase> {};

TEST_P(StartWithDevice, ReportsEveryEventAndEndsAsTheDeviceAllows) {
    const DeviceStartCase& c = GetParam();
    DeviceModel device(c.device);
    SimLink link(device);
    LoadJob job(link.opener(), c.bootMode);

    const LoadOutcome outcome = runLoad(job, c.file());

    EXPECT_EQ(outcome.messages, c.messages);
    EXPECT_EQ(outcome.result, c.result);
    if (std::find(c.messages.begin(), c.messages.end(), "Searching for device") ==
        c.messages.end()) {
        EXPECT_TRUE(device.received().empty()) << "no frame may go out before the search";
    }
    if (c.result == StepDone) {
        EXPECT_EQ(std::vector<std::uint8_t>(device.flash().begin(), device.flash().end()),
                  expectedFlash(c.file()));
    }
}

const Lines kComplete{"Loading complete. No errors"};

DeviceConfig withFault(Fault fault) {
    DeviceConfig config;
    config.faults = {fault};
    return config;
}

DeviceConfig olderModel() {
    DeviceConfig config;
    config.answersIdentify = false;
    return config;
}

DeviceConfig typeNumber(int type) {
    DeviceConfig config;
    config.typeNumber = type;
    return config;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartWithDevice,
    testing::Values(
        DeviceStartCase{"LoadsAProgram",
                        smallProgram,
                        {},
                        false,
                        concat(identifiedStart(), kComplete),
                        StepDone},
        DeviceStartCase{"LoadsAProgramOfSeveralSectors",
                        spreadProgram,
                        {},
                        false,
                        concat(identifiedStart(), kComplete),
                        StepDone},
        DeviceStartCase{"LooksAtTheFileOnlyAfterOpeningThePort",
                        missingFile,
                        {},
                        false,
                        concat(kOpened, {"File not found"}),
                        StepFailed},
        DeviceStartCase{"RefusesAFileWithoutHeader",
                        headerMissing,
                        {},
                        false,
                        concat(kOpened, {"First record is invalid"}),
                        StepFailed},
        DeviceStartCase{"RefusesAHeaderWithWrongChecksum",
                        headerChecksumWrong,
                        {},
                        false,
                        concat(kOpened, {"First record is invalid"}),
                        StepFailed},
        DeviceStartCase{"GuardsTheBootSectorBeforeAnyFrame",
                        bootProgram,
                        {},
                        false,
                        concat(kOpened, {"Error 37."}),
                        StepFailed},
        DeviceStartCase{"WritesTheBootSectorInBootMode",
                        bootProgram,
                        {},
                        true,
                        concat(identifiedStart(), kComplete),
                        StepDone},
        DeviceStartCase{
            "FailsWhenNothingIsToBeErased",
            noDataRecords,
            {},
            false,
            concat(kSearching, {"Found Device 271, expecting 271", "Received Acknowledgement",
                                "Erasing flash", "Device not Erased, restart"}),
            StepFailed},
        DeviceStartCase{"ReportsAWrongTypeAndGoesOn", smallProgram, typeNumber(322), false,
                        concat(kSearching, {"Found Device 322, expecting 271",
                                            "The unit does not report the correct type number.",
                                            "Received Acknowledgement", "Erasing flash",
                                            "Flash Erased, sending new program",
                                            "Loading complete. No errors"}),
                        StepDone},
        DeviceStartCase{"FindsAnOlderModelByItsEcho", smallProgram, olderModel(), false,
                        concat(echoedStart(), kComplete), StepDone},
        DeviceStartCase{"FallsBackToTheEchoWhenIdentifyIsUnanswered", smallProgram,
                        withFault({FaultKind::NoIdentify}), false, concat(echoedStart(), kComplete),
                        StepDone},
        DeviceStartCase{"GivesUpOnASilentDevice", smallProgram, withFault({FaultKind::Silent}),
                        false,
                        concat(kSearching, {"Device not responding, check connections and midi "
                                            "channel, then try again"}),
                        StepFailed},
        DeviceStartCase{
            "StopsWhenAnEraseIsUnanswered", spreadProgram, withFault({FaultKind::NoErase}), false,
            concat(kSearching, {"Found Device 271, expecting 271", "Received Acknowledgement",
                                "Erasing flash", "No response", "Reset PC and run again"}),
            StepFailed}),
    [](const testing::TestParamInfo<DeviceStartCase>& info) { return info.param.name; });

TEST(StartWithDevice, ErasesTheSectorsOfTheFileInAscendingOrder) {
    DeviceModel device;
    SimLink link(device);
    LoadJob job(link.opener(), false);

    runLoad(job, programs().spread, {}, 15);

    std::vector<std::vector<std::uint8_t>> erases;
    for (const auto& frame : device.received()) {
        if (frame.size() > 5 && frame[5] == 0x18) {
            erases.push_back(frame);
        }
    }
    const std::vector<std::vector<std::uint8_t>> expected{
        {0xF0, 0x00, 0x3C, 0x51, 0x0F, 0x18, 0x01, 0xF7},
        {0xF0, 0x00, 0x3C, 0x51, 0x0F, 0x18, 0x02, 0xF7},
        {0xF0, 0x00, 0x3C, 0x51, 0x0F, 0x18, 0x04, 0xF7},
        {0xF0, 0x00, 0x3C, 0x51, 0x0F, 0x18, 0x0A, 0xF7},
    };
    EXPECT_EQ(erases, expected);
}

TEST(StartWithDevice, ReportsAPortThatCannotBeOpened) {
    LoadJob job([](const SerialSettings&) { return std::unique_ptr<ByteChannel>(); }, false);

    const LoadOutcome outcome = runLoad(job, programs().small);

    EXPECT_EQ(outcome.messages, (Lines{"Initialising", "Could not open PC RS232"}));
    EXPECT_EQ(outcome.result, StepFailed);
    EXPECT_FALSE(job.holdsResources());
}

} // namespace
} // namespace quarvel::test
