#pragma once

#include "job/load_reporter.h"
#include "ui/loading_run.h"
#include "ui/win32_dialog_colours.h"
#include "ui/win32_progress_bar.h"

#include <windows.h>

namespace quarvel {

class LoadJob;

// The window in which one load runs, as a Win32 dialog: window timer 1 drives the job one step
// at a time on the GUI thread, the job's messages fill list 1009 and its percentage the bar that
// paints control 1001, and the close button turns from "Cancel" into "Ok" when the load has ended.
class Win32LoadingDialog final : public LoadReporter, private LoadingRunView {
public:
    Win32LoadingDialog(LoadJob& job, LoadRequest request);

    // Runs the dialog modally over owner, which stays disabled until it ends.
    void run(HWND owner);

    void addMessage(std::string_view text) override;
    void setPercentage(int percent) override;
    bool askRetry() override;

private:
    static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam);

    void armStepTimer() override;
    void appendPlainLine(std::string_view text) override;
    void setCloseCaption(std::string_view caption) override;
    void endModalRun(int result) override;

    HWND m_dialog = nullptr;
    Win32DialogColours m_colours;
    Win32ProgressBar m_bar;
    LoadingRun m_run;
};

} // namespace quarvel
