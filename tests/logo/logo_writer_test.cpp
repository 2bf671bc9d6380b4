#include "logo/logo_writer.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarvel {
namespace {

class RecordingOutput final : public LogoLineOutput {
public:
    void writeLine(std::string_view line) override { lines.emplace_back(line); }
    std::vector<std::string> lines;
};

TEST(AppendHexByte, WritesTwoUpperCaseDigitsWhereTheyFit) {
    struct Case {
        const char* name;
        std::uint8_t byte;
        std::size_t room;
        std::size_t start;
        std::string text;
        std::size_t end;
    };
    const Case cases[] = {
        {"zero", 0x00, 4, 0, "00..", 2},
        {"low digit is a letter", 0x0F, 4, 0, "0F..", 2},
        {"letters are upper case", 0xAB, 4, 2, "..AB", 4},
        {"all bits", 0xFF, 2, 0, "FF", 2},
        {"no room for the second digit", 0x12, 3, 2, "...", 2},
        {"position already past the end", 0x12, 3, 5, "...", 5},
    };
    for (const Case& c : cases) {
        std::string text(c.room, '.');
        std::size_t position = c.start;
        appendHexByte(c.byte, text, position);
        EXPECT_EQ(text, c.text) << c.name;
        EXPECT_EQ(position, c.end) << c.name;
    }
}

TEST(LogoWriter, DataRecordsCountTheirAddressFromTheConvertedLogo) {
    LogoWriter writer;
    RecordingOutput output;
    const std::array<std::uint8_t, 16> header = {0x6C, 0x6F, 0x67, 0x6F, 0x06, 0x72};
    std::array<std::uint8_t, 16> data{};
    writer.writeDataRecord(header, output);
    writer.writeDataRecord(data, output);
    data[0] = 0x01;
    writer.writeDataRecord(data, output);
    writer.reset();
    data = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
            0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
    writer.writeDataRecord(data, output);
    const std::vector<std::string> expected = {
        "S11363906C6F676F067200000000000000000000D0",
        "S11363A000000000000000000000000000000000E9",
        "S11363B001000000000000000000000000000000D8",
        "S113639000112233445566778899AABBCCDDEEFF01",
    };
    EXPECT_EQ(output.lines, expected);
}

} // namespace
} // namespace quarvel
