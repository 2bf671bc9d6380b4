#include "link/win32_serial_channel.h"

#include "link/win32_open_failure.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <windows.h>

namespace quarvel {
namespace {

constexpr DWORD kQueueSize = 100;
constexpr DWORD kReadWaitMs = 100;
constexpr DWORD kWriteWaitPerByteMs = 100;

// "COM" and a number: a name that the \\.\ form must carry, since the bare name reaches only
// COM1 to COM9.
bool isComName(const std::string& device) {
    return device.size() > 3 &&
           std::equal(
               device.begin(), device.begin() + 3, "COM",
               [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; }) &&
           std::all_of(device.begin() + 3, device.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

std::wstring systemPath(const std::string& device) {
    const std::string path = isComName(device) ? "\\\\.\\" + device : device;
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), wide.data(),
                        length);
    return wide;
}

// Errors of a write whose device is no longer there (unplugged, or the far end hung up).
bool deviceWentAway(DWORD errorCode) {
    switch (errorCode) {
    case ERROR_NOT_READY:
    case ERROR_BAD_COMMAND:
    case ERROR_GEN_FAILURE:
    case ERROR_ACCESS_DENIED:
    case ERROR_INVALID_HANDLE:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
        return true;
    default:
        return false;
    }
}

class Win32SerialChannel final : public ByteChannel {
public:
    explicit Win32SerialChannel(HANDLE handle) : m_handle(handle) {}
    ~Win32SerialChannel() override { CloseHandle(m_handle); }
    Win32SerialChannel(const Win32SerialChannel&) = delete;
    Win32SerialChannel& operator=(const Win32SerialChannel&) = delete;

    bool write(std::span<const std::uint8_t> bytes) override {
        DWORD written = 0;
        if (!WriteFile(m_handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr)) {
            m_deviceGone = m_deviceGone || deviceWentAway(GetLastError());
            return false;
        }
        return written == bytes.size();
    }

    int readByte() override {
        // A read on a line whose far end hung up can go on answering "nothing" for ever.
        if (m_deviceGone) {
            return -2;
        }
        std::uint8_t byte = 0;
        DWORD received = 0;
        if (!ReadFile(m_handle, &byte, 1, &received, nullptr)) {
            return -2;
        }
        return received == 1 ? byte : -1;
    }

    void discardPending() override { PurgeComm(m_handle, PURGE_TXCLEAR | PURGE_RXCLEAR); }

    std::int64_t nowMs() const override { return static_cast<std::int64_t>(GetTickCount64()); }

private:
    HANDLE m_handle;
    bool m_deviceGone = false;
};

// Only speed and character format change; flow control, control lines and special characters
// stay as the port had them.
bool applySettings(HANDLE handle, const SerialSettings& settings) {
    DCB state{};
    state.DCBlength = sizeof state;
    if (!GetCommState(handle, &state)) {
        return false;
    }
    state.DCBlength = sizeof state;
    state.BaudRate = static_cast<DWORD>(settings.baudRate);
    state.ByteSize = static_cast<BYTE>(settings.dataBits);
    state.Parity = NOPARITY;
    state.StopBits = ONESTOPBIT;
    if (!SetCommState(handle, &state)) {
        return false;
    }
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = kReadWaitMs;
    timeouts.ReadTotalTimeoutMultiplier = kReadWaitMs;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = kWriteWaitPerByteMs;
    timeouts.WriteTotalTimeoutConstant = 0;
    return SetCommTimeouts(handle, &timeouts) != 0;
}

} // namespace

ChannelOpener win32SerialOpener(std::function<std::string(int portNumber)> deviceName,
                                OpenFailureSink onFailure) {
    return [deviceName = std::move(deviceName), onFailure = std::move(onFailure)](
               const SerialSettings& settings) -> std::unique_ptr<ByteChannel> {
        const std::string device = deviceName(settings.portNumber);
        const auto fail = [&](Win32OpenStep step, DWORD errorCode) {
            if (onFailure) {
                onFailure(win32OpenFailure(device, step, errorCode));
            }
            return nullptr;
        };
        const HANDLE handle =
            CreateFileW(systemPath(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return fail(Win32OpenStep::Open, GetLastError());
        }
        // Only a recommendation to the driver: its answer changes nothing.
        SetupComm(handle, kQueueSize, kQueueSize);
        // A handle is a port only once its settings can be read and written: Wine opens a COM
        // name mapped to a missing device or a plain file and fails only here.
        if (!applySettings(handle, settings)) {
            const DWORD errorCode = GetLastError();
            CloseHandle(handle);
            return fail(Win32OpenStep::Settings, errorCode);
        }
        return std::make_unique<Win32SerialChannel>(handle);
    };
}

} // namespace quarvel
