#pragma once

#include "job/load_job.h"
#include "job/load_reporter.h"
#include "job_programs.h"
#include "tests/support/start_messages.h"

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace quarvel::test {

// Stands in for the loading dialog: keeps every line and percentage, answers the retry question
// from a list (Cancel once the list runs out).
class RecordingReporter final : public LoadReporter {
public:
    explicit RecordingReporter(std::vector<bool> answers = {})
        : m_answers(answers.begin(), answers.end()) {}

    void addMessage(std::string_view text) override { messages.emplace_back(text); }
    void setPercentage(int percent) override { percentages.push_back(percent); }
    bool askRetry() override;
    void failed(LoadFailure reason) override { failures.push_back(reason); }

    std::vector<std::string> messages;
    std::vector<LoadFailure> failures;
    std::vector<int> percentages;
    int questions = 0;

private:
    std::deque<bool> m_answers;
};

struct LoadOutcome {
    std::vector<std::string> messages;
    std::vector<int> percentages;
    std::vector<int> stepResults;
    int questions = 0;
    // Every reason the job gave; a sound load gives one exactly when it fails.
    std::vector<LoadFailure> failures;
    // The result of the last step: 0 done, 1 failed.
    int result = -1;
};

inline constexpr int kEveryChannel = 0x7F;

// Runs one load as the loading dialog does: reset, steps until one returns 0 or 1, clean-up.
// afterStep runs after each step, for tests that watch the device between steps.
LoadOutcome runLoad(LoadJob& job, const std::filesystem::path& file,
                    std::vector<bool> retryAnswers = {}, int channel = kEveryChannel,
                    const std::function<void()>& afterStep = {});

} // namespace quarvel::test
