#pragma once

#include "cli/load_output.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace quarvel {

// What a station records of one unit's load beside its outcome.
struct UnitFacts {
    // The type number the device answered with; nothing when it did not answer the identify frame.
    std::optional<int> deviceType;
    // Records sent again after the device refused them or did not answer.
    int retries = 0;
    // How long each step of the load took, in milliseconds; nothing for a step not reached.
    std::optional<std::int64_t> searchMs;
    std::optional<std::int64_t> eraseMs;
    std::optional<std::int64_t> transferMs;
};

// Passes a load's reports on to the unit's own output and notes on the way what the unit's
// record tells: the device's type, the retries and when each step began and ended.
class UnitWatch final : public LoadOutput {
public:
    // clockMs reads a monotonic clock in milliseconds.
    UnitWatch(LoadOutput& output, std::function<std::int64_t()> clockMs,
              std::function<bool()> stopped);

    void addMessage(std::string_view text) override;
    void setPercentage(int percent) override;
    bool askRetry() override;
    void failed(LoadFailure reason) override;
    void errorLine(std::string_view line) override;
    void finish(bool failed) override;

    const UnitFacts& facts() const { return m_facts; }

private:
    // Ends the step under way, if any, and starts step (nullptr for none).
    void beginStep(std::optional<std::int64_t>* step);

    LoadOutput& m_output;
    std::function<std::int64_t()> m_clockMs;
    UnitFacts m_facts;
    std::optional<std::int64_t>* m_step = nullptr;
    std::int64_t m_stepStartMs = 0;
};

} // namespace quarvel
