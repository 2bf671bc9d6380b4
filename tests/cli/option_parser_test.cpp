#include "cli/option_parser.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace quarvel {
namespace {

constexpr OptionSpec kOptions[] = {
    {"--boot", 'b'}, {"--json"}, {"--port", 'p', true, true}, {"--channel", 'c', true}};
constexpr std::string_view kOperands[] = {"FILE"};

// A command line, and what it gives: "help", the options as "--name=value" words and then the
// operands, or the error.
struct GrammarCase {
    const char* name;
    std::vector<std::string> words;
    std::vector<std::string> gives;
    std::string error;
};

void PrintTo(const GrammarCase& c, std::ostream* out) {
    *out << c.name;
}

class OptionGrammar : public testing::TestWithParam<GrammarCase> {};

TEST_P(OptionGrammar, ReadsTheWordsOrSaysWhatIsWrong) {
    const GrammarCase& c = GetParam();
    std::vector<std::string> words = c.words;
    std::vector<char*> args;
    for (std::string& word : words) {
        args.push_back(word.data());
    }
    ParsedArguments parsed;
    std::string error;

    const bool ok = parseArguments(args, {kOptions, kOperands}, parsed, error);

    EXPECT_EQ(error, c.error);
    ASSERT_EQ(ok, c.error.empty());
    if (!ok) {
        return;
    }
    std::vector<std::string> gives;
    if (parsed.helpWanted) {
        gives.emplace_back("help");
    }
    for (const GivenOption& option : parsed.options) {
        gives.push_back(std::string(option.name) + "=" + option.value);
    }
    gives.insert(gives.end(), parsed.operands.begin(), parsed.operands.end());
    EXPECT_EQ(gives, c.gives);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OptionGrammar,
    testing::Values(
        GrammarCase{"HelpBeatsAFault", {"a", "b", "-h"}, {"help"}, ""},
        GrammarCase{
            "DashHAsAPortIsAForgottenValue", {"a", "--port", "-h"}, {}, "--port needs a value"},
        GrammarCase{
            "DashHAsAShortPortIsAForgottenValue", {"a", "-p", "-h"}, {}, "--port needs a value"},
        GrammarCase{
            "OptionAsAValueIsAForgottenValue", {"a", "-p", "--json"}, {}, "--port needs a value"},
        GrammarCase{"DashHAttachedIsAValue", {"a", "--port=-h"}, {"--port=-h", "a"}, ""},
        GrammarCase{"BundledFlagThenValueInTheNextWord",
                    {"-bp", "3", "a"},
                    {"--boot=", "--port=3", "a"},
                    ""},
        GrammarCase{
            "BundledFlagThenValueAttached", {"a", "-bp3"}, {"--boot=", "--port=3", "a"}, ""},
        GrammarCase{"ValueTakesTheRestOfTheWord", {"a", "-pb"}, {"--port=b", "a"}, ""},
        GrammarCase{"BundledFlagTwice", {"a", "-bb"}, {}, "--boot is given more than once"},
        GrammarCase{"BundledUnknownLetter", {"a", "-bx"}, {}, "unknown option '-x' in '-bx'"},
        GrammarCase{"BundledValueAtTheEnd", {"a", "-bc"}, {}, "--channel needs a value"}),
    [](const testing::TestParamInfo<GrammarCase>& info) { return info.param.name; });

} // namespace
} // namespace quarvel
