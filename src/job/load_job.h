#pragma once

#include "job/load_reporter.h"
#include "link/byte_channel.h"

#include <string>

namespace quarvel {

// Results of LoadJob::step.
enum StepResult : int {
    StepDone = 0,
    StepFailed = 1,
    StepAgain = 2,
};

enum class LoadState { Start, Sending, Complete, CleanUp };

// One load of a program file into the device, driven one step at a time from outside.
class LoadJob {
public:
    // bootMode allows writing the boot sector; opener creates the port of each load.
    LoadJob(ChannelOpener opener, bool bootMode);
    ~LoadJob();
    LoadJob(const LoadJob&) = delete;
    LoadJob& operator=(const LoadJob&) = delete;

    // Back to Start; an earlier load that never finished is released first.
    void reset();
    // channel is 0 to 15, or 127 for every device.
    int step(const std::string& filePath, int portNumber, int channel, LoadReporter& reporter);
    // Closes the program file and the port, if held.
    void cleanUp();

    LoadState state() const;
    // True while the job holds a port or a program file.
    bool holdsResources() const;

    // (private members: the load job's own)
};

} // namespace quarvel
