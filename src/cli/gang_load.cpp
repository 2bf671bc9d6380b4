#include "cli/gang_load.h"

#include "cli/commands.h"
#include "cli/failure_explanation.h"
#include "cli/gang_output.h"
#include "cli/gang_reporter.h"
#include "cli/gang_threads.h"
#include "cli/interrupt.h"
#include "cli/logo_staging.h"
#include "cli/port_load.h"
#include "cli/terminal_columns.h"
#include "logo/logo_staging.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace quarvel {
namespace {

struct PortOutcome {
    bool completed = false;
    LoadFailure reason = LoadFailure::Interrupted;
};

// The run's own logo file goes when the run ends, however it ends.
class RemovedAtEnd {
public:
    explicit RemovedAtEnd(std::string path) : m_path(std::move(path)) {}
    ~RemovedAtEnd() {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
    RemovedAtEnd(const RemovedAtEnd&) = delete;
    RemovedAtEnd& operator=(const RemovedAtEnd&) = delete;

private:
    std::string m_path;
};

// Says on the error stream, once and under the port's name, why that load failed.
void explain(GangOutput& output, std::size_t load, LoadFailure reason, const FailureFacts& facts) {
    for (const std::string& line : explainFailure(reason, facts)) {
        output.errorLine("quarvel-cli load: " + output.port(load) + ": " + line);
    }
}

PortOutcome loadOnePort(const LoadOptions& options, const std::string& file, std::size_t load,
                        GangOutput& output) {
    const PortChoice& port = options.ports[load];
    const auto reporter = makeGangLoadOutput(options, output, load, interrupted);
    const PortLoadResult result = runPortLoad(options, port, file, *reporter, port.given);
    if (result.completed) {
        return {true};
    }
    // A load that ended with no failure told was stopped by Ctrl-C between two steps.
    const LoadFailure reason = result.failure.value_or(LoadFailure::Interrupted);
    if (reason != LoadFailure::Interrupted) {
        explain(output, load, reason, result.facts);
    }
    return {false, reason};
}

// Ends the output of a load that could not run to its end as a failed load's, with why.
PortOutcome abandoned(const LoadOptions& options, GangOutput& output, std::size_t load,
                      const std::string& why) {
    const auto reporter = makeGangLoadOutput(options, output, load, interrupted);
    reporter->errorLine("quarvel-cli load: " + output.port(load) + ": the load stopped: " + why);
    reporter->failed(LoadFailure::Port);
    reporter->finish(true);
    return {false, LoadFailure::Port};
}

} // namespace

int runGangLoad(const LoadOptions& options) {
    const InterruptGuard guard;
    std::string file = options.file;
    std::optional<RemovedAtEnd> ownLogo;
    if (isLogoPicture(file)) {
        // Converted once for every load, into a file that no other run writes at the same time.
        const auto converted = stageOwnLogo(file);
        if (!converted) {
            return ExitFailure;
        }
        file = *converted;
        ownLogo.emplace(file);
    }

    std::vector<std::string> names;
    for (const PortChoice& port : options.ports) {
        names.push_back(port.given);
    }
    // JSON events carry their own percentage.
    GangOutput output(names, options.json ? ProgressStyle::None : options.progress, {},
                      terminalColumns(stderr));
    std::vector<PortOutcome> outcomes(options.ports.size());
    std::vector<std::function<void()>> loads;
    for (std::size_t load = 0; load < options.ports.size(); ++load) {
        loads.emplace_back(
            [&, load] { outcomes[load] = loadOnePort(options, file, load, output); });
    }
    runAtOnce(loads, [&](std::size_t load, const std::string& why) {
        outcomes[load] = abandoned(options, output, load, why);
    });
    output.finish();

    // The result events of --json are its summary.
    for (std::size_t load = 0; load < outcomes.size() && !options.json; ++load) {
        output.message(load,
                       outcomes[load].completed
                           ? std::string("completed")
                           : "failed (" + std::string(failureName(outcomes[load].reason)) + ")");
    }
    if (interrupted()) {
        std::fputs("quarvel-cli load: interrupted; every port and the file are released\n", stderr);
    }
    const bool allCompleted =
        std::ranges::all_of(outcomes, [](const PortOutcome& outcome) { return outcome.completed; });
    return allCompleted ? ExitSuccess : ExitFailure;
}

} // namespace quarvel
