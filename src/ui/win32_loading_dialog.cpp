#include "ui/win32_loading_dialog.h"

#include "ui/dialog_template.h"
#include "ui/win32_dialog_template.h"
#include "ui/win32_retry_dialog.h"

namespace quarvel {

namespace {

constexpr UINT_PTR stepTimer = 1;

} // namespace

Win32LoadingDialog::Win32LoadingDialog(LoadJob& job, LoadRequest request)
    : m_run(job, std::move(request), *this, *this) {}

void Win32LoadingDialog::run(HWND owner) {
    const auto words = win32DialogTemplate(loadingDialogTemplate);
    ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr),
                              reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), owner, procedure,
                              reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Win32LoadingDialog::procedure(HWND dialog, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<Win32LoadingDialog*>(lParam)->m_dialog = dialog;
    }
    auto* self = reinterpret_cast<Win32LoadingDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    return self != nullptr ? self->handle(message, wParam) : FALSE;
}

INT_PTR Win32LoadingDialog::handle(UINT message, WPARAM wParam) {
    if (const HBRUSH brush = m_colours.answer(message, wParam)) {
        return reinterpret_cast<INT_PTR>(brush);
    }
    switch (message) {
    case WM_INITDIALOG:
        m_bar.setRange(0, 100);
        m_bar.setPosition(0);
        m_bar.attachTo(::GetDlgItem(m_dialog, ProgressFrameId));
        m_run.open();
        // The dialog manager gives the focus to the first tab stop, the message list.
        return TRUE;
    case WM_TIMER:
        // Stopped before the step: no tick arrives while it runs, whatever it dispatches.
        ::KillTimer(m_dialog, stepTimer);
        m_run.tick();
        return TRUE;
    case WM_COMMAND:
        // The close button, Enter, Esc and the close box; inside a step the close waits for
        // the step's end.
        if (LOWORD(wParam) == OkButtonId || LOWORD(wParam) == CancelButtonId) {
            m_run.close(LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

void Win32LoadingDialog::addMessage(std::string_view text) {
    const HWND list = ::GetDlgItem(m_dialog, MessageListId);
    const auto line =
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wideText(text).c_str()));
    ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    // On screen before the job goes on: its next wait for the device may last seconds.
    ::UpdateWindow(list);
}

void Win32LoadingDialog::setPercentage(int percent) {
    m_bar.setPosition(percent);
}

bool Win32LoadingDialog::askRetry() {
    return askRetryWin32(m_dialog);
}

void Win32LoadingDialog::armStepTimer() {
    ::SetTimer(m_dialog, stepTimer, kStepPeriodMs, nullptr);
}

void Win32LoadingDialog::appendPlainLine(std::string_view text) {
    ::SendDlgItemMessageW(m_dialog, MessageListId, LB_ADDSTRING, 0,
                          reinterpret_cast<LPARAM>(wideText(text).c_str()));
}

void Win32LoadingDialog::setCloseCaption(std::string_view caption) {
    ::SetDlgItemTextW(m_dialog, OkButtonId, wideText(caption).c_str());
}

void Win32LoadingDialog::endModalRun(int result) {
    ::KillTimer(m_dialog, stepTimer);
    ::EndDialog(m_dialog, result);
}

} // namespace quarvel
