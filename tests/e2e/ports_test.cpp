#include "e2e_programs.h"
#include "program_files.h"
#include "tests/support/child_process.h"
#include "tests/support/file_contents.h"
#include "tests/support/ktv_sim_process.h"

#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <unistd.h>

namespace quarvel::test {
namespace {

// "PRESENT" stands for a pseudo-terminal that exists while the command runs.
struct PortsCase {
    const char* name;
    std::vector<std::string> options;
    // How every line of a port the system reports starts.
    std::string systemPortStart;
    Lines mappings;
};

void PrintTo(const PortsCase& c, std::ostream* out) {
    *out << c.name;
}

class Ports : public testing::TestWithParam<PortsCase> {};

TEST_P(Ports, ListsTheSystemsPortsThenTheSettingsMappings) {
    const PortsCase& c = GetParam();
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    const std::string present = ::ptsname(master);
    const auto config = testFolder() / (std::string("ports-") + c.name);
    std::filesystem::create_directories(config);
    std::ofstream(config / "quarvel.INI")
        << "[Ports]\r\nCOM2=" << present << "\r\nCOM7=/nonexistent/ttyUSB9\r\n";
    std::vector<std::string> argv{QUARVEL_CLI, "ports"};
    argv.insert(argv.end(), c.options.begin(), c.options.end());

    const Finished run = runProgram(argv, "", {"XDG_CONFIG_HOME=" + config.string()});
    ::close(master);

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    Lines lines = splitLines(run.out);
    ASSERT_GE(lines.size(), c.mappings.size()) << run.out;
    const Lines systemPorts(lines.begin(), lines.end() - static_cast<long>(c.mappings.size()));
    for (const std::string& line : systemPorts) {
        EXPECT_EQ(line.rfind(c.systemPortStart, 0), 0U) << line;
    }
    Lines expected;
    for (const std::string& mapping : c.mappings) {
        const auto at = mapping.find("PRESENT");
        expected.push_back(at == std::string::npos
                               ? mapping
                               : mapping.substr(0, at) + present + mapping.substr(at + 7));
    }
    EXPECT_EQ(Lines(lines.end() - static_cast<long>(c.mappings.size()), lines.end()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Ports,
    testing::Values(
        PortsCase{"Plain", {}, "/dev/", {"COM2: PRESENT", "COM7: /nonexistent/ttyUSB9 missing"}},
        PortsCase{"Json",
                  {"--json"},
                  "{\"port\":\"/dev/",
                  {"{\"com\":2,\"device\":\"PRESENT\",\"missing\":false}",
                   "{\"com\":7,\"device\":\"/nonexistent/ttyUSB9\",\"missing\":true}"}}),
    [](const testing::TestParamInfo<PortsCase>& info) { return info.param.name; });

// A --port that names one device under several spellings: the settings map COM2 and the name
// bench-left to /dev/null, and "LINK" stands for a symbolic link to it.
struct SameDeviceCase {
    const char* name;
    std::string first;
    std::string second;
    // 2 refused before anything opens; 1 both tried, as /dev/null and /dev/zero are no ports.
    int exitCode;
};

void PrintTo(const SameDeviceCase& c, std::ostream* out) {
    *out << c.name;
}

class SameDevice : public testing::TestWithParam<SameDeviceCase> {};

TEST_P(SameDevice, TwoPortsOnOneDeviceAreRefusedWhateverTheirSpelling) {
    const SameDeviceCase& c = GetParam();
    const auto config = testFolder() / (std::string("same-device-") + c.name);
    std::filesystem::create_directories(config);
    std::ofstream(config / "quarvel.INI") << "[Ports]\nCOM2=/dev/null\nbench-left=/dev/null\n";
    const auto link = config / "link";
    std::filesystem::remove(link);
    std::filesystem::create_symlink("/dev/null", link);
    const auto spelt = [&link](const std::string& port) {
        return port == "LINK" ? link.string() : port;
    };

    const Finished run =
        runProgram({QUARVEL_CLI, "load", "a.a21", "-p", spelt(c.first), "-p", spelt(c.second)}, "",
                   {"XDG_CONFIG_HOME=" + config.string()});

    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_EQ(run.err.find("name one device") != std::string::npos, c.exitCode == 2) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SameDevice,
    testing::Values(SameDeviceCase{"LinkAndTarget", "LINK", "/dev/null", 2},
                    SameDeviceCase{"ComNumberAndItsDevice", "/dev/null", "2", 2},
                    SameDeviceCase{"AliasAndItsDevice", "bench-left", "/dev/null", 2},
                    SameDeviceCase{"AliasAndComNumber", "bench-left", "COM2", 2},
                    SameDeviceCase{"TwoSpellingsOfAPath", "/dev/null", "/dev/../dev/null", 2},
                    SameDeviceCase{"TwoDevices", "/dev/null", "/dev/zero", 1}),
    [](const testing::TestParamInfo<SameDeviceCase>& info) { return info.param.name; });

// Stand-in devices mapped as COM2, COM3 ...: "answers" one that answers, "silent" one that does
// not, "held" one that answers but whose port another program holds open.
struct AutoPortCase {
    const char* name;
    std::vector<std::string> devices;
    int exitCode;
    std::string says;
};

void PrintTo(const AutoPortCase& c, std::ostream* out) {
    *out << c.name;
}

class AutoPort : public testing::TestWithParam<AutoPortCase> {};

TEST_P(AutoPort, LoadsOnlyWhenExactlyOneDeviceAnswers) {
    const AutoPortCase& c = GetParam();
    const auto config = testFolderFor(std::string("auto-port-") + c.name);
    std::vector<std::unique_ptr<KtvSimProcess>> devices;
    std::vector<int> held;
    std::ofstream settings(config / "quarvel.INI");
    settings << "[Ports]\n";
    for (std::size_t i = 0; i < c.devices.size(); ++i) {
        const std::string& kind = c.devices[i];
        const auto folder = config / std::to_string(i);
        std::filesystem::create_directories(folder);
        std::vector<std::string> options{"--received-out", (folder / "received").string()};
        if (kind == "silent") {
            options.insert(options.end(), {"--fault", "silent"});
        }
        devices.push_back(std::make_unique<KtvSimProcess>(folder, options));
        settings << "COM" << i + 2 << "=" << devices.back()->terminalPath() << "\n";
        if (kind == "held") {
            held.push_back(::open(devices.back()->terminalPath().c_str(), O_RDWR | O_NOCTTY));
        }
    }
    settings.close();

    const Finished run =
        runProgram({QUARVEL_CLI, "load", cliPrograms().small.string(), "--port", "auto"}, "",
                   {"XDG_CONFIG_HOME=" + config.string()});

    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        devices[i]->stopAndReadFlash();
        const std::string received = fileText(config / std::to_string(i) / "received");
        if (c.devices[i] == "held") {
            EXPECT_EQ(received, "") << "a port another program holds is never written to";
        } else {
            EXPECT_NE(received, "") << "every free port is searched";
        }
    }
    for (const int fd : held) {
        ::close(fd);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AutoPort,
    testing::Values(
        AutoPortCase{"NoDevice", {"silent"}, 1, "no device answers on any port"},
        AutoPortCase{"OneDevice", {"silent", "answers"}, 0, "the one port where a device answers"},
        AutoPortCase{"TwoDevices", {"answers", "answers"}, 1, "more than one port"},
        AutoPortCase{"HeldDeviceIsLeftAlone", {"held", "silent"}, 1, "no device answers"}),
    [](const testing::TestParamInfo<AutoPortCase>& info) { return info.param.name; });

} // namespace
} // namespace quarvel::test
