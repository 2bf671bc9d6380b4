#pragma once

#include "ui/main_dialog_logic.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace quarvel {

class LoadJob;

// The main window: the file, port and channel to load, "Go", "Browse...", "Help" and "Exit".
class LoaderDialog : public QDialog {
    Q_OBJECT

public:
    LoaderDialog(LoadJob& job, LoaderServices services, QWidget* owner = nullptr);

    // Every way of closing passes here: the controls' values are stored as the dialog ends.
    void done(int result) override;

    void browse();
    void transfer();
    void showHelp();

private:
    void showMessage(std::string_view text);
    void readControls();
    void writeControls();

    LoadJob& m_job;
    LoaderServices m_services;
    LastValues m_values;
    QLineEdit* m_filePathBox = nullptr;
    QComboBox* m_portList = nullptr;
    QComboBox* m_channelList = nullptr;
    // While a load runs, Go and Browse do nothing. The modal loading dialog keeps the mouse and
    // keys away from this one, but not assistive technology, whose requests are also served while
    // a step waits: a second load would reset the job under the first.
    bool m_loading = false;
};

} // namespace quarvel
