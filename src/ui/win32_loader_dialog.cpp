#include "ui/win32_loader_dialog.h"

#include "ui/dialog_template.h"
#include "ui/transfer_rules.h"
#include "ui/win32_dialog_template.h"
#include "ui/win32_loading_dialog.h"
#include "ui/win32_program_icon.h"

#include <commdlg.h>
#include <string>

namespace quarvel {

namespace {

// The file-open dialog's filter: pairs of name and pattern, each ended by a null, the list by a
// second one.
std::wstring openFilter() {
    std::wstring filter;
    for (const auto part : {kProgramFilterName, kProgramFilterPattern, kEveryFileFilterName,
                            kEveryFileFilterPattern}) {
        filter += wideText(part);
        filter.push_back(L'\0');
    }
    return filter;
}

} // namespace

Win32LoaderDialog::Win32LoaderDialog(LoadJob& job, LoaderServices services)
    : m_job(job), m_services(std::move(services)), m_values(m_services.readLastValues()) {}

void Win32LoaderDialog::run() {
    const auto words = win32DialogTemplate(loaderDialogTemplate);
    ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr),
                              reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), nullptr, procedure,
                              reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Win32LoaderDialog::procedure(HWND dialog, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<Win32LoaderDialog*>(lParam)->m_dialog = dialog;
    }
    auto* self = reinterpret_cast<Win32LoaderDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    return self != nullptr ? self->handle(message, wParam) : FALSE;
}

INT_PTR Win32LoaderDialog::handle(UINT message, WPARAM wParam) {
    if (const HBRUSH brush = m_colours.answer(message, wParam)) {
        return reinterpret_cast<INT_PTR>(brush);
    }
    switch (message) {
    case WM_INITDIALOG:
        fillDropDownLists(m_dialog, loaderDialogTemplate);
        writeControls();
        ::SetWindowTextW(m_dialog, wideText(kLoaderTitle).c_str());
        showProgramIcon();
        // The dialog manager gives the focus to the first tab stop, the file path box.
        return TRUE;
    case WM_COMMAND:
        command(LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

void Win32LoaderDialog::command(int id) {
    if (id == OkButtonId || id == CancelButtonId) {
        close(id);
        return;
    }
    if (m_loading) {
        return;
    }
    switch (id) {
    case BrowseButtonId:
        browse();
        break;
    case GoButtonId:
        transfer();
        break;
    case HelpButtonId:
        showHelp();
        break;
    default:
        break;
    }
}

void Win32LoaderDialog::showProgramIcon() {
    // Shared icons of the executable: the system frees them, not the dialog.
    const HINSTANCE program = ::GetModuleHandleW(nullptr);
    for (const auto& [size, width] : {std::pair{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}}) {
        const int pixels = ::GetSystemMetrics(width);
        const auto icon = ::LoadImageW(program, MAKEINTRESOURCEW(QUARVEL_PROGRAM_ICON), IMAGE_ICON,
                                       pixels, pixels, LR_SHARED);
        ::SendMessageW(m_dialog, WM_SETICON, size, reinterpret_cast<LPARAM>(icon));
    }
}

void Win32LoaderDialog::readControls() {
    m_values.filePath = windowText(::GetDlgItem(m_dialog, FilePathBoxId));
    m_values.portIndex =
        static_cast<int>(::SendDlgItemMessageW(m_dialog, PortListId, CB_GETCURSEL, 0, 0));
    m_values.channelIndex =
        static_cast<int>(::SendDlgItemMessageW(m_dialog, ChannelListId, CB_GETCURSEL, 0, 0));
}

void Win32LoaderDialog::writeControls() {
    ::SetDlgItemTextW(m_dialog, FilePathBoxId, wideText(m_values.filePath).c_str());
    for (const auto& [id, index] :
         {std::pair{PortListId, m_values.portIndex}, {ChannelListId, m_values.channelIndex}}) {
        const auto count = ::SendDlgItemMessageW(m_dialog, id, CB_GETCOUNT, 0, 0);
        ::SendDlgItemMessageW(m_dialog, id, CB_SETCURSEL,
                              static_cast<WPARAM>(shownIndex(index, static_cast<int>(count))), 0);
    }
}

void Win32LoaderDialog::browse() {
    readControls();
    // The file dialog is given no folder of its own: it starts in the current file's folder.
    if (const auto folder = folderOfPath(m_values.filePath)) {
        ::SetCurrentDirectoryW(wideText(*folder).c_str());
    }
    const std::wstring filter = openFilter();
    const std::wstring extension = wideText(kDefaultExtension);
    std::wstring chosen(32768, L'\0');
    OPENFILENAMEW request{};
    request.lStructSize = sizeof(request);
    request.hwndOwner = m_dialog;
    request.lpstrFilter = filter.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = chosen.data();
    request.nMaxFile = static_cast<DWORD>(chosen.size());
    request.lpstrDefExt = extension.c_str();
    request.Flags = OFN_EXPLORER;
    if (::GetOpenFileNameW(&request)) {
        ::SetDlgItemTextW(m_dialog, FilePathBoxId, chosen.c_str());
    }
}

void Win32LoaderDialog::transfer() {
    readControls();
    auto plan = planTransfer(m_values, m_services);
    if (!plan.load) {
        if (!plan.message.empty()) {
            showMessage(plan.message);
        }
        return;
    }
    Win32LoadingDialog loading(m_job, std::move(*plan.load));
    m_loading = true;
    loading.run(m_dialog);
    m_loading = false;
    if (m_closeAfterLoad) {
        close(OkButtonId);
    }
}

void Win32LoaderDialog::showHelp() {
    if (!m_services.openHelp()) {
        showMessage(kHelpFailedText);
    }
}

void Win32LoaderDialog::close(int result) {
    if (m_loading) {
        m_closeAfterLoad = true;
        return;
    }
    readControls();
    m_services.writeLastValues(m_values);
    ::EndDialog(m_dialog, result);
}

void Win32LoaderDialog::showMessage(std::string_view text) {
    ::MessageBoxW(m_dialog, wideText(text).c_str(), wideText(kApplicationTitle).c_str(), MB_OK);
}

} // namespace quarvel
