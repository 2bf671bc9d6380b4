#include "tests/support/temporary_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

namespace {

struct Case {
    const char* name;
    const char* command;
    int exitCode;
};

const Case kCases[] = {
    {"success_is_passed_on", "true", 0},
    {"failure_is_passed_on", "false", 1},
    {"a_program_that_cannot_start", "/nonexistent/program", 127},
};

TEST(ChildUsage, ReportsTheChildAndPassesOnItsExitCode) {
    const quarvel::test::TemporaryFolder folder;
    const auto report = folder.path() / "report";
    for (const Case& test : kCases) {
        SCOPED_TRACE(test.name);
        std::filesystem::remove(report);
        const std::string command = std::string(CHILD_USAGE_PATH) + " '" + report.string() + "' " +
                                    test.command + " 2>/dev/null";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), test.exitCode);

        std::ifstream file(report);
        double seconds = -1;
        long kib = -1;
        file >> seconds >> kib;
        EXPECT_TRUE(file) << "no report of two numbers";
        EXPECT_GE(seconds, 0.0);
        EXPECT_GT(kib, 0);
    }
}

TEST(ChildUsage, RefusesAMissingCommand) {
    const std::string command = std::string(CHILD_USAGE_PATH) + " report-only 2>/dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
}

} // namespace
