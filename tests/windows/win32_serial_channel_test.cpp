// The Win32 serial backend against Wine's COM ports: COM1 is a pseudo-terminal that ktv-sim
// holds, COM2 names a device that does not exist, COM255 is not mapped at all.
#include "link/command_set.h"
#include "link/win32_serial_channel.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <windows.h>

namespace quarvel {
namespace {

constexpr SerialSettings kLoadSettings{1, 19200, 'n', 8, 1};

ChannelOpener openerOf(const std::string& device, std::optional<OpenFailure>* failure = nullptr) {
    return win32SerialOpener([device](int) { return device; },
                             [failure](const OpenFailure& why) {
                                 if (failure != nullptr) {
                                     *failure = why;
                                 }
                             });
}

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

TEST(Win32SerialChannel, ChangesSpeedAndFormatOnlyAndWaitsAtMostOneReadTimeOut) {
    DCB before{};
    {
        RawPort port;
        before = port.state();
        before.BaudRate = CBR_9600;
        before.ByteSize = 7;
        before.Parity = EVENPARITY;
        before.StopBits = TWOSTOPBITS;
        before.fOutX = TRUE;
        before.fInX = TRUE;
        before.XonChar = 0x05;
        before.XoffChar = 0x06;
        port.setState(before);
    }
    {
        auto channel = openerOf("COM1")(kLoadSettings);
        ASSERT_NE(channel, nullptr);
        // Nothing comes from a device that was asked nothing: one read gives up after 100 ms.
        const std::int64_t start = channel->nowMs();
        EXPECT_EQ(channel->readByte(), -1);
        const std::int64_t waited = channel->nowMs() - start;
        // The tick count moves in steps of up to 16 ms on Windows.
        EXPECT_GE(waited, 80);
        EXPECT_LT(waited, 1000);
    }
    const DCB after = RawPort().state();
    EXPECT_EQ(after.BaudRate, 19200U);
    EXPECT_EQ(after.ByteSize, 8);
    EXPECT_EQ(after.Parity, NOPARITY);
    EXPECT_EQ(after.StopBits, ONESTOPBIT);
    EXPECT_EQ(after.fOutX, before.fOutX);
    EXPECT_EQ(after.fInX, before.fInX);
    EXPECT_EQ(after.XonChar, before.XonChar);
    EXPECT_EQ(after.XoffChar, before.XoffChar);
}

TEST(Win32SerialChannel, PortsWithoutADeviceDoNotOpen) {
    struct Case {
        const char* device;
        OpenProblem problem;
    };
    // COM2 opens, as Wine opens any mapped name, but takes no settings.
    for (const Case& c :
         {Case{"COM2", OpenProblem::NotASerialPort}, Case{"COM255", OpenProblem::Missing}}) {
        std::optional<OpenFailure> failure;
        EXPECT_EQ(openerOf(c.device, &failure)(kLoadSettings), nullptr) << c.device;
        ASSERT_TRUE(failure.has_value()) << c.device;
        EXPECT_EQ(failure->device, c.device);
        EXPECT_EQ(failure->problem, c.problem) << c.device << ": " << failure->systemMessage;
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
    // The hang-up shows on a write (of a byte outside any frame, which a device ignores);
    // until then the line has not failed.
    constexpr std::uint8_t kIgnored = 0x00;
    const std::int64_t deadline = channel->nowMs() + 10000;
    while (channel->write(std::span(&kIgnored, 1)) && channel->nowMs() < deadline) {
        EXPECT_NE(channel->readByte(), -2);
    }
    EXPECT_EQ(channel->readByte(), -2);
}

} // namespace
} // namespace quarvel
