#include "cli/unit_log.h"
#include "files/path_text.h"

#include <string>
#include <system_error>
#include <windows.h>

namespace quarvel {
namespace {

// The system's words for the last failure, as the other files written on Windows give them.
std::string lastSystemError() {
    return std::system_category().message(static_cast<int>(GetLastError()));
}

} // namespace

bool UnitLog::append(std::string_view line, std::string& error) {
    const std::lock_guard lock(m_mutex);
    const std::string text = std::string(line) + '\n';
    const HANDLE file = CreateFileW(pathFromText(m_path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = "cannot open the log " + m_path + ": " + lastSystemError();
        return false;
    }
    LARGE_INTEGER end{};
    DWORD written = 0;
    bool whole = SetFilePointerEx(file, LARGE_INTEGER{}, &end, FILE_END) &&
                 WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                 written == text.size() && FlushFileBuffers(file);
    if (!whole) {
        error = "cannot write the log " + m_path + ": " + lastSystemError();
        // A record is there whole or not at all.
        SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
    }
    CloseHandle(file);
    return whole;
}

} // namespace quarvel
