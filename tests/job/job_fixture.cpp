#include "job_fixture.h"

#include "program_files.h"

#include <gtest/gtest.h>

namespace quarvel::test {

bool RecordingReporter::askRetry() {
    ++questions;
    if (m_answers.empty()) {
        return false;
    }
    const bool answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

LoadOutcome runLoad(LoadJob& job, const std::filesystem::path& file, std::vector<bool> retryAnswers,
                    int channel, const std::function<void()>& afterStep) {
    RecordingReporter reporter(std::move(retryAnswers));
    LoadOutcome outcome;
    job.reset();
    // A bound on the steps keeps a faulty job from hanging the suite.
    for (int steps = 0; steps < 10000; ++steps) {
        const int result = job.step(file.string(), 1, channel, reporter);
        outcome.stepResults.push_back(result);
        if (afterStep) {
            afterStep();
        }
        if (result != StepAgain) {
            outcome.result = result;
            break;
        }
    }
    job.cleanUp();
    outcome.messages = reporter.messages;
    outcome.percentages = reporter.percentages;
    outcome.questions = reporter.questions;
    outcome.failures = reporter.failures;
    // Every load of every test: a reason exactly when, and only once, the load fails.
    EXPECT_EQ(outcome.failures.size(), outcome.result == StepFailed ? 1U : 0U);
    return outcome;
}

const Programs& programs() {
    static const Programs files = [] {
        const auto& folder = testFolder();
        Programs made;
        made.small = writeProgram(folder, "small", {{{0x4000, patternBytes(64, 1)}}});
        made.spread = writeProgram(folder, "spread",
                                   {{{0x4000, patternBytes(256, 2)},
                                     {0x6000, patternBytes(256, 3)},
                                     {0x10000, patternBytes(256, 4)},
                                     {0x7FF00, patternBytes(256, 5)}},
                                    32,
                                    3});
        made.boot = writeProgram(folder, "boot", {{{0x0100, patternBytes(32, 6)}}});
        made.twentyFive =
            writeProgram(folder, "twentyfive", {{{0x8000, patternBytes(23 * 16, 7)}}});
        made.lineFeeds =
            writeProgram(folder, "linefeeds", {{{0x4000, patternBytes(64, 1)}}, 16, 2, false});
        return made;
    }();
    return files;
}

} // namespace quarvel::test
