#include "link/win32_serial_channel.h"

#include "link/win32_line_settings.h"
#include "link/win32_open_failure.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <utility>
#include <windows.h>

namespace quarvel {
namespace {

// Below INFINITE, which a wait would take as "for ever".
constexpr std::int64_t kLongestWaitMs = 0x7fffffff;

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

// Errors of a read or write whose device is no longer there (unplugged, or the far end hung up).
bool deviceWentAway(DWORD errorCode) {
    switch (errorCode) {
    case ERROR_BROKEN_PIPE:
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
    Win32SerialChannel(HANDLE handle, HANDLE event, std::function<void()> serveQueue)
        : m_handle(handle), m_event(event), m_serveQueue(std::move(serveQueue)) {}
    ~Win32SerialChannel() override {
        CloseHandle(m_handle);
        CloseHandle(m_event);
    }
    Win32SerialChannel(const Win32SerialChannel&) = delete;
    Win32SerialChannel& operator=(const Win32SerialChannel&) = delete;

    bool write(std::span<const std::uint8_t> bytes) override {
        const auto size = static_cast<DWORD>(bytes.size());
        OVERLAPPED overlapped = freshOverlapped();
        const BOOL started = WriteFile(m_handle, bytes.data(), size, nullptr, &overlapped);
        const std::optional<DWORD> written =
            finish(started, overlapped, nowMs() + std::int64_t{kWin32WriteWaitPerByteMs} * size);
        if (!written) {
            noteFailure();
            return false;
        }
        return *written == size;
    }

    int readByte() override {
        // A read on a line whose far end hung up can go on answering "nothing" for ever.
        if (m_deviceGone) {
            return -2;
        }
        std::uint8_t byte = 0;
        OVERLAPPED overlapped = freshOverlapped();
        const BOOL started = ReadFile(m_handle, &byte, 1, nullptr, &overlapped);
        const std::optional<DWORD> received =
            finish(started, overlapped, nowMs() + kWin32ReadWaitMs);
        if (received == 1U) {
            return byte;
        }
        // A device unplugged in the middle of a read can leave reads answering "nothing", but
        // its status no longer reads.
        DWORD errors = 0;
        if (!received || !ClearCommError(m_handle, &errors, nullptr)) {
            noteFailure();
            return -2;
        }
        return -1;
    }

    // The driver's input queue: a reply that arrived while the GUI was busy elsewhere is still
    // there to be read after its deadline.
    bool hasUnreadByte() override {
        DWORD errors = 0;
        COMSTAT status{};
        return ClearCommError(m_handle, &errors, &status) && status.cbInQue > 0;
    }

    void discardPending() override { PurgeComm(m_handle, PURGE_TXCLEAR | PURGE_RXCLEAR); }

    std::int64_t nowMs() const override { return static_cast<std::int64_t>(GetTickCount64()); }

private:
    // After a failed read or write: notes a device that went away, and clears the port's error
    // state, which would otherwise stop every later read and write.
    void noteFailure() {
        m_deviceGone = m_deviceGone || deviceWentAway(GetLastError());
        DWORD errors = 0;
        ClearCommError(m_handle, &errors, nullptr);
    }

    OVERLAPPED freshOverlapped() const {
        OVERLAPPED overlapped{};
        overlapped.hEvent = m_event;
        return overlapped;
    }

    // The bytes an overlapped read or write moved by the deadline, or nothing when it failed
    // (GetLastError says why). One still running at the deadline is cancelled and its end
    // awaited, so that what it moved meanwhile is counted and no buffer is left to it.
    std::optional<DWORD> finish(BOOL started, OVERLAPPED& overlapped, std::int64_t deadlineMs) {
        if (!started && GetLastError() != ERROR_IO_PENDING) {
            return std::nullopt;
        }
        if (!awaitEvent(deadlineMs)) {
            CancelIo(m_handle);
        }
        DWORD moved = 0;
        if (GetOverlappedResult(m_handle, &overlapped, &moved, TRUE)) {
            return moved;
        }
        // Ended by the line's own time-out (Wine reports that as an error) or cancelled by us.
        const DWORD reason = GetLastError();
        if (reason == ERROR_TIMEOUT || reason == ERROR_OPERATION_ABORTED) {
            return moved;
        }
        return std::nullopt;
    }

    // True when the operation's event is set by the deadline.
    bool awaitEvent(std::int64_t deadlineMs) {
        for (;;) {
            const auto remaining = static_cast<DWORD>(std::max<std::int64_t>(
                0, std::min<std::int64_t>(deadlineMs - nowMs(), kLongestWaitMs)));
            if (!m_serveQueue || remaining == 0) {
                return WaitForSingleObject(m_event, remaining) == WAIT_OBJECT_0;
            }
            const DWORD woken = MsgWaitForMultipleObjects(
                1, &m_event, FALSE, remaining, QS_SENDMESSAGE | QS_PAINT | QS_POSTMESSAGE);
            if (woken == WAIT_OBJECT_0 + 1) {
                m_serveQueue();
            } else if (woken != WAIT_TIMEOUT) {
                return woken == WAIT_OBJECT_0;
            }
        }
    }

    HANDLE m_handle;
    HANDLE m_event;
    std::function<void()> m_serveQueue;
    bool m_deviceGone = false;
};

} // namespace

ChannelOpener win32SerialOpener(std::function<std::string(int portNumber)> deviceName,
                                OpenFailureSink onFailure, std::function<void()> serveQueue) {
    return [deviceName = std::move(deviceName), onFailure = std::move(onFailure),
            serveQueue = std::move(serveQueue)](
               const SerialSettings& settings) -> std::unique_ptr<ByteChannel> {
        const std::string device = deviceName(settings.portNumber);
        const std::wstring path = systemPath(device);
        const auto fail = [&](Win32OpenStep step, DWORD errorCode) {
            if (onFailure) {
                onFailure(win32OpenFailure(device, path, step, errorCode));
            }
            return nullptr;
        };
        const HANDLE handle =
            CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return fail(Win32OpenStep::Open, GetLastError());
        }
        if (const std::optional<Win32OpenStep> failed = setUpLine(handle, settings)) {
            const DWORD errorCode = GetLastError();
            CloseHandle(handle);
            return fail(*failed, errorCode);
        }
        // Manual reset: ReadFile and WriteFile clear it as each operation starts.
        const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (event == nullptr) {
            const DWORD errorCode = GetLastError();
            CloseHandle(handle);
            return fail(Win32OpenStep::Open, errorCode);
        }
        return std::make_unique<Win32SerialChannel>(handle, event, serveQueue);
    };
}

} // namespace quarvel
