#include "cli/failure_explanation.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>
#include <ostream>

namespace quarvel {
namespace {

using test::TemporaryFolder;

// What the error stream says of a failed load, from its reason and the file it loaded.
struct ExplanationCase {
    const char* name;
    LoadFailure reason;
    std::vector<std::string> fileLines;
    // Words the explanation holds, and words it must not hold.
    std::string says;
    std::string doesNotSay;
};

void PrintTo(const ExplanationCase& c, std::ostream* out) {
    *out << c.name;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

class FailureExplanation : public testing::TestWithParam<ExplanationCase> {};

TEST_P(FailureExplanation, SaysWhatWentWrong) {
    const ExplanationCase& c = GetParam();
    const TemporaryFolder folder;
    const std::string file = folder.write(std::string(c.name) + ".a21", joined(c.fileLines));
    FailureFacts facts{"port 3", file, false, 2, std::nullopt};

    const std::vector<std::string> lines = explainFailure(c.reason, facts);

    const std::string text = joined(lines);
    EXPECT_NE(text.find(c.says), std::string::npos) << text;
    EXPECT_EQ(text.find(c.doesNotSay), std::string::npos) << text;
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    }
}

const std::vector<std::string> kSound{"S00600004844521B", "S1044000AA11", "S9030000FC"};

INSTANTIATE_TEST_SUITE_P(
    Cases, FailureExplanation,
    testing::Values(
        ExplanationCase{"EndRecordWithAWrongChecksum",
                        LoadFailure::File,
                        {"S00600004844521B", "S1044000AA11", "S9030000FB"},
                        "line 3",
                        "changed"},
        ExplanationCase{"LowerCaseEndRecord",
                        LoadFailure::File,
                        {"S00600004844521B", "S1044000AA11", "S1044001AA10", "s9030000FC"},
                        "line 4",
                        "changed"},
        ExplanationCase{"SoundFileThatFailedAnyway", LoadFailure::File, kSound, "changed", "line"},
        ExplanationCase{"DeviceThatAnsweredWrongly", LoadFailure::WrongAnswer, kSound, "answered",
                        "cable"},
        ExplanationCase{"DeviceThatDidNotAnswer", LoadFailure::Device, kSound, "channel 3",
                        "answered"},
        ExplanationCase{"PortThatFailedAfterOpening", LoadFailure::Port, kSound, "port 3",
                        "cannot open"}),
    [](const testing::TestParamInfo<ExplanationCase>& info) { return info.param.name; });

} // namespace
} // namespace quarvel
