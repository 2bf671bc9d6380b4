#include "program_files.h"
#include "tests/support/child_process.h"

#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
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

} // namespace
} // namespace quarvel::test
