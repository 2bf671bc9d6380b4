#include "e2e_programs.h"
#include "program_files.h"
#include "tests/support/child_process.h"
#include "tests/support/ktv_sim_process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <gtest/gtest.h>
#include <ostream>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel::test {
namespace {

std::size_t occurrences(const std::string& text, const std::string& phrase) {
    std::size_t count = 0;
    for (auto at = text.find(phrase); at != std::string::npos; at = text.find(phrase, at + 1)) {
        ++count;
    }
    return count;
}

// The small program as srec_cat wrote it, with the checksum of its third line broken.
std::filesystem::path brokenChecksum() {
    std::ifstream in(cliPrograms().small);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line.substr(0, line.find('\r')));
    }
    char& last = lines.at(2).back();
    last = last == '0' ? '1' : '0';
    return writeLines(testFolder(), "broken-checksum", lines);
}

std::filesystem::path small() {
    return cliPrograms().small;
}
std::filesystem::path boot() {
    return cliPrograms().boot;
}
std::filesystem::path missing() {
    return testFolder() / "missing.a21";
}

// "DEVICE" in port and says stands for the terminal of a ktv-sim started with deviceOptions.
struct ReasonCase {
    const char* name;
    std::filesystem::path (*file)();
    std::string port;
    std::vector<std::string> deviceOptions;
    std::vector<std::string> loadOptions;
    std::string says;
};

void PrintTo(const ReasonCase& c, std::ostream* out) {
    *out << c.name;
}

std::string replaced(std::string text, const std::string& device) {
    if (const auto at = text.find("DEVICE"); at != std::string::npos) {
        text.replace(at, 6, device);
    }
    return text;
}

class LoadReason : public testing::TestWithParam<ReasonCase> {};

TEST_P(LoadReason, IsSaidOnceOnStandardError) {
    const ReasonCase& c = GetParam();
    const auto folder = testFolder() / c.name;
    std::filesystem::create_directories(folder);
    std::unique_ptr<KtvSimProcess> device;
    if (c.port == "DEVICE") {
        device = std::make_unique<KtvSimProcess>(folder, c.deviceOptions);
    }
    const std::string port = device ? device->terminalPath() : c.port;
    std::vector<std::string> argv{QUARVEL_CLI,  "load", c.file().string(), "--port", port,
                                  "--progress", "none"};
    argv.insert(argv.end(), c.loadOptions.begin(), c.loadOptions.end());

    const Finished run = runProgram(argv);

    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(splitLines(run.out).back(), "Error!") << "the message lines stay on the output";
    const std::string says = replaced(c.says, port);
    EXPECT_EQ(occurrences(run.err, says), 1U) << run.err;
    EXPECT_EQ(occurrences(run.err, "quarvel-cli load: "), 1U) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadReason,
    testing::Values(
        ReasonCase{"PathDoesNotExist",
                   small,
                   "/nonexistent/ttyQ",
                   {},
                   {},
                   "cannot open /nonexistent/ttyQ: it does not exist"},
        ReasonCase{"NotASerialPort",
                   small,
                   "/dev/null",
                   {},
                   {},
                   "cannot open /dev/null: it is not a serial port"},
        ReasonCase{"FileMissing", missing, "DEVICE", {}, {}, "missing.a21: no such file"},
        ReasonCase{"FileRefused",
                   brokenChecksum,
                   "DEVICE",
                   {},
                   {},
                   "broken-checksum.a21: refused: line 3 has a wrong checksum"},
        ReasonCase{"BootSector",
                   boot,
                   "DEVICE",
                   {},
                   {},
                   "refused: it writes the boot sector, which a load writes only with --boot"},
        ReasonCase{"SilentDevice",
                   small,
                   "DEVICE",
                   {"--fault", "silent"},
                   {"-c", "3"},
                   "the frames went out on channel 3 on DEVICE; --channel all reaches a device "
                   "on any channel"}),
    [](const testing::TestParamInfo<ReasonCase>& info) { return info.param.name; });

TEST(LoadReason, PortInUseSaysAnotherProgramHoldsIt) {
    const auto folder = testFolder() / "port-in-use";
    std::filesystem::create_directories(folder);
    // Silent about the erase: the holder's load cannot end before the second one tries the port.
    KtvSimProcess device(folder, {"--fault", "no-erase"});
    RunningProgram holder({QUARVEL_CLI, "load", cliPrograms().spread.string(), "--port",
                           device.terminalPath(), "--progress", "none"});
    std::string line;
    while (holder.readLine(line) && line != "PC RS232 opened") {
    }
    ASSERT_EQ(line, "PC RS232 opened") << holder.errorText();

    const Finished run = runProgram({QUARVEL_CLI, "load", cliPrograms().small.string(), "--port",
                                     device.terminalPath(), "--progress", "none"});
    holder.signal(SIGINT);
    holder.wait();

    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(
        occurrences(run.err, "cannot open " + device.terminalPath() + ": another program holds it"),
        1U)
        << run.err;
}

constexpr const char* kSetpriv = "/usr/bin/setpriv";

// A pseudo-terminal's device node that the running user may not open: as root, a copy of it
// owned by root and group dialout, opened by user nobody; otherwise the terminal itself with
// every permission taken away.
TEST(LoadReason, PermissionDeniedNamesTheGroupAndHowToJoinIt) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string terminal = ::ptsname(master);
    std::vector<std::string> argv{QUARVEL_CLI, "load", cliPrograms().small.string(), "--port"};
    std::string node = terminal;
    if (::geteuid() == 0) {
        const group* dialout = ::getgrnam("dialout");
        if (!std::filesystem::exists(kSetpriv) || dialout == nullptr) {
            ::close(master);
            GTEST_SKIP() << "running as root without " << kSetpriv << " or group dialout: no "
                         << "honest way to be refused a device";
        }
        struct stat status {};
        ASSERT_EQ(::stat(terminal.c_str(), &status), 0);
        node = (testFolder() / "locked-tty").string();
        std::filesystem::remove(node);
        if (::mknod(node.c_str(), S_IFCHR | 0660, status.st_rdev) != 0 ||
            ::chown(node.c_str(), 0, dialout->gr_gid) != 0) {
            ::close(master);
            GTEST_SKIP() << "running as root where device nodes cannot be made: " << errno;
        }
        argv.insert(argv.begin(), {kSetpriv, "--reuid=65534", "--regid=65534", "--clear-groups"});
    } else {
        ASSERT_EQ(::chmod(terminal.c_str(), 0), 0);
    }
    argv.push_back(node);

    const Finished run = runProgram(argv);
    ::close(master);

    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(occurrences(run.err, "cannot open " + node + ": permission denied"), 1U) << run.err;
    EXPECT_EQ(occurrences(run.err, "sudo usermod -aG "), 1U) << run.err;
    if (::geteuid() == 0) {
        EXPECT_NE(run.err.find("belongs to group dialout; join it with \"sudo usermod -aG dialout "
                               "$USER\", then log in again"),
                  std::string::npos)
            << run.err;
    }
}

} // namespace
} // namespace quarvel::test
