#include "cli/station.h"

#include "cli/commands.h"
#include "cli/failure_explanation.h"
#include "cli/gang_output.h"
#include "cli/gang_reporter.h"
#include "cli/gang_threads.h"
#include "cli/interrupt.h"
#include "cli/json_writer.h"
#include "cli/port_load.h"
#include "cli/port_opener.h"
#include "cli/sha256.h"
#include "cli/stable_port_names.h"
#include "cli/terminal_columns.h"
#include "cli/unit_log.h"
#include "cli/unit_record.h"
#include "cli/unit_wait.h"
#include "cli/unit_watch.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quarvel {
namespace {

struct PortTally {
    int passed = 0;
    int failed = 0;
    // The port's own work ended early, by an exception or a thread that never started.
    bool stopped = false;
};

std::int64_t steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string portId(const PortChoice& port) {
    const std::string device = portDevicePath(port);
    const StableNames stable = stablePortNames(device);
    return stable.byId.value_or(stable.byPath.value_or(port.given));
}

// One write per line, so that the lines of the ports' threads never interleave.
void writeJsonLine(const JsonObject& object) {
    const std::string line = object.text() + '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

std::string secondsText(std::int64_t milliseconds) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%.1f", static_cast<double>(milliseconds) / 1000);
    return text.data();
}

class Station {
public:
    explicit Station(const StationOptions& options)
        : m_options(options),
          m_output(portNames(), ProgressStyle::None, {}, terminalColumns(stderr)),
          m_tallies(options.load.ports.size()) {
        if (!options.logPath.empty()) {
            m_log.emplace(options.logPath);
        }
    }

    int run() {
        std::vector<std::function<void()>> ports;
        for (std::size_t port = 0; port < m_options.load.ports.size(); ++port) {
            ports.emplace_back([this, port] { serve(port); });
        }
        runAtOnce(ports, [this](std::size_t port, const std::string& why) {
            m_tallies[port].stopped = true;
            m_output.message(port, "stopped (" + why + ")");
        });
        bool allPassed = !m_logFailed;
        for (std::size_t port = 0; port < m_tallies.size(); ++port) {
            const PortTally& tally = m_tallies[port];
            allPassed = allPassed && tally.failed == 0 && !tally.stopped;
            if (m_options.load.json) {
                JsonObject summary;
                summary.add("event", "summary")
                    .add("port", m_options.load.ports[port].given)
                    .add("passed", std::int64_t{tally.passed})
                    .add("failed", std::int64_t{tally.failed});
                writeJsonLine(summary);
            } else {
                m_output.message(port, std::to_string(tally.passed) + " passed, " +
                                           std::to_string(tally.failed) + " failed");
            }
        }
        if (interrupted()) {
            std::fputs("quarvel-cli station: interrupted; every port and the file are released\n",
                       stderr);
        }
        return allPassed ? ExitSuccess : ExitFailure;
    }

private:
    std::vector<std::string> portNames() const {
        std::vector<std::string> names;
        for (const PortChoice& port : m_options.load.ports) {
            names.push_back(port.given);
        }
        return names;
    }

    bool stopping() const { return interrupted() || m_logFailed; }

    void serve(std::size_t port) {
        const PortChoice& choice = m_options.load.ports[port];
        const auto stop = [this] { return stopping(); };
        for (int unit = 1; m_options.units == 0 || unit <= m_options.units; ++unit) {
            if (!awaitUnit(choice, m_options.load.channel, PresenceWatch::Waiting::ForArrival,
                           stop)) {
                return;
            }
            loadUnit(port, unit);
            if (stopping() || unit == m_options.units ||
                !awaitUnit(choice, m_options.load.channel, PresenceWatch::Waiting::ForDeparture,
                           stop)) {
                return;
            }
            tellRemoved(port, unit);
        }
    }

    void loadUnit(std::size_t port, int unit) {
        const LoadOptions& load = m_options.load;
        const PortChoice& choice = load.ports[port];
        UnitRecord record;
        record.started = std::chrono::system_clock::now();
        record.port = choice.given;
        record.portId = portId(choice);
        record.unit = unit;
        record.channel = load.channel;
        record.file = load.file;
        record.sha256 = fileSha256(load.file);
        const std::int64_t startMs = steadyMs();
        const auto output = makeGangLoadOutput(load, m_output, port, interrupted);
        UnitWatch watch(*output, steadyMs, interrupted);
        const PortLoadResult result = runPortLoad(load, choice, load.file, watch, choice.given);
        const std::int64_t tookMs = steadyMs() - startMs;
        const LoadFailure reason = result.failure.value_or(LoadFailure::Interrupted);

        record.status = result.completed                     ? "completed"
                        : reason == LoadFailure::Interrupted ? "interrupted"
                                                             : "failed";
        if (!result.completed) {
            record.reason = failureName(reason);
        }
        record.facts = watch.facts();
        (result.completed ? m_tallies[port].passed : m_tallies[port].failed) += 1;
        tell(port, record, tookMs);
        if (!result.completed && reason != LoadFailure::Interrupted) {
            for (const std::string& line : explainFailure(reason, result.facts)) {
                m_output.errorLine("quarvel-cli station: " + choice.given + ": " + line);
            }
        }
        std::string error;
        if (m_log && !m_log->append(unitRecordLine(record), error)) {
            m_logFailed = true;
            m_output.errorLine("quarvel-cli station: " + error + "; the station stops");
        }
    }

    void tell(std::size_t port, const UnitRecord& record, std::int64_t tookMs) {
        if (m_options.load.json) {
            JsonObject event;
            event.add("event", "unit")
                .add("port", record.port)
                .add("unit", std::int64_t{record.unit})
                .add("status", record.status)
                .addOrNull("reason", record.reason)
                .addSeconds("seconds", tookMs);
            writeJsonLine(event);
            return;
        }
        const std::string how = record.status == "completed"
                                    ? std::string("completed")
                                    : "failed (" + record.reason.value_or("interrupted") + ")";
        m_output.message(port, "unit " + std::to_string(record.unit) + " " + how + " in " +
                                   secondsText(tookMs) + " s");
    }

    // The operator, or whatever puts the units on, learns that the port is ready for the next.
    void tellRemoved(std::size_t port, int unit) {
        if (m_options.load.json) {
            JsonObject event;
            event.add("event", "removed")
                .add("port", m_options.load.ports[port].given)
                .add("unit", std::int64_t{unit});
            writeJsonLine(event);
        } else {
            m_output.message(port, "unit " + std::to_string(unit) + " removed");
        }
    }

    const StationOptions& m_options;
    GangOutput m_output;
    std::optional<UnitLog> m_log;
    std::vector<PortTally> m_tallies;
    std::atomic<bool> m_logFailed = false;
};

} // namespace

int serveStation(const StationOptions& options) {
    const InterruptGuard guard;
    return Station(options).run();
}

} // namespace quarvel
