#include "cli/job_loop.h"

#include "cli/interrupt.h"

namespace quarvel {

int runJobToEnd(LoadJob& job, const std::string& file, int portNumber, std::uint8_t channel,
                LoadReporter& reporter) {
    job.reset();
    int result = StepAgain;
    while (result == StepAgain && !interrupted()) {
        result = job.step(file, portNumber, channel, reporter);
    }
    job.cleanUp();
    return result;
}

} // namespace quarvel
