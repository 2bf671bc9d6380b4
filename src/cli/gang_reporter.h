#pragma once

#include "cli/gang_output.h"
#include "cli/load_options.h"
#include "cli/load_output.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

namespace quarvel {

// One load of a gang on the shared terminal: its lines under its port's name, the retry
// question answered by policy, as nobody can answer several loads at once.
class GangReporter final : public LoadOutput {
public:
    GangReporter(GangOutput& output, std::size_t load, RetryPolicy retry,
                 std::function<bool()> stopped);

    void addMessage(std::string_view text) override;
    void setPercentage(int percent) override;
    bool askRetry() override;
    void errorLine(std::string_view line) override;

    // "PORT: Error!" after a failed load.
    void finish(bool failed) override;

private:
    GangOutput& m_output;
    std::size_t m_load;
    RetryPolicy m_retry;
};

// The output of one load of a gang that options ask for: JSON events that carry the port, or
// the lines on the shared terminal.
std::unique_ptr<LoadOutput> makeGangLoadOutput(const LoadOptions& options, GangOutput& output,
                                               std::size_t load, std::function<bool()> stopped);

} // namespace quarvel
