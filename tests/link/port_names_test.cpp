#include "link/port_names.h"

#include <gtest/gtest.h>

namespace quarvel {
namespace {

TEST(PortNames, PortNumbersCountFromOne) {
    struct Case {
        int portNumber;
        const char* name;
    };
#ifdef _WIN32
    for (const Case& c : {Case{1, "COM1"}, Case{9, "COM9"}, Case{12, "COM12"}}) {
#else
    for (const Case& c : {Case{1, "/dev/ttyS0"}, Case{2, "/dev/ttyS1"}, Case{12, "/dev/ttyS11"}}) {
#endif
        EXPECT_EQ(defaultPortDeviceName(c.portNumber), c.name);
    }
}

} // namespace
} // namespace quarvel
