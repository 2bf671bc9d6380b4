#pragma once

#include "job/load_reporter.h"
#include "link/command_set.h"

#include <optional>
#include <string>
#include <string_view>

namespace quarvel {

class LoadJob;

// What the main dialog hands to one load.
struct LoadRequest {
    std::string filePath;
    int portNumber = 1;
    // 0 to 15, or 127 for every device.
    int channel = kAllChannels;
};

// The time from the end of one step to the start of the next.
inline constexpr int kStepPeriodMs = 10;

// What a loading dialog's window does for its run; each toolkit's view implements it.
class LoadingRunView {
public:
    virtual ~LoadingRunView() = default;

    // Starts the step timer for one tick, kStepPeriodMs from now. The view stops it as each
    // tick arrives, before LoadingRun::tick runs.
    virtual void armStepTimer() = 0;
    // Appends a line without moving the selection.
    virtual void appendPlainLine(std::string_view text) = 0;
    virtual void setCloseCaption(std::string_view caption) = 0;
    // Ends the modal run with the result.
    virtual void endModalRun(int result) = 0;
};

// One load as the loading dialog runs it: opened once, driven tick by tick, closed at any time.
// A close asked for inside a step (from a modal prompt, or from a message served while the step
// waits) is carried out when the step returns, so no step runs after the dialog has gone and a
// load still under way is released as the dialog ends.
class LoadingRun {
public:
    LoadingRun(LoadJob& job, LoadRequest request, LoadReporter& reporter, LoadingRunView& view);

    // Starts a new load from the job's start state; only the first call does anything.
    void open();
    void tick();
    void close(int result);

    bool opened() const { return m_opened; }
    bool stepping() const { return m_stepping; }
    // True once a step has ended the load and the job has been cleaned up.
    bool finished() const { return m_finished; }

private:
    void finish(int stepResult);

    LoadJob& m_job;
    const LoadRequest m_request;
    LoadReporter& m_reporter;
    LoadingRunView& m_view;
    bool m_opened = false;
    bool m_stepping = false;
    bool m_finished = false;
    bool m_closed = false;
    std::optional<int> m_closeRequested;
};

} // namespace quarvel
