#include "image/srecord.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace quarvel {
namespace {

constexpr std::int32_t kUntouched = -12345;

struct ParseCase {
    const char* name;
    std::string line; // may hold a zero of its own, to show that nothing after it is read
    std::uint8_t result;
    std::int32_t recordLength;
};

// The longest record: count FFh, address 0000h, 252 zero bytes, checksum 00h.
std::string longestRecord() {
    return "S1FF0000" + std::string(2 * 252, '0') + "00";
}

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << c.name;
}

class ParseRecordTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseRecordTest, GivesResultAndLength) {
    const ParseCase& c = GetParam();
    // An exactly sized buffer, so that a read past the terminating zero leaves it.
    std::vector<char> line(c.line.begin(), c.line.end());
    line.push_back('\0');
    std::int32_t recordLength = kUntouched;
    EXPECT_EQ(parseRecord(line.data(), recordLength), c.result);
    EXPECT_EQ(recordLength, c.recordLength);
}

const ParseCase kParseCases[] = {
    {"Header", "S00600004844521B", RecordValid, 16},
    {"EndS8", "S804000000FB", RecordValid, 12},
    {"EndS9", "S9030000FC", RecordValid, 10},
    {"LowerCaseHexDigits", "S9030000fc", RecordValid, 10},
    {"BlanksAndCarriageReturnAfterRecord", "S9030000FC   \r", RecordValid, 10},
    {"AnyTextAfterRecord", "S9030000FCS1zz not a record", RecordValid, 10},
    {"OneDataByte", "S1041234AB0A", RecordValid, 12},
    {"Address24Bit", "S2050123450091", RecordValid, 14},
    {"LongestRecord", longestRecord(), RecordValid, 514},
    {"DigitClassUnchecked", "S903000GEC", RecordValid, 10},
    {"ChecksumOffByOne", "S9030000FD", RecordBadChecksum, 10},
    {"DataDigitChanged", "S1041234AC0A", RecordBadChecksum, 12},
    {"LowerCaseStart", "s9030000FC", RecordMalformed, kUntouched},
    {"NoStart", " S9030000FC", RecordMalformed, kUntouched},
    {"Empty", "", RecordMalformed, kUntouched},
    {"CorrectS3", "S30500000000FA", RecordMalformed, 14},
    {"CorrectS7", "S70500000000FA", RecordMalformed, 14},
    {"TypeNotDigit", "SX030000FC", RecordMalformed, 10},
    {"S5RightChecksum", "S5030004F8", RecordValid, 10},
    {"S5WrongChecksum", "S5030004ZZ", RecordValid, 10},
    {"OnlyStart", "S", RecordMalformed, kUntouched},
    {"OnlyStartAndType", "S9", RecordMalformed, kUntouched},
    {"HalfACount", "S90", RecordMalformed, kUntouched},
    {"OnlyCount", "S903", RecordMalformed, 10},
    {"ChecksumHalfMissing", "S9030000F", RecordMalformed, 10},
    {"DataMissing", "S1051234AB", RecordMalformed, 14},
    {"S5CutShort", "S503", RecordMalformed, 10},
    {"RecordGoesOnAfterZero",
     std::string("S903\0"
                 "0000FC",
                 11),
     RecordMalformed, 10},
    {"CountWithoutChecksumS9", "S9020000FD", RecordMalformed, 8},
    {"CountWithoutChecksumS2", "S2030000FCFF", RecordMalformed, 10},
    {"CountZeroS1", "S1000000", RecordMalformed, 4},
    {"CountZeroS5", "S500FF", RecordMalformed, 4},
};

INSTANTIATE_TEST_SUITE_P(Lines, ParseRecordTest, testing::ValuesIn(kParseCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quarvel
