#include "cli/json_writer.h"

#include <gtest/gtest.h>
#include <ostream>

namespace quarvel {
namespace {

struct EscapeCase {
    const char* name;
    std::string text;
    std::string json;
};

void PrintTo(const EscapeCase& c, std::ostream* out) {
    *out << c.name;
}

class JsonString : public testing::TestWithParam<EscapeCase> {};

TEST_P(JsonString, EscapesWhatJsonForbidsAndKeepsTheRest) {
    EXPECT_EQ(jsonString(GetParam().text), GetParam().json);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JsonString,
    testing::Values(
        EscapeCase{"Empty", "", R"("")"},
        EscapeCase{"QuoteAndBackslash", R"(say "C:\dev")", R"("say \"C:\\dev\"")"},
        EscapeCase{"LineEnds", "a\r\nb\t", R"("a\r\nb\t")"},
        EscapeCase{"OtherControlCharacters", std::string("\x01\x1f\0", 3),
                   R"("\u0001\u001f\u0000")"},
        EscapeCase{"Utf8PassesThrough", "Gerät ø", R"("Gerät ø")"},
        EscapeCase{"FourByteCharacterPassesThrough", "\xF0\x9F\x98\x80", "\"\xF0\x9F\x98\x80\""},
        EscapeCase{"Latin1ByteIsReplaced", "Ger\xE4t", "\"Ger\uFFFDt\""},
        EscapeCase{"StrayContinuationByteIsReplaced", "a\x80", "\"a\uFFFD\""},
        EscapeCase{"CutSequenceIsReplacedAndTheRestKept", "\xE2\x82z", "\"\uFFFD\uFFFDz\""},
        EscapeCase{"OverlongSlashIsReplaced", "\xC0\xAF", "\"\uFFFD\uFFFD\""},
        EscapeCase{"SurrogateIsReplaced", "\xED\xA0\x80", "\"\uFFFD\uFFFD\uFFFD\""},
        EscapeCase{"BeyondTheLastCodePointIsReplaced", "\xF4\x90\x80\x80",
                   "\"\uFFFD\uFFFD\uFFFD\uFFFD\""}),
    [](const testing::TestParamInfo<EscapeCase>& info) { return info.param.name; });

TEST(JsonObjectTest, JoinsMembersInOrderWithNullForTheUnknown) {
    JsonObject object;
    object.add("event", "result").add("percent", std::int64_t{42}).add("ok", false);
    object.addOrNull("reason", std::nullopt).addOrNull("port", std::string("/dev/a\"b"));
    EXPECT_EQ(object.text(),
              R"({"event":"result","percent":42,"ok":false,"reason":null,"port":"/dev/a\"b"})");
}

} // namespace
} // namespace quarvel
