#pragma once

#include "job/load_reporter.h"
#include "ui/loading_run.h"

#include <QDialog>
#include <QTimer>

class QListWidget;
class QPushButton;

namespace quarvel {

class LoadJob;
class ProgressBar;

// The window in which one load runs: a single-shot timer drives the job one step at a time, the
// job's messages fill the list and its percentage the bar, and the button turns from "Cancel" into
// "Ok" when the load has ended.
class LoadingDialog : public QDialog, public LoadReporter, private LoadingRunView {
    Q_OBJECT

public:
    LoadingDialog(LoadJob& job, LoadRequest request, QWidget* owner);

    void addMessage(std::string_view text) override;
    void setPercentage(int percent) override;
    bool askRetry() override;

    ProgressBar& progressBar() { return *m_bar; }
    // True once a step has ended the load and the job has been cleaned up.
    bool finished() const { return m_run.finished(); }
    // True while the next step is due: the step timer is armed.
    bool stepDue() const { return m_timer.isActive(); }

    // Ends the modal run; a load still under way is released here, so that the port and the file
    // are free the moment the dialog goes. A close asked for inside a step waits for its end.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    // Enter closes the dialog as the close button does, although it is not the default button.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void armStepTimer() override;
    void appendPlainLine(std::string_view text) override;
    void setCloseCaption(std::string_view caption) override;
    void endModalRun(int result) override;

    QListWidget* m_messages = nullptr;
    QPushButton* m_closeButton = nullptr;
    ProgressBar* m_bar = nullptr;
    QTimer m_timer;
    LoadingRun m_run;
};

} // namespace quarvel
