#include "cli/unit_log.h"
#include "files/path_text.h"

#include <windows.h>

namespace quarvel {
namespace {

std::string systemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 ? std::string(text, length) : "error " + std::to_string(code);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
        message.pop_back();
    }
    return message;
}

} // namespace

bool UnitLog::append(std::string_view line, std::string& error) {
    const std::lock_guard lock(m_mutex);
    const std::string text = std::string(line) + '\n';
    const HANDLE file = CreateFileW(pathFromText(m_path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = "cannot open the log " + m_path + ": " + systemMessage(GetLastError());
        return false;
    }
    LARGE_INTEGER end{};
    DWORD written = 0;
    bool whole = SetFilePointerEx(file, LARGE_INTEGER{}, &end, FILE_END) &&
                 WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                 written == text.size() && FlushFileBuffers(file);
    if (!whole) {
        error = "cannot write the log " + m_path + ": " + systemMessage(GetLastError());
        // A record is there whole or not at all.
        SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
    }
    CloseHandle(file);
    return whole;
}

} // namespace quarvel
