// Works quarvel.exe from outside, as an operator's screen reader would: windows found by title,
// read and changed only through their controls' messages, buttons that open a modal window
// clicked by a posted command. One scenario a run: dialogs_under_wine.sh puts the device that
// each one needs on COM1.
#include "quarvel_version.h"
#include "ui/dialog_template.h"
#include "ui/win32_program_icon.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

namespace quarvel {
namespace {

using Clock = std::chrono::steady_clock;
constexpr UINT answerMs = 2000;

std::wstring variable(const wchar_t* name) {
    const wchar_t* value = ::_wgetenv(name);
    return value != nullptr ? value : L"";
}

// quarvel.exe, with settings of its own in a fresh folder.
class Program {
public:
    explicit Program(const std::wstring& settingsFolder) {
        ::CreateDirectoryW(settingsFolder.c_str(), nullptr);
        ::SetEnvironmentVariableW(L"APPDATA", settingsFolder.c_str());
        std::wstring commandLine = L"\"" + variable(L"QUARVEL_EXE") + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        EXPECT_TRUE(::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0,
                                     nullptr, nullptr, &startup, &m_process));
    }
    ~Program() {
        // Gone with its windows before the next scenario looks for windows of the same title.
        if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(m_process.hProcess, 99);
            ::WaitForSingleObject(m_process.hProcess, INFINITE);
        }
        ::CloseHandle(m_process.hThread);
        ::CloseHandle(m_process.hProcess);
    }
    // The exit code once it has ended by itself within the time, or -1.
    int waitForExit(DWORD ms = 20000) const {
        DWORD code = 0;
        if (::WaitForSingleObject(m_process.hProcess, ms) != WAIT_OBJECT_0 ||
            !::GetExitCodeProcess(m_process.hProcess, &code)) {
            return -1;
        }
        return static_cast<int>(code);
    }
    DWORD thread() const { return m_process.dwThreadId; }

private:
    PROCESS_INFORMATION m_process{};
};

std::wstring wide(std::string_view text) {
    const int size =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                          size);
    return result;
}

// A dialog of the title once it is shown: it has its controls and has run its opening.
HWND waitForWindow(const std::wstring& title, int seconds = 30) {
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    while (Clock::now() < end) {
        if (HWND window = ::FindWindowW(L"#32770", title.c_str());
            window != nullptr && ::IsWindowVisible(window)) {
            return window;
        }
        ::Sleep(20);
    }
    return nullptr;
}

LRESULT ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    EXPECT_NE(
        ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, answerMs, &result),
        0)
        << "no answer to message " << message;
    return static_cast<LRESULT>(result);
}

std::wstring textOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(ask(window, WM_GETTEXTLENGTH)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

std::vector<std::wstring> itemsOf(HWND list, UINT count, UINT length, UINT get) {
    std::vector<std::wstring> items;
    const auto n = ask(list, count);
    for (LRESULT i = 0; i < n; ++i) {
        std::wstring item(static_cast<std::size_t>(ask(list, length, i)) + 1, L'\0');
        item.resize(static_cast<std::size_t>(
            ask(list, get, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()))));
        items.push_back(item);
    }
    return items;
}

std::vector<std::wstring> linesOf(HWND loading) {
    return itemsOf(::GetDlgItem(loading, MessageListId), LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

void click(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

bool waitFor(const auto& condition, int seconds) {
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    while (Clock::now() < end) {
        if (condition()) {
            return true;
        }
        ::Sleep(50);
    }
    return condition();
}

// The template's position and size in the pixels of a dialog of the driver's own with the same
// font, each converted on its own as the dialog manager does: another program's dialog cannot be
// asked to convert.
RECT pixelsOf(const DialogTemplate& dialogTemplate, const DialogRect& rect) {
    std::vector<WORD> words = {LOWORD(DS_SETFONT | WS_POPUP),
                               HIWORD(DS_SETFONT | WS_POPUP),
                               0,
                               0,
                               0,
                               0,
                               0,
                               10,
                               10,
                               0,
                               0,
                               0,
                               static_cast<WORD>(dialogTemplate.pointSize)};
    for (const wchar_t c : wide(dialogTemplate.fontFamily)) {
        words.push_back(c);
    }
    words.push_back(0);
    HWND own = ::CreateDialogIndirectParamW(
        nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), nullptr, nullptr, 0);
    RECT pixels{rect.x, rect.y, rect.width, rect.height};
    ::MapDialogRect(own, &pixels);
    ::DestroyWindow(own);
    return pixels;
}

// The control's position in the dialog's client area and its size, as pixelsOf gives them.
RECT placeIn(HWND dialog, HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// A folder no earlier run has used: Wine gives process numbers out again.
std::wstring settingsFolder() {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return std::wstring(temp) + L"quarvel driver " + std::to_wstring(::GetCurrentProcessId()) +
           L" " + std::to_wstring(now.dwLowDateTime);
}

const std::wstring loaderTitle = L"KTV-271 Vantor RS232 Program Loader V1.20";

TEST(DialogDriver, MainDialogFollowsTemplate102) {
    Program quarvel(settingsFolder());
    HWND dialog = waitForWindow(loaderTitle);
    ASSERT_NE(dialog, nullptr);
    RECT client{};
    ::GetClientRect(dialog, &client);
    const auto size = pixelsOf(loaderDialogTemplate,
                               {0, 0, loaderDialogTemplate.width, loaderDialogTemplate.height});
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    HWND previous = nullptr;
    for (const auto& control : loaderDialogTemplate.controls) {
        if (control.id == NoControlId) {
            continue;
        }
        HWND window = ::GetDlgItem(dialog, control.id);
        ASSERT_NE(window, nullptr) << control.id;
        const RECT place = placeIn(dialog, window);
        const RECT expected = pixelsOf(loaderDialogTemplate, control.rect);
        EXPECT_EQ(place.left, expected.left) << control.id;
        EXPECT_EQ(place.top, expected.top) << control.id;
        EXPECT_EQ(place.right, expected.right) << control.id;
        if (control.kind == ControlKind::DropDownList) {
            const auto items = itemsOf(window, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
            ASSERT_EQ(items.size(), control.items.size()) << control.id;
            for (std::size_t i = 0; i < items.size(); ++i) {
                EXPECT_EQ(items[i], wide(control.items[i])) << control.id;
            }
        } else {
            EXPECT_EQ(place.bottom, expected.bottom) << control.id;
            EXPECT_EQ(textOf(window), wide(control.caption)) << control.id;
        }
        if (previous != nullptr) {
            EXPECT_EQ(::GetNextDlgTabItem(dialog, previous, FALSE), window) << control.id;
        }
        previous = window;
    }
    click(dialog, OkButtonId);
    EXPECT_EQ(quarvel.waitForExit(), 0);
}

// The icon and the version Windows shows for the program file. (Wine answers no other process's
// WM_GETICON, so the title bar's icon is not read back.)
TEST(DialogDriver, ProgramFileCarriesItsIconAndVersion) {
    const std::wstring program = variable(L"QUARVEL_EXE");
    HMODULE resources = ::LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(resources, nullptr);
    EXPECT_NE(::LoadImageW(resources, MAKEINTRESOURCEW(QUARVEL_PROGRAM_ICON), IMAGE_ICON, 0, 0,
                           LR_DEFAULTSIZE),
              nullptr);
    ::FreeLibrary(resources);

    std::vector<char> info(::GetFileVersionInfoSizeW(program.c_str(), nullptr));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(
        ::GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    wchar_t* text = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\StringFileInfo\\040904B0\\FileVersion",
                                 reinterpret_cast<void**>(&text), &length));
    EXPECT_EQ(std::wstring(text), wide(kQuarvelVersion));
}

// The operator's browser for web pages, replaced while it lives by a command that writes the
// page it is asked to open into a file.
class BrowserRecorder {
public:
    explicit BrowserRecorder(std::wstring record) : m_record(std::move(record)) {
        HKEY key = nullptr;
        m_hadPagesKey =
            ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, pages, 0, KEY_READ, &key) == ERROR_SUCCESS;
        if (m_hadPagesKey) {
            ::RegCloseKey(key);
        }
        wchar_t earlier[256];
        DWORD size = sizeof(earlier);
        if (::RegGetValueW(HKEY_LOCAL_MACHINE, pages, nullptr, RRF_RT_REG_SZ, nullptr, earlier,
                           &size) == ERROR_SUCCESS) {
            m_earlierClass = earlier;
        }
        setDefault(pages, recorderClass);
        setDefault(recorderCommand, L"cmd.exe /c echo %1>\"" + m_record + L"\"");
    }
    // The prefix's own browser again for the scenarios and runs that follow.
    ~BrowserRecorder() {
        if (!m_hadPagesKey) {
            ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, pages);
        } else if (m_earlierClass.empty()) {
            ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, pages, nullptr);
        } else {
            setDefault(pages, m_earlierClass);
        }
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, recorderKey);
    }
    BrowserRecorder(const BrowserRecorder&) = delete;
    BrowserRecorder& operator=(const BrowserRecorder&) = delete;

    // The line the command wrote, once it has written it.
    std::wstring opened() const {
        HANDLE file = ::CreateFileW(m_record.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return L"";
        }
        char bytes[4096];
        DWORD length = 0;
        ::ReadFile(file, bytes, sizeof(bytes), &length, nullptr);
        ::CloseHandle(file);
        std::string line(bytes, length);
        line.erase(line.find_last_not_of("\r\n \"") + 1);
        line.erase(0, line.find_first_not_of('"'));
        return wide(line);
    }

private:
    static constexpr wchar_t pages[] = L"Software\\Classes\\.html";
    static constexpr wchar_t recorderClass[] = L"quarvel.recorded.page";
    static constexpr wchar_t recorderKey[] = L"Software\\Classes\\quarvel.recorded.page";
    static constexpr wchar_t recorderCommand[] =
        L"Software\\Classes\\quarvel.recorded.page\\shell\\open\\command";

    static void setDefault(const wchar_t* key, const std::wstring& value) {
        ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, nullptr, REG_SZ, value.c_str(),
                                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }

    std::wstring m_record;
    bool m_hadPagesKey = false;
    std::wstring m_earlierClass;
};

TEST(DialogDriver, HelpOpensThePageBesideTheProgram) {
    const std::wstring folder = settingsFolder();
    ::CreateDirectoryW(folder.c_str(), nullptr);
    BrowserRecorder browser(folder + L"\\opened.txt");
    Program quarvel(folder);
    HWND dialog = waitForWindow(loaderTitle);
    ASSERT_NE(dialog, nullptr);
    click(dialog, HelpButtonId);
    std::wstring page = variable(L"QUARVEL_EXE");
    page.replace(page.rfind(L'.'), std::wstring::npos, L".html");
    EXPECT_TRUE(waitFor([&] { return !browser.opened().empty(); }, 30));
    EXPECT_EQ(browser.opened(), page);
    click(dialog, OkButtonId);
    EXPECT_EQ(quarvel.waitForExit(), 0);
}

// Starts a load of the file from the main dialog, on the port and channel list entries.
HWND startLoad(const std::wstring& file, int portIndex = 0, int channelIndex = 0) {
    HWND dialog = waitForWindow(loaderTitle);
    EXPECT_NE(dialog, nullptr);
    ask(::GetDlgItem(dialog, FilePathBoxId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
    ask(::GetDlgItem(dialog, PortListId), CB_SETCURSEL, static_cast<WPARAM>(portIndex));
    ask(::GetDlgItem(dialog, ChannelListId), CB_SETCURSEL, static_cast<WPARAM>(channelIndex));
    click(dialog, GoButtonId);
    return waitForWindow(L"Loading...");
}

bool loadEnded(HWND loading) {
    return textOf(::GetDlgItem(loading, OkButtonId)) == L"Ok";
}

TEST(DialogDriver, DemoLoadRunsToTheEnd) {
    Program quarvel(settingsFolder());
    HWND loading = startLoad(variable(L"QUARVEL_DEMO"));
    ASSERT_NE(loading, nullptr);
    HWND bar = ::GetDlgItem(loading, ProgressFrameId);
    std::vector<std::wstring> shown;
    EXPECT_TRUE(waitFor(
        [&] {
            if (const auto text = textOf(bar); shown.empty() || shown.back() != text) {
                shown.push_back(text);
            }
            return loadEnded(loading);
        },
        300));
    const auto lines = linesOf(loading);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), L"Initialising");
    EXPECT_EQ(lines.back(), L"Loading complete. No errors");
    EXPECT_EQ(textOf(bar), L"100%");
    EXPECT_GT(shown.size(), 2U) << "the bar's text follows the load";
    click(loading, OkButtonId);
    click(waitForWindow(loaderTitle), OkButtonId);
    EXPECT_EQ(quarvel.waitForExit(), 0);
}

// A record refused three times: the prompt opens on "Cancel", and the answer decides the end.
void answerRefusedRecord(bool tryAgain) {
    Program quarvel(settingsFolder());
    HWND loading = startLoad(variable(L"QUARVEL_DEMO"));
    ASSERT_NE(loading, nullptr);
    HWND prompt = waitForWindow(L"Dialog", 120);
    ASSERT_NE(prompt, nullptr);
    GUITHREADINFO focus{};
    focus.cbSize = sizeof(focus);
    ASSERT_TRUE(::GetGUIThreadInfo(quarvel.thread(), &focus));
    EXPECT_EQ(focus.hwndFocus, ::GetDlgItem(prompt, CancelButtonId));
    EXPECT_EQ(textOf(focus.hwndFocus), L"Cancel");
    click(prompt, tryAgain ? OkButtonId : CancelButtonId);
    EXPECT_TRUE(waitFor([&] { return loadEnded(loading); }, 300));
    const auto lines = linesOf(loading);
    ASSERT_GE(lines.size(), 3U);
    const std::wstring refused = L"Device received record with bad checksum. Trying record again";
    EXPECT_EQ(std::count(lines.begin(), lines.end(), refused), 3);
    EXPECT_EQ(lines.back(), tryAgain ? L"Loading complete. No errors" : L"Error!");
}

TEST(DialogDriver, RefusedRecordCancelledEndsInError) {
    answerRefusedRecord(false);
}

TEST(DialogDriver, RefusedRecordTriedAgainCompletes) {
    answerRefusedRecord(true);
}

TEST(DialogDriver, PortWithoutADeviceCannotBeOpened) {
    Program quarvel(settingsFolder());
    HWND loading = startLoad(variable(L"QUARVEL_DEMO"), 1);
    ASSERT_NE(loading, nullptr);
    EXPECT_TRUE(waitFor([&] { return loadEnded(loading); }, 60));
    EXPECT_EQ(linesOf(loading),
              (std::vector<std::wstring>{L"Initialising", L"Could not open PC RS232", L"Error!"}));
}

TEST(DialogDriver, ExitKeepsTheValuesForTheNextStart) {
    const std::wstring folder = settingsFolder();
    const std::wstring file = L"C:\\Träger\\程序 ü.a21";
    {
        Program quarvel(folder);
        HWND dialog = waitForWindow(loaderTitle);
        ASSERT_NE(dialog, nullptr);
        ask(::GetDlgItem(dialog, FilePathBoxId), WM_SETTEXT, 0,
            reinterpret_cast<LPARAM>(file.c_str()));
        ask(::GetDlgItem(dialog, PortListId), CB_SETCURSEL, 1);
        ask(::GetDlgItem(dialog, ChannelListId), CB_SETCURSEL, 16);
        click(dialog, OkButtonId);
        ASSERT_EQ(quarvel.waitForExit(), 0);
    }
    Program quarvel(folder);
    HWND dialog = waitForWindow(loaderTitle);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(textOf(::GetDlgItem(dialog, FilePathBoxId)), file);
    EXPECT_EQ(ask(::GetDlgItem(dialog, PortListId), CB_GETCURSEL), 1);
    EXPECT_EQ(ask(::GetDlgItem(dialog, ChannelListId), CB_GETCURSEL), 16);
}

TEST(DialogDriver, WindowsAnswerAtOnceWhileTheDeviceIsSlow) {
    Program quarvel(settingsFolder());
    HWND loading = startLoad(variable(L"QUARVEL_DEMO"));
    ASSERT_NE(loading, nullptr);
    HWND list = ::GetDlgItem(loading, MessageListId);
    HWND bar = ::GetDlgItem(loading, ProgressFrameId);
    // The device holds back every answer for seconds: the first step waits all this time.
    const auto end = Clock::now() + std::chrono::seconds(4);
    auto slowest = Clock::duration::zero();
    while (Clock::now() < end) {
        for (HWND window : {list, bar}) {
            const auto start = Clock::now();
            DWORD_PTR result = 0;
            ASSERT_NE(::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 100,
                                            &result),
                      0);
            slowest = std::max(slowest, Clock::now() - start);
        }
        ::Sleep(20);
    }
    EXPECT_FALSE(loadEnded(loading));
    EXPECT_LT(slowest, std::chrono::milliseconds(100));
    EXPECT_FALSE(::IsWindowEnabled(::FindWindowW(L"#32770", loaderTitle.c_str())))
        << "the main dialog takes no input while a load runs";
}

} // namespace
} // namespace quarvel
