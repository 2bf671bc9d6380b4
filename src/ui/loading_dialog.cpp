#include "ui/loading_dialog.h"

#include "job/load_job.h"
#include "ui/dialog_builder.h"
#include "ui/progress_bar.h"
#include "ui/retry_dialog.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>

namespace quarvel {

namespace {

constexpr int tickMilliseconds = 10;

} // namespace

LoadingDialog::LoadingDialog(LoadJob& job, LoadRequest request, QWidget* owner)
    : QDialog(owner), m_job(job), m_request(std::move(request)) {
    buildDialog(*this, loadingDialogTemplate);
    m_messages = controlOf<QListWidget>(*this, MessageListId);
    m_closeButton = controlOf<QPushButton>(*this, OkButtonId);
    m_closeButton->setAutoDefault(false);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::accept);

    m_bar = new ProgressBar(this);
    m_bar->setAccessibleName(QStringLiteral("Percentage Transferred"));
    m_bar->setRange(0, 100);
    m_bar->setPosition(0);
    m_bar->attachTo(*findControl(*this, ProgressFrameId));

    m_timer.setSingleShot(true);
    m_timer.setInterval(tickMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &LoadingDialog::tick);
}

void LoadingDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        m_job.reset();
        m_timer.start();
        m_messages->setFocus();
    }
}

void LoadingDialog::addMessage(std::string_view text) {
    m_messages->addItem(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    m_messages->setCurrentRow(m_messages->count() - 1);
    // On screen before the job goes on: its next wait for the device may last seconds.
    m_messages->repaint();
}

void LoadingDialog::setPercentage(int percent) {
    m_bar->setPosition(percent);
}

bool LoadingDialog::askRetry() {
    RetryDialog prompt(this);
    return prompt.exec() == QDialog::Accepted;
}

void LoadingDialog::tick() {
    m_stepping = true;
    const int result =
        m_job.step(m_request.filePath, m_request.portNumber, m_request.channel, *this);
    m_stepping = false;
    if (result == StepAgain && !m_closeRequested) {
        m_timer.start();
        return;
    }
    if (result != StepAgain) {
        finish(result);
    }
    if (m_closeRequested) {
        done(*m_closeRequested);
    }
}

void LoadingDialog::finish(int stepResult) {
    if (stepResult == StepFailed) {
        // A plain append: the selection stays on the job's own last line.
        m_messages->addItem(QStringLiteral("Error!"));
    }
    m_closeButton->setText(QStringLiteral("Ok"));
    m_job.cleanUp();
    m_finished = true;
}

void LoadingDialog::done(int result) {
    if (m_stepping) {
        m_closeRequested = result;
        return;
    }
    m_timer.stop();
    if (m_started && !m_finished) {
        m_job.cleanUp();
    }
    QDialog::done(result);
}

void LoadingDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace quarvel
