#include "ui/loading_dialog.h"

#include "ui/dialog_builder.h"
#include "ui/progress_bar.h"
#include "ui/retry_dialog.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>

namespace quarvel {

LoadingDialog::LoadingDialog(LoadJob& job, LoadRequest request, QWidget* owner)
    : QDialog(owner), m_run(job, std::move(request), *this, *this) {
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
    m_timer.setInterval(kStepPeriodMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_run.tick(); });
}

void LoadingDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_run.opened()) {
        m_run.open();
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

void LoadingDialog::armStepTimer() {
    m_timer.start();
}

void LoadingDialog::appendPlainLine(std::string_view text) {
    m_messages->addItem(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void LoadingDialog::setCloseCaption(std::string_view caption) {
    m_closeButton->setText(
        QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
}

void LoadingDialog::done(int result) {
    m_run.close(result);
}

void LoadingDialog::endModalRun(int result) {
    m_timer.stop();
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
