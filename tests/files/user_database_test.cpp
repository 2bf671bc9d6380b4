#include "files/user_database.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace quarvel::test {
namespace {

// The first line a shell command prints, without its line feed.
std::string firstLineOf(const std::string& command) {
    std::FILE* pipe = ::popen(command.c_str(), "r");
    std::array<char, 4096> line{};
    const bool read = pipe != nullptr && std::fgets(line.data(), line.size(), pipe) != nullptr;
    if (pipe != nullptr) {
        ::pclose(pipe);
    }
    std::string text = read ? line.data() : "";
    return text.substr(0, text.find('\n'));
}

// getent and id read the same databases on their own: what each lookup answers, they print.
TEST(UserDatabase, AnswersWhatTheSystemToolsPrint) {
    const std::string uid = std::to_string(::getuid());
    EXPECT_EQ(homeFolderOfUser().string(), firstLineOf("getent passwd " + uid + " | cut -d: -f6"));
    EXPECT_EQ(groupName(::getgid()).value_or("none"), firstLineOf("id -gn"));
}

} // namespace
} // namespace quarvel::test
