// The Win32 serial backend against Wine's COM ports: COM1 is a pseudo-terminal that ktv-sim
// holds, COM2 names a device that does not exist, COM255 is not mapped at all.
#include "link/command_set.h"
#include "link/win32_serial_channel.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>

namespace quarvel {
namespace {

constexpr SerialSettings kLoadSettings{1, 19200, 'n', 8, 1};

ChannelOpener openerOf(const std::string& device, std::optional<OpenFailure>* failure = nullptr,
                       std::function<void()> serveQueue = {}) {
    return win32SerialOpener([device](int) { return device; },
                             [failure](const OpenFailure& why) {
                                 if (failure != nullptr) {
                                     *failure = why;
                                 }
                             },
                             std::move(serveQueue));
}

// What a GUI thread does with its queue between two waits.
void dispatchQueue() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0,
                        PM_REMOVE | PM_QS_SENDMESSAGE | PM_QS_PAINT | PM_QS_POSTMESSAGE)) {
        DispatchMessageW(&message);
    }
}

// A window of the test's thread that counts the questions answered while a read waits.
class AnsweringWindow {
public:
    static constexpr UINT kQuestion = WM_APP + 1;

    AnsweringWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = answer;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QuarvelAnsweringWindow";
        RegisterClassW(&windowClass);
        m_window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                   nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~AnsweringWindow() { DestroyWindow(m_window); }
    AnsweringWindow(const AnsweringWindow&) = delete;
    AnsweringWindow& operator=(const AnsweringWindow&) = delete;

    bool created() const { return m_window != nullptr; }
    // Sent from another thread, which returns at once: the question waits in this thread's
    // queue before the read starts, so the read cannot end before it could answer.
    void askFromAnotherThread() {
        std::thread([this] { SendNotifyMessageW(m_window, kQuestion, 0, 0); }).join();
    }
    void setReading(bool reading) { m_reading = reading; }
    int answeredWhileReading() const { return m_answeredWhileReading; }

private:
    static LRESULT CALLBACK answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<AnsweringWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == kQuestion && self != nullptr) {
            self->m_answeredWhileReading += self->m_reading ? 1 : 0;
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND m_window = nullptr;
    bool m_reading = false;
    int m_answeredWhileReading = 0;
};

// The port's settings as another program sees them; they last while ktv-sim holds its side.
class RawPort {
public:
    RawPort()
        : m_handle(CreateFileW(L"\\\\.\\COM1", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~RawPort() { CloseHandle(m_handle); }
    RawPort(const RawPort&) = delete;
    RawPort& operator=(const RawPort&) = delete;

    DCB state() const {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        EXPECT_TRUE(GetCommState(m_handle, &dcb)) << GetLastError();
        return dcb;
    }
    void setState(DCB dcb) { ASSERT_TRUE(SetCommState(m_handle, &dcb)) << GetLastError(); }

private:
    HANDLE m_handle;
};

// Another program left the line with every handshake, a null stripper, an abort on errors and
// another character format; the loader's open makes it a raw 8N1 line that answers whole.
TEST(Win32SerialChannel, ALineLeftInAnyStateIsSetRawAndAnswers) {
    {
        RawPort port;
        DCB left = port.state();
        left.BaudRate = CBR_9600;
        left.ByteSize = 7;
        left.Parity = EVENPARITY;
        left.StopBits = TWOSTOPBITS;
        left.fParity = TRUE;
        left.fOutX = TRUE;
        left.fInX = TRUE;
        left.fTXContinueOnXoff = FALSE;
        left.fOutxCtsFlow = TRUE;
        left.fOutxDsrFlow = TRUE;
        left.fDsrSensitivity = TRUE;
        left.fDtrControl = DTR_CONTROL_HANDSHAKE;
        left.fRtsControl = RTS_CONTROL_HANDSHAKE;
        left.fNull = TRUE;
        left.fErrorChar = TRUE;
        left.fAbortOnError = TRUE;
        port.setState(left);
    }
    {
        auto channel = openerOf("COM1")(kLoadSettings);
        ASSERT_NE(channel, nullptr);
        CommandSet commands;
        commands.reset(kAllChannels);
        ASSERT_TRUE(channel->write(commands.searchFrame()));
        std::vector<int> reply;
        const std::int64_t giveUp = channel->nowMs() + 10000;
        while ((reply.empty() || reply.back() != kEndOfExclusive) && channel->nowMs() < giveUp) {
            if (const int value = channel->readByte(); value >= 0) {
                reply.push_back(value);
            }
        }
        // The maker's identifier holds a 00 that a null stripper drops.
        ASSERT_GE(reply.size(), 5U);
        EXPECT_EQ(std::vector<int>(reply.begin(), reply.begin() + 4),
                  (std::vector<int>{0xF0, 0x00, 0x3C, 0x51}));
        EXPECT_EQ(reply.back(), kEndOfExclusive);
    }
    const DCB after = RawPort().state();
    EXPECT_EQ(after.BaudRate, 19200U);
    EXPECT_EQ(after.ByteSize, 8);
    EXPECT_EQ(after.Parity, NOPARITY);
    EXPECT_EQ(after.StopBits, ONESTOPBIT);
    EXPECT_TRUE(after.fBinary);
    EXPECT_FALSE(after.fParity);
    EXPECT_FALSE(after.fOutX);
    EXPECT_FALSE(after.fInX);
    EXPECT_FALSE(after.fOutxCtsFlow);
    EXPECT_FALSE(after.fOutxDsrFlow);
    EXPECT_FALSE(after.fDsrSensitivity);
    EXPECT_EQ(after.fDtrControl, DTR_CONTROL_ENABLE);
    EXPECT_EQ(after.fRtsControl, RTS_CONTROL_ENABLE);
    EXPECT_FALSE(after.fNull);
    EXPECT_FALSE(after.fErrorChar);
    EXPECT_FALSE(after.fAbortOnError);
}

// Bytes that arrived count as unread until a read takes them: what lets a reader that comes back
// late still take a whole reply.
TEST(Win32SerialChannel, ArrivedBytesCountAsUnreadUntilRead) {
    auto channel = openerOf("COM1")(kLoadSettings);
    ASSERT_NE(channel, nullptr);
    EXPECT_FALSE(channel->hasUnreadByte());
    CommandSet commands;
    commands.reset(kAllChannels);
    ASSERT_TRUE(channel->write(commands.searchFrame()));
    const std::int64_t giveUp = channel->nowMs() + 10000;
    while (!channel->hasUnreadByte() && channel->nowMs() < giveUp) {
    }
    ASSERT_TRUE(channel->hasUnreadByte());
    int value = -1;
    while (value != kEndOfExclusive && value != -2 && channel->nowMs() < giveUp) {
        value = channel->readByte();
    }
    EXPECT_EQ(value, kEndOfExclusive);
    EXPECT_FALSE(channel->hasUnreadByte());
}

// ktv-sim answers the search frame with one frame; the case that asks for it comes last, since
// the rest of the frame stays in the line.
TEST(Win32SerialChannel, AWaitingReadServesTheQueueOnlyWhenAskedTo) {
    struct Case {
        const char* name;
        bool servesQueue;
        bool askDevice;
        int expectedFirstByte;
    };
    for (const Case& c : {
             Case{"the queue is served while nothing comes", true, false, -1},
             Case{"without a queue to serve the question waits", false, false, -1},
             Case{"serving the queue loses no byte of the reply", true, true, kStartOfExclusive},
         }) {
        SCOPED_TRACE(c.name);
        AnsweringWindow window;
        ASSERT_TRUE(window.created());
        auto channel =
            openerOf("COM1", nullptr,
                     c.servesQueue ? dispatchQueue : std::function<void()>())(kLoadSettings);
        ASSERT_NE(channel, nullptr);
        if (c.askDevice) {
            CommandSet commands;
            commands.reset(kAllChannels);
            ASSERT_TRUE(channel->write(commands.searchFrame()));
        }
        // Each read is asked one question; the reply may take more than one read to begin.
        // A read that finds a byte already there takes it before the question.
        const std::int64_t giveUp = channel->nowMs() + 10000;
        int emptyReads = 0;
        int value = -1;
        do {
            window.askFromAnotherThread();
            window.setReading(true);
            const std::int64_t start = channel->nowMs();
            value = channel->readByte();
            const std::int64_t waited = channel->nowMs() - start;
            window.setReading(false);
            dispatchQueue();
            EXPECT_LT(waited, 1000);
            if (value == -1) {
                ++emptyReads;
                // Woken by the question, it still waited out its time-out (the tick count
                // moves in steps of up to 16 ms).
                EXPECT_GE(waited, 80);
            }
        } while (c.askDevice && value == -1 && channel->nowMs() < giveUp);
        EXPECT_EQ(value, c.expectedFirstByte);
        EXPECT_GE(window.answeredWhileReading(), c.servesQueue ? emptyReads : 0);
        EXPECT_LE(window.answeredWhileReading(), c.servesQueue ? emptyReads + 1 : 0);
    }
}

// COM1 is ktv-sim's line; COM2 opens, as Wine opens any mapped name, but has no settings.
TEST(Win32SerialChannel, OpenFailuresAreNamedByWhatFailed) {
    struct Case {
        const char* name;
        const char* device;
        int dataBits;
        OpenProblem problem;
    };
    for (const Case& c : {
             Case{"a name that is not mapped", "COM255", 8, OpenProblem::Missing},
             Case{"a name mapped to no device", "COM2", 8, OpenProblem::NotASerialPort},
             Case{"a folder, refused as access denied", "C:\\windows", 8,
                  OpenProblem::NotASerialPort},
             Case{"a port that refuses the settings", "COM1", 3, OpenProblem::Other},
         }) {
        SCOPED_TRACE(c.name);
        std::optional<OpenFailure> failure;
        const SerialSettings settings{1, 19200, 'n', c.dataBits, 1};
        EXPECT_EQ(openerOf(c.device, &failure)(settings), nullptr);
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->device, c.device);
        EXPECT_EQ(failure->problem, c.problem) << failure->systemMessage;
    }
}

// ktv-sim runs with --fault drop:1: it hangs up when the first record arrives.
TEST(Win32SerialChannel, ReadsFailOnceTheDeviceHasGone) {
    auto channel = openerOf("COM1")(kLoadSettings);
    ASSERT_NE(channel, nullptr);
    CommandSet commands;
    commands.reset(kAllChannels);
    const std::string record = "S00600004844521B";
    ASSERT_TRUE(channel->write(commands.recordFrameHead()));
    ASSERT_TRUE(
        channel->write({reinterpret_cast<const std::uint8_t*>(record.data()), record.size()}));
    ASSERT_TRUE(channel->write(std::span(&kEndOfExclusive, 1)));
    // Reads alone notice the hang-up: nothing more is written.
    const std::int64_t deadline = channel->nowMs() + 10000;
    int value = -1;
    while (value == -1 && channel->nowMs() < deadline) {
        value = channel->readByte();
    }
    EXPECT_EQ(value, -2);
    EXPECT_EQ(channel->readByte(), -2);
}

} // namespace
} // namespace quarvel
