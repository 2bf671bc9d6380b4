#include "link/win32_open_failure.h"

#include <windows.h>

namespace quarvel {
namespace {

std::string systemText(DWORD errorCode) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, errorCode, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 ? std::string(text, length) : std::string();
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    return message.empty() ? "error " + std::to_string(errorCode) : message;
}

// A name that the file system knows (a folder, a plain file) is no serial port; Windows
// refuses to open a folder for reading and writing as access denied.
bool namesAFile(const std::wstring& systemPath) {
    return GetFileAttributesW(systemPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

OpenProblem problemOf(const std::wstring& systemPath, Win32OpenStep step, DWORD errorCode) {
    switch (step) {
    case Win32OpenStep::ReadSettings:
        // The name opened, but what it names has no line settings.
        return OpenProblem::NotASerialPort;
    case Win32OpenStep::WriteSettings:
        // A serial port that refused the line's settings: the system's words say why.
        return OpenProblem::Other;
    case Win32OpenStep::Open:
        break;
    }
    switch (errorCode) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return OpenProblem::Missing;
    // A COM port that another program has open is refused as access denied.
    case ERROR_ACCESS_DENIED:
        return namesAFile(systemPath) ? OpenProblem::NotASerialPort : OpenProblem::InUse;
    case ERROR_SHARING_VIOLATION:
        return OpenProblem::InUse;
    default:
        return OpenProblem::Other;
    }
}

} // namespace

OpenFailure win32OpenFailure(const std::string& device, const std::wstring& systemPath,
                             Win32OpenStep step, unsigned long errorCode) {
    return {device, problemOf(systemPath, step, errorCode), systemText(errorCode)};
}

} // namespace quarvel
