// Brings quarvel.exe's dialogs up for a screenshot (scripts/windows-screenshots.sh), working it
// through its controls: windows_dialog_poser loader|loading|retry FILE. Prints the screen
// rectangle of the dialog that the screenshot shows, as WIDTHxHEIGHT+X+Y, once it is up.
#include "ui/dialog_template.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <windows.h>

namespace {

using namespace quarvel;

HWND shown(const wchar_t* title) {
    for (int i = 0; i < 3000; ++i) {
        if (HWND window = ::FindWindowW(L"#32770", title);
            window != nullptr && ::IsWindowVisible(window)) {
            return window;
        }
        ::Sleep(20);
    }
    std::fwprintf(stderr, L"no window \"%ls\"\n", title);
    std::exit(1);
}

int barPercent(HWND loading) {
    wchar_t text[16] = {};
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(::GetDlgItem(loading, ProgressFrameId), WM_GETTEXT, 16,
                          reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &length);
    return std::wcstol(text, nullptr, 10);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fputs("usage: windows_dialog_poser loader|loading|retry FILE\n", stderr);
        return 2;
    }
    const std::wstring mode = argv[1];
    HWND loader = shown(L"KTV-271 Vantor RS232 Program Loader V1.20");
    ::SendMessageW(::GetDlgItem(loader, FilePathBoxId), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(argv[2]));
    HWND pictured = loader;
    if (mode != L"loader") {
        ::PostMessageW(loader, WM_COMMAND, MAKEWPARAM(GoButtonId, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(loader, GoButtonId)));
        HWND loading = shown(L"Loading...");
        pictured = loading;
        if (mode == L"retry") {
            pictured = shown(L"Dialog");
        } else {
            while (barPercent(loading) < 40) {
                ::Sleep(20);
            }
        }
    }
    RECT rect{};
    ::GetWindowRect(pictured, &rect);
    std::printf("%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left,
                rect.top);
    return 0;
}
