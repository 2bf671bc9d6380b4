// The real quarvel-cli against the real ktv-sim over a pseudo-terminal, one misbehaving device
// per case. Each load must end with exactly its messages and exit status; one that completes
// must leave the flash equal to the file; and a healthy device on the same port takes the next
// load at once.
#include "load_messages.h"
#include "tests/support/child_process.h"
#include "tests/support/file_contents.h"
#include "tests/support/ktv_sim_process.h"
#include "tests/support/temporary_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quarvel::endurance {
namespace {

namespace fs = std::filesystem;
using test::KtvSimProcess;

const std::string kProgram = QUARVEL_PROGRAM_DIR "/spread.a21";
const std::string kImage = QUARVEL_PROGRAM_DIR "/spread.bin";
const std::string kFailed = "Error!";

struct EnduranceCase {
    std::string name;
    std::vector<std::string> device;
    std::vector<std::string> loader;
    Messages expected;
    int exitStatus = 0;
    // The device goes away by itself, as when its line drops.
    bool deviceLeaves = false;
};

void PrintTo(const EnduranceCase& c, std::ostream* out) {
    *out << c.name;
}

class FaultEndurance : public testing::TestWithParam<EnduranceCase> {
protected:
    // A ktv-sim behind the port's name, writing its flash to flashFile when it ends.
    std::vector<std::string> deviceArguments(const std::string& flashFile,
                                             const std::vector<std::string>& extra) const {
        std::vector<std::string> arguments{"--link", port(), "--flash-out",
                                           (m_folder / flashFile).string()};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return arguments;
    }

    test::Finished load(const std::vector<std::string>& extra) const {
        std::vector<std::string> command{QUARVEL_CLI_PATH, "load",  kProgram,     "--port", port(),
                                         "--retry",        "never", "--progress", "none"};
        command.insert(command.end(), extra.begin(), extra.end());
        return test::runProgram(command);
    }

    std::string port() const { return (m_folder / "port").string(); }
    fs::path flash(const std::string& name) const { return m_folder / name; }

private:
    test::TemporaryFolder m_temporary;
    const fs::path m_folder = m_temporary.path();
};

TEST_P(FaultEndurance, EndsAsTheFaultCallsForAndFreesThePort) {
    const EnduranceCase& c = GetParam();
    const std::vector<std::uint8_t> image = test::fileBytes(kImage);
    ASSERT_EQ(image.size(), 0x80000u);

    KtvSimProcess faulty(deviceArguments("faulty.bin", c.device));
    ASSERT_FALSE(faulty.terminalPath().empty());
    const test::Finished loaded = load(c.loader);
    EXPECT_EQ(test::splitLines(loaded.out), c.expected) << loaded.err;
    EXPECT_EQ(loaded.exitCode, c.exitStatus) << loaded.err;
    if (c.deviceLeaves) {
        EXPECT_TRUE(faulty.waitForExit().has_value());
    }
    faulty.terminate();
    if (loaded.exitCode == 0) {
        EXPECT_TRUE(test::fileBytes(flash("faulty.bin")) == image);
    }

    // A sound device on the same port name takes the next load.
    KtvSimProcess sound(deviceArguments("sound.bin", {}));
    ASSERT_FALSE(sound.terminalPath().empty());
    const test::Finished next = load({});
    EXPECT_EQ(test::splitLines(next.out), identifiedStart() + Messages{kComplete}) << next.err;
    EXPECT_EQ(next.exitCode, 0);
    sound.terminate();
    EXPECT_TRUE(test::fileBytes(flash("sound.bin")) == image);
}

const Messages kCompletes = identifiedStart() + Messages{kComplete};

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultEndurance,
    testing::Values(
        EnduranceCase{"LineDropsAtRecordFive",
                      {"--fault", "drop:5"},
                      {},
                      identifiedStart() + Messages{kPortFailed, kLeaveDevice, kFailed},
                      1,
                      true},
        EnduranceCase{"NoAnswerToAnErase",
                      {"--fault", "no-erase"},
                      {},
                      searchStart() + Messages{"Found Device 271, expecting 271",
                                               "Received Acknowledgement", "Erasing flash",
                                               kEraseNoResponse, kResetAndRunAgain, kFailed},
                      1},
        EnduranceCase{"GarbageBetweenFrames", {"--fault", "garbage"}, {}, kCompletes},
        EnduranceCase{"RepliesByteByByteWithPauses", {"--fault", "trickle:150"}, {}, kCompletes},
        EnduranceCase{"OverlongReply",
                      {"--fault", "overlong:4"},
                      {},
                      identifiedStart() + Messages{kBadMessageRetry, kComplete}},
        EnduranceCase{"DeviceOnAnotherChannel",
                      {"--channel", "6"},
                      {"--channel", "3"},
                      searchStart() + Messages{"Found Device (assuming KTV-271)", "Erasing flash",
                                               kEraseNoResponse, kResetAndRunAgain, kFailed},
                      1},
        EnduranceCase{"RepeatedRestartRequests",
                      {"--fault", "restart:3", "--fault", "status:6:01:2"},
                      {},
                      kCompletes},
        EnduranceCase{"Status05OnTheFirstRecord",
                      {"--fault", "skip:1"},
                      {},
                      identifiedStart() + Messages{kSkipped, kComplete}}),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace quarvel::endurance
