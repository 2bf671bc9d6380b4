#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <string>

class QComboBox;
class QLineEdit;

namespace quarvel {

class LoadJob;

// The values the main dialog remembers between runs: list indexes, not port or channel numbers.
struct LastValues {
    int portIndex = 0;
    int channelIndex = 0;
    std::string filePath;
};

// What the main dialog needs from the program around it.
struct LoaderServices {
    std::function<LastValues()> readLastValues;
    std::function<void(const LastValues&)> writeLastValues;
    // Where a GIF picture is converted to before it is loaded.
    std::function<std::filesystem::path()> convertedLogoPath;
    // Opens the help page in the system's viewer; false when no viewer could be started.
    std::function<bool()> openHelp;
};

// The main window: the file, port and channel to load, "Go", "Browse...", "Help" and "Exit".
class LoaderDialog : public QDialog {
    Q_OBJECT

public:
    LoaderDialog(LoadJob& job, LoaderServices services, QWidget* owner = nullptr);

    // Every way of closing passes here: the controls' values are stored as the dialog ends.
    void done(int result) override;

    void browse();
    // A channel list without a selection starts no load: its channel is no MIDI data byte.
    void transfer();
    void showHelp();

private:
    void showMessage(const QString& text);
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
