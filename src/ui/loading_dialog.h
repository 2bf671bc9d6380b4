#pragma once

#include "job/load_reporter.h"
#include "link/command_set.h"

#include <QDialog>
#include <QTimer>
#include <optional>
#include <string>

class QListWidget;
class QPushButton;

namespace quarvel {

class LoadJob;
class ProgressBar;

// What the main dialog hands to one load.
struct LoadRequest {
    std::string filePath;
    int portNumber = 1;
    // 0 to 15, or 127 for every device.
    int channel = kAllChannels;
};

// The window in which one load runs: a 10 ms timer drives the job one step at a time, the job's
// messages fill the list and its percentage the bar, and the button turns from "Cancel" into
// "Ok" when the load has ended.
class LoadingDialog : public QDialog, public LoadReporter {
    Q_OBJECT

public:
    LoadingDialog(LoadJob& job, LoadRequest request, QWidget* owner);

    void addMessage(std::string_view text) override;
    void setPercentage(int percent) override;
    bool askRetry() override;

    ProgressBar& progressBar() { return *m_bar; }
    // True once a step has ended the load and the job has been cleaned up.
    bool finished() const { return m_finished; }
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
    void tick();
    void finish(int stepResult);

    LoadJob& m_job;
    const LoadRequest m_request;
    QListWidget* m_messages = nullptr;
    QPushButton* m_closeButton = nullptr;
    ProgressBar* m_bar = nullptr;
    QTimer m_timer;
    bool m_started = false;
    bool m_stepping = false;
    bool m_finished = false;
    // The result of a close asked for while a step ran, carried out when the step returns.
    std::optional<int> m_closeRequested;
};

} // namespace quarvel
