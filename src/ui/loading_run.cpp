#include "ui/loading_run.h"

#include "job/load_job.h"

#include <utility>

namespace quarvel {

LoadingRun::LoadingRun(LoadJob& job, LoadRequest request, LoadReporter& reporter,
                       LoadingRunView& view)
    : m_job(job), m_request(std::move(request)), m_reporter(reporter), m_view(view) {}

void LoadingRun::open() {
    if (m_opened) {
        return;
    }
    m_opened = true;
    m_job.reset();
    m_view.armStepTimer();
}

void LoadingRun::tick() {
    if (!m_opened || m_finished || m_closed || m_stepping) {
        return;
    }
    m_stepping = true;
    const int result =
        m_job.step(m_request.filePath, m_request.portNumber, m_request.channel, m_reporter);
    m_stepping = false;
    if (result == StepAgain && !m_closeRequested) {
        m_view.armStepTimer();
        return;
    }
    if (result != StepAgain) {
        finish(result);
    }
    if (m_closeRequested) {
        close(*m_closeRequested);
    }
}

void LoadingRun::finish(int stepResult) {
    if (stepResult == StepFailed) {
        // A plain append: the selection stays on the job's own last line.
        m_view.appendPlainLine("Error!");
    }
    m_view.setCloseCaption("Ok");
    m_job.cleanUp();
    m_finished = true;
}

void LoadingRun::close(int result) {
    if (m_stepping) {
        m_closeRequested = result;
        return;
    }
    if (m_closed) {
        return;
    }
    m_closed = true;
    if (m_opened && !m_finished) {
        m_job.cleanUp();
    }
    m_view.endModalRun(result);
}

} // namespace quarvel
