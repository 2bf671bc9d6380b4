#pragma once

#include "cli/load_options.h"
#include "job/load_reporter.h"

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

namespace quarvel {

// A load's reporter on the command line: beside what the job reports, it ends the output when the
// load ends and keeps why it failed for the explanation on the error stream.
class LoadOutput : public LoadReporter {
public:
    // stopped tells that Ctrl-C was pressed.
    explicit LoadOutput(std::function<bool()> stopped) : m_stopped(std::move(stopped)) {}

    void failed(LoadFailure reason) override { m_failure = reason; }
    // line on the error stream, on a line of its own: never on the same line as a progress bar.
    virtual void errorLine(std::string_view line);
    // Ends the load's output; failed is true for a load that failed or was interrupted.
    virtual void finish(bool failed) = 0;
    // Why the load failed, once it has. Ctrl-C outweighs what the job saw: an interrupted load
    // fails on a port that stopped answering, which is not the device's fault.
    std::optional<LoadFailure> failure() const {
        return stopped() ? LoadFailure::Interrupted : m_failure;
    }

protected:
    bool stopped() const { return m_stopped(); }

private:
    std::function<bool()> m_stopped;
    std::optional<LoadFailure> m_failure;
};

// The output that options ask for: JSON events or the message lines with their percentage.
// stopped tells that Ctrl-C was pressed.
std::unique_ptr<LoadOutput> makeLoadOutput(const LoadOptions& options,
                                           std::function<bool()> stopped);

} // namespace quarvel
