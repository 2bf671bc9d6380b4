#include "link/command_set.h"
#include "link/qt_serial_channel.h"
#include "link/serial_port.h"
#include "tests/support/file_contents.h"
#include "tests/support/ktv_sim_process.h"
#include "tests/support/temporary_folder.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace quarvel {
namespace {

namespace fs = std::filesystem;
using test::KtvSimProcess;
using Bytes = std::vector<std::uint8_t>;

struct RunResult {
    int status;
    std::string output;
};

RunResult runKtvSim(const std::string& arguments) {
    const std::string command = std::string(KTV_SIM_PATH) + " " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    std::array<char, 4096> chunk{};
    for (std::size_t n; (n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0;) {
        output.append(chunk.data(), n);
    }
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// A folder of its own for each test, removed afterwards.
class KtvSim : public testing::Test {
protected:
    test::TemporaryFolder m_temporary;
    const fs::path m_folder = m_temporary.path();
};

ChannelOpener openerFor(const std::string& path) {
    return qtSerialOpener([path](int) { return path; });
}

// An erase of sector 3 and three records that program 01 02 at 8000h.
int loadSmallProgram(SerialPort& port) {
    CommandSet commands;
    commands.reset(kAllChannels);
    std::array<std::uint8_t, 32> reply{};
    port.write(commands.eraseFrame(3));
    if (port.readReply(reply, 20) != ReplyComplete ||
        commands.replyStatus(reply) != StatusAccepted) {
        return -1;
    }
    for (const std::string line : {"S00600004844521B", "S1058000010277", "S9030000FC"}) {
        port.write(commands.recordFrameHead());
        port.write(std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size()));
        port.writeByte(kEndOfExclusive);
        const int result = port.readReply(reply, 2);
        if (result != ReplyComplete) {
            return result;
        }
        if (commands.replyStatus(reply) != StatusAccepted) {
            return 10 + commands.replyStatus(reply);
        }
    }
    return 0;
}

TEST(KtvSimCommandLine, HelpDocumentsEveryOption) {
    const RunResult help = runKtvSim("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* text : {"--link PATH",    "--channel",        "--type N",
                             "--model",        "normal",           "assumed",
                             "--pace",         "--delay-ms N",     "--fault WHAT",
                             "no-identify",    "silent",           "no-erase",
                             "status:N:S[:K]", "restart:N",        "skip:N",
                             "drop:N",         "overlong:N",       "garbage",
                             "trickle:MS",     "--flash-out FILE", "--received-out FILE",
                             "--once",         "--verbose",        "--help",
                             "--version"}) {
        EXPECT_NE(help.output.find(text), std::string::npos) << text;
    }
}

TEST(KtvSimCommandLine, RefusesWhatItCannotDoBeforeServing) {
    struct Case {
        const char* arguments;
        int status;
    };
    for (const Case& c : {Case{"--channel 0", 2}, Case{"--fault bogus", 2}, Case{"--frobnicate", 2},
                          Case{"--type", 2}, Case{"--flash-out /quarvel-no-such-folder/f.bin", 1},
                          Case{"--received-out /quarvel-no-such-folder/r.bin", 1},
                          Case{"--link /quarvel-no-such-folder/ktv", 1}}) {
        SCOPED_TRACE(c.arguments);
        const RunResult run = runKtvSim(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.output.rfind("ktv-sim: ", 0), 0u) << run.output;
    }
}

TEST_F(KtvSim, OnceWritesTheFlashImageAfterTheLoad) {
    const fs::path flash = m_folder / "flash.bin";
    KtvSimProcess sim({"--once", "--flash-out", flash.string()});
    ASSERT_FALSE(sim.terminalPath().empty());
    {
        SerialPort port(openerFor(sim.terminalPath()));
        ASSERT_EQ(port.open(SerialSettings{}, 100, 100), 0);
        EXPECT_EQ(loadSmallProgram(port), 0);
    }
    EXPECT_EQ(sim.waitForExit(), 0);
    Bytes expected(0x80000, 0xFF);
    expected[0x8000] = 0x01;
    expected[0x8001] = 0x02;
    EXPECT_EQ(test::fileBytes(flash), expected);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder), {}), 1) << "no temporary left";
}

TEST_F(KtvSim, ServesOneLoadAfterAnotherAndWritesTheImageWhenStopped) {
    const fs::path flash = m_folder / "flash.bin";
    KtvSimProcess sim({"--flash-out", flash.string()});
    for (int load = 1; load <= 2; ++load) {
        SCOPED_TRACE(load);
        SerialPort port(openerFor(sim.terminalPath()));
        ASSERT_EQ(port.open(SerialSettings{}, 100, 100), 0);
        EXPECT_EQ(loadSmallProgram(port), 0);
    }
    sim.terminate();
    EXPECT_EQ(test::fileBytes(flash).size(), 0x80000u);
}

TEST_F(KtvSim, LinkPointsAtTheTerminalWhileItRuns) {
    const fs::path link = m_folder / "ktv";
    fs::create_symlink("/dev/quarvel-stale", link);
    {
        KtvSimProcess sim({"--link", link.string()});
        ASSERT_FALSE(sim.terminalPath().empty());
        EXPECT_EQ(fs::read_symlink(link), sim.terminalPath());
        SerialPort port(openerFor(link.string()));
        EXPECT_EQ(port.open(SerialSettings{}, 100, 100), 0);
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));

    std::ofstream(link) << "keep";
    const RunResult refused = runKtvSim("--link " + link.string());
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(test::fileBytes(link), (Bytes{'k', 'e', 'e', 'p'}));
}

TEST_F(KtvSim, FaultsReachTheLoader) {
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        int loadResult;
    };
    for (const Case& c : {
             Case{"StatusForRecordTwo", {"--fault", "status:2:04"}, 10 + StatusProgramFailed},
             Case{"DropAtRecordTwo", {"--fault", "drop:2"}, ReplyPortError},
             Case{"OwnChannelStillHearsAll", {"--channel", "5"}, 0},
             Case{"Paced", {"--pace", "--delay-ms", "5"}, 0},
         }) {
        SCOPED_TRACE(c.name);
        KtvSimProcess sim(c.arguments);
        SerialPort port(openerFor(sim.terminalPath()));
        ASSERT_EQ(port.open(SerialSettings{}, 100, 100), 0);
        EXPECT_EQ(loadSmallProgram(port), c.loadResult);
    }
}

} // namespace
} // namespace quarvel
