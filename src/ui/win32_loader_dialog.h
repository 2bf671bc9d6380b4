#pragma once

#include "ui/main_dialog_logic.h"
#include "ui/win32_dialog_colours.h"

#include <windows.h>

namespace quarvel {

class LoadJob;

// The main window as a Win32 dialog: the file, port and channel to load, "Go", "Browse...",
// "Help" and "Exit". Every way of closing writes the controls' values to the settings.
class Win32LoaderDialog {
public:
    Win32LoaderDialog(LoadJob& job, LoaderServices services);

    // Runs the dialog modally until it is closed.
    void run();

private:
    static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam);
    void command(int id);

    void browse();
    void transfer();
    void showHelp();
    void close(int result);
    void showMessage(std::string_view text);
    void showProgramIcon();
    void readControls();
    void writeControls();

    LoadJob& m_job;
    LoaderServices m_services;
    LastValues m_values;
    HWND m_dialog = nullptr;
    Win32DialogColours m_colours;
    // While a load runs this dialog is disabled behind the loading dialog, but messages posted to
    // it are still served while a step waits: they start nothing, and a close waits for the load.
    bool m_loading = false;
    bool m_closeAfterLoad = false;
};

} // namespace quarvel
