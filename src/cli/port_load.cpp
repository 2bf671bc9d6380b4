#include "cli/port_load.h"

#include "cli/interrupt.h"
#include "cli/port_opener.h"
#include "cli/trace_channel.h"
#include "job/load_job.h"

#include <string_view>
#include <utility>

namespace quarvel {

PortLoadResult runPortLoad(const LoadOptions& options, const PortChoice& port,
                           const std::string& file, LoadOutput& output,
                           const std::string& traceLabel) {
    PortLoadResult result;
    result.facts = {portDescription(port), file, options.bootMode, options.channel, std::nullopt};
    ChannelOpener line = portOpener(
        port, [&facts = result.facts](const OpenFailure& why) { facts.openFailure = why; });
    if (options.trace) {
        line = tracingOpener(
            std::move(line), [&output](std::string_view text) { output.errorLine(text); },
            traceLabel);
    }
    LoadJob job(interruptibleOpener(std::move(line)), options.bootMode);
    job.reset();
    int step = StepAgain;
    while (step == StepAgain && !interrupted()) {
        step = job.step(file, port.number, options.channel, output);
    }
    job.cleanUp();

    result.completed = step == StepDone;
    output.finish(!result.completed);
    if (!result.completed) {
        result.failure = output.failure();
    }
    return result;
}

} // namespace quarvel
