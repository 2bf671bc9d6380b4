#include "cli/trace_channel.h"
#include "tests/support/scripted_channel.h"

#include <array>
#include <gtest/gtest.h>
#include <string>

namespace quarvel::test {
namespace {

// Replies read byte by byte become one line each: up to their F7, a pause, a write or a failure.
TEST(TraceChannelTest, WritesOneLinePerFrameAndPerReply) {
    auto script = std::make_shared<Script>();
    script->arrivals = {{10, 0xF0}, {10, 0x01},  {10, 0xF7},  {10, 0xF0},  {10, 0x02},
                        {10, 0xF7}, {500, 0x42}, {700, 0x43}, {720, 0x44}, {1000, -2}};
    std::string log;
    const auto keep = [&log](std::string_view text) { log.append(text).push_back('\n'); };
    auto line = tracingOpener(scriptedOpener(script), keep, "COM3")(SerialSettings{});
    ASSERT_NE(line, nullptr);

    const std::array<std::uint8_t, 4> frame{0xF0, 0x00, 0x1B, 0xF7};
    EXPECT_TRUE(line->write(frame));
    std::vector<int> values;
    for (int value = 0; value != -2 && values.size() < 20;) {
        value = line->readByte();
        values.push_back(value);
        if (value == 0x43) {
            EXPECT_TRUE(line->write(std::array<std::uint8_t, 1>{0xFE}));
        }
    }
    line.reset();

    EXPECT_EQ(script->written, (std::vector<std::uint8_t>{0xF0, 0x00, 0x1B, 0xF7, 0xFE}));
    EXPECT_EQ(values, (std::vector<int>{0xF0, 0x01, 0xF7, 0xF0, 0x02, 0xF7, -1, -1, -1, -1, 0x42,
                                        -1, 0x43, 0x44, -1, -1, -2}));
    EXPECT_EQ(log, "trace COM3       0 ms > F0 00 1B F7\n"
                   "trace COM3      10 ms < F0 01 F7\n"
                   "trace COM3      10 ms < F0 02 F7\n"
                   "trace COM3     500 ms < 42\n"
                   "trace COM3     700 ms < 43\n"
                   "trace COM3     700 ms > FE\n"
                   "trace COM3     720 ms < 44\n"
                   "trace COM3    1000 ms ! read failed\n");
}

} // namespace
} // namespace quarvel::test
