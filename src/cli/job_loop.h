#pragma once

#include "job/load_job.h"
#include "job/load_reporter.h"

#include <cstdint>
#include <string>

namespace quarvel {

// Runs the job as the loading dialog does, without the dialog's pause between steps, until it
// ends or Ctrl-C is pressed; releases the port and the file either way. Answers the last step's
// result: StepAgain when Ctrl-C stopped the load between steps.
int runJobToEnd(LoadJob& job, const std::string& file, int portNumber, std::uint8_t channel,
                LoadReporter& reporter);

} // namespace quarvel
