#include "ui/win32_retry_dialog.h"

#include "ui/dialog_template.h"
#include "ui/win32_dialog_template.h"

namespace quarvel {

namespace {

INT_PTR CALLBACK retryProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
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
    const INT_PTR result = ::DialogBoxIndirectParamW(
        ::GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), owner,
        retryProcedure, 0);
    return result == OkButtonId;
}

} // namespace quarvel
