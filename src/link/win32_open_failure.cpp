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

OpenProblem problemOf(Win32OpenStep step, DWORD errorCode) {
    if (step == Win32OpenStep::Settings) {
        // The name opened, but what it names takes no line settings.
        return OpenProblem::NotASerialPort;
    }
    switch (errorCode) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return OpenProblem::Missing;
    // A COM port that another program has open is refused as access denied.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return OpenProblem::InUse;
    default:
        return OpenProblem::Other;
    }
}

} // namespace

OpenFailure win32OpenFailure(const std::string& device, Win32OpenStep step,
                             unsigned long errorCode) {
    return {device, problemOf(step, errorCode), systemText(errorCode)};
}

} // namespace quarvel
