#include "files/platform_folders.h"

// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include <cstdlib>
#include <string>
#include <system_error>

namespace quarvel {

namespace {

constexpr wchar_t kProgramFolderName[] = L"Quarvel";

// The user's local application data folder: the shell's answer, else LOCALAPPDATA for a process
// whose shell folders cannot be looked up. Wide throughout, so that a user name outside the
// ANSI code page still names the folder.
std::filesystem::path localAppDataFolder() {
    PWSTR known = nullptr;
    std::filesystem::path folder;
    if (SUCCEEDED(
            ::SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &known))) {
        folder = known;
    }
    ::CoTaskMemFree(known);
    if (!folder.empty()) {
        return folder;
    }
    if (const wchar_t* variable = ::_wgetenv(L"LOCALAPPDATA"); variable != nullptr) {
        if (std::filesystem::path fromEnvironment(variable); fromEnvironment.is_absolute()) {
            return fromEnvironment;
        }
    }
    return {};
}

} // namespace

std::filesystem::path runningExecutable() {
    // The buffer grows until the whole path fits: a path may be longer than MAX_PATH.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) {
            return {};
        }
        if (length < size) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::filesystem::path userCacheFolder() {
    const auto folder = localAppDataFolder();
    return folder.empty() ? folder : folder / kProgramFolderName;
}

const char* userCacheVariable() {
    return "LOCALAPPDATA";
}

bool userMayWriteInto(const std::filesystem::path& folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        return false;
    }
    // The read-only attribute says nothing of a folder's access list (Program Files): only
    // creating a file answers. The file goes away when its handle closes.
    const std::wstring stem = L"~quarvel-" + std::to_wstring(::GetCurrentProcessId()) + L"-";
    for (int attempt = 0; attempt < 16; ++attempt) {
        const auto probe = folder / (stem + std::to_wstring(attempt) + L".tmp");
        const HANDLE file =
            ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            ::CloseHandle(file);
            return true;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS) {
            return false;
        }
    }
    return false;
}

} // namespace quarvel
