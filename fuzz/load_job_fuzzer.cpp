// A whole load, LoadJob::step after LoadJob::step, against a device whose replies are the input.
//
// Input: the operator's answers to the retry question (bit n for question n, 1 for "Try Again";
// after eight questions the answer is "Cancel"), a channel choice, then the reply stream as
// PlayedLine reads it. The program file is a small fixed one.
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input_file.h"
#include "fuzz/played_line.h"
#include "job/load_job.h"

#include <string>
#include <string_view>

namespace {

using namespace quarvel;

constexpr std::string_view kProgram = "S00600004844521B\r\n"
                                      "S1058000010277\r\n"
                                      "S5030001FB\r\n"
                                      "S9030000FC\r\n";
constexpr int kEveryChannel = 0x7F;
constexpr int kQuestionsAnswered = 8;
// Steps that read no reply: the start-up's failures, and a "Try Again" per answered question.
constexpr std::size_t kStepsWithoutReplies = 2 + kQuestionsAnswered;

class Operator final : public LoadReporter {
public:
    explicit Operator(std::uint8_t answers) : m_answers(answers) {}

    void addMessage(std::string_view text) override {
        FUZZ_CHECK(!text.empty());
        lastMessage = text;
    }
    void setPercentage(int percent) override { FUZZ_CHECK(percent >= 0); }
    bool askRetry() override {
        const bool tryAgain = m_questions < kQuestionsAnswered && ((m_answers >> m_questions) & 1);
        ++m_questions;
        return tryAgain;
    }

    std::string lastMessage;

private:
    std::uint8_t m_answers;
    int m_questions = 0;
};

const std::string& programPath() {
    static const quarvel::fuzzing::FuzzInputFile program(".a21");
    static const bool written =
        program.write({reinterpret_cast<const std::uint8_t*>(kProgram.data()), kProgram.size()});
    FUZZ_CHECK(written);
    return program.path();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::string& program = programPath();
    Operator reporter(data[0]);
    const int channel = data[1] % 17 == 16 ? kEveryChannel : data[1] % 17;
    quarvel::fuzzing::PlayedLine line({data + 2, size - 2});

    LoadJob job(line.opener(), false);
    job.reset();
    int result = StepAgain;
    std::size_t steps = 0;
    while (result == StepAgain) {
        result = job.step(program, 1, channel, reporter);
        ++steps;
        // Every step but a few reads at least one reply, and a reply takes bytes of the input.
        FUZZ_CHECK(steps <= size + kStepsWithoutReplies);
    }
    FUZZ_CHECK(result == StepDone || result == StepFailed);
    if (result == StepDone) {
        FUZZ_CHECK(reporter.lastMessage == "Loading complete. No errors");
    }
    job.cleanUp();
    FUZZ_CHECK(!job.holdsResources());
    return 0;
}
