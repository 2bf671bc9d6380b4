#include "ui/win32_retry_dialog.h"

#include "ui/dialog_template.h"
#include "ui/win32_dialog_colours.h"
#include "ui/win32_dialog_template.h"

namespace quarvel {

namespace {

INT_PTR CALLBACK retryProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    }
    const auto* colours =
        reinterpret_cast<const Win32DialogColours*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (colours != nullptr) {
        if (const HBRUSH brush = colours->answer(message, wParam)) {
            return reinterpret_cast<INT_PTR>(brush);
        }
    }
    switch (message) {
    case WM_INITDIALOG:
        ::SetFocus(::GetDlgItem(dialog, CancelButtonId));
        // The focus is set here, not by the dialog manager.
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == OkButtonId || LOWORD(wParam) == CancelButtonId) {
            ::EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

bool askRetryWin32(HWND owner) {
    const auto words = win32DialogTemplate(retryDialogTemplate);
    const Win32DialogColours colours;
    const INT_PTR result = ::DialogBoxIndirectParamW(
        ::GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), owner,
        retryProcedure, reinterpret_cast<LPARAM>(&colours));
    return result == OkButtonId;
}

} // namespace quarvel
