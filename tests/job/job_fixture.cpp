#include "job_fixture.h"

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

} // namespace quarvel::test
