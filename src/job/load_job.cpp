#include "job/load_job.h"

#include <utility>

namespace quarvel {

LoadJob::LoadJob(ChannelOpener opener, bool bootMode)
    : m_opener(std::move(opener)), m_bootMode(bootMode) {}

LoadJob::~LoadJob() = default;

void LoadJob::reset() {
    // A load abandoned before it ended still holds its port and file; the next one needs both.
    cleanUp();
    m_state = LoadState::Start;
}

int LoadJob::step(const std::string& filePath, int portNumber, int channel,
                  LoadReporter& reporter) {
    switch (m_state) {
    case LoadState::Start:
        m_channel = static_cast<std::uint8_t>(channel);
        return stepStart(filePath, portNumber, reporter);
    case LoadState::Sending:
        return stepSending(reporter);
    case LoadState::Complete:
        reporter.addMessage("Loading complete. No errors");
        return StepDone;
    case LoadState::CleanUp:
        releaseResources();
        return StepDone;
    }
    return StepFailed;
}

void LoadJob::cleanUp() {
    m_state = LoadState::CleanUp;
    releaseResources();
}

LoadState LoadJob::state() const {
    return m_state;
}

bool LoadJob::holdsResources() const {
    return m_port != nullptr || m_file.isOpen();
}

void LoadJob::releaseResources() {
    m_file.close();
    if (m_port) {
        m_port->close();
        m_port.reset();
    }
}

int LoadJob::fail(LoadReporter& reporter, LoadFailure reason) {
    reporter.failed(reason);
    return StepFailed;
}

int LoadJob::readReply(int timeoutSeconds) {
    return m_port->readReply(m_reply, timeoutSeconds);
}

} // namespace quarvel
