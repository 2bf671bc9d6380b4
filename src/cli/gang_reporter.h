#pragma once

#include "cli/gang_output.h"
#include "cli/load_options.h"
#include "job/load_reporter.h"

#include <cstddef>
#include <functional>
#include <optional>

namespace quarvel {

// One load of a gang on the shared terminal: its lines under its port's name, the retry
// question answered by policy, as nobody can answer several loads at once.
class GangReporter final : public LoadReporter {
public:
    GangReporter(GangOutput& output, std::size_t load, RetryPolicy retry,
                 std::function<bool()> stopped);

    void addMessage(std::string_view text) override;
    void setPercentage(int percent) override;
    bool askRetry() override;
    void failed(LoadFailure reason) override;

    // Why the load failed: what the job told, or Ctrl-C, which outweighs it and which is the
    // only way a load ends without either result.
    LoadFailure failure() const;

private:
    GangOutput& m_output;
    std::size_t m_load;
    RetryPolicy m_retry;
    std::function<bool()> m_stopped;
    std::optional<LoadFailure> m_failure;
};

} // namespace quarvel
