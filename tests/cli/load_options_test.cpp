#include "cli/load_options.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarvel {
namespace {

// The port a `load --port TEXT` names: a COM number, or 0 with the error when it names none.
struct PortCase {
    const char* text;
    int portNumber;
};

TEST(LoadOptions, PortNumbersAreThoseOfTheSystem) {
#ifdef _WIN32
    const PortCase cases[] = {{"1", 1},        {"COM7", 7}, {"com12", 12}, {"255", 255},
                              {"COM255", 255}, {"256", 0},  {"COM0", 0}};
#else
    const PortCase cases[] = {{"1", 1}, {"COM7", 7}, {"9", 9}, {"10", 0}, {"COM0", 0}};
#endif
    for (const PortCase& c : cases) {
        std::vector<std::string> words{"a.a21", "--port", c.text};
        std::vector<char*> args;
        for (std::string& word : words) {
            args.push_back(word.data());
        }
        LoadOptions options;
        std::string error;
        const bool parsed = parseLoadOptions(args, {}, options, error);
        EXPECT_EQ(parsed, c.portNumber != 0) << c.text << ": " << error;
        if (parsed) {
            ASSERT_EQ(options.ports.size(), 1U) << c.text;
            EXPECT_EQ(options.ports.front().number, c.portNumber) << c.text;
        } else {
            EXPECT_EQ(error, "port number must be 1 to " + std::to_string(kHighestPortNumber) +
                                 ", or a device path: '" + c.text + "'");
        }
    }
}

} // namespace
} // namespace quarvel
