#include "link/win32_line_settings.h"

namespace quarvel {
namespace {

constexpr DWORD kQueueSize = 100;
constexpr char kXon = 0x11;
constexpr char kXoff = 0x13;

// Every field a raw transfer depends on; the rest (buffer limits, the event character) is
// left as the port had it.
void makeRaw(DCB& state, const SerialSettings& settings) {
    state.DCBlength = sizeof state;
    state.BaudRate = static_cast<DWORD>(settings.baudRate);
    state.ByteSize = static_cast<BYTE>(settings.dataBits);
    state.Parity = NOPARITY;
    state.StopBits = ONESTOPBIT;
    // Windows supports no other mode.
    state.fBinary = TRUE;
    // Every byte as it came: none checked, replaced or dropped (a null stripper drops a 00,
    // and every reply holds one), and no line error stops the reads that follow it.
    state.fParity = FALSE;
    state.fErrorChar = FALSE;
    state.fNull = FALSE;
    state.fAbortOnError = FALSE;
    // No handshake of any kind: the device has none, so a line waiting for one never sends,
    // and software flow control would take the 11h and 13h bytes of a reply as its own.
    state.fOutxCtsFlow = FALSE;
    state.fOutxDsrFlow = FALSE;
    state.fDsrSensitivity = FALSE;
    state.fOutX = FALSE;
    state.fInX = FALSE;
    state.fTXContinueOnXoff = TRUE;
    // SetCommState refuses equal XON and XOFF characters, even unused.
    state.XonChar = kXon;
    state.XoffChar = kXoff;
    // Both control lines raised, as a terminal would: interfaces powered from them need it.
    state.fDtrControl = DTR_CONTROL_ENABLE;
    state.fRtsControl = RTS_CONTROL_ENABLE;
}

} // namespace

std::optional<Win32OpenStep> setUpLine(HANDLE handle, const SerialSettings& settings) {
    // Only a recommendation to the driver: its answer changes nothing.
    SetupComm(handle, kQueueSize, kQueueSize);
    // A handle is a port only once its settings can be read: Wine opens a COM name mapped to
    // a missing device or a plain file and fails only here.
    DCB state{};
    state.DCBlength = sizeof state;
    if (!GetCommState(handle, &state)) {
        return Win32OpenStep::ReadSettings;
    }
    makeRaw(state, settings);
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = kWin32ReadWaitMs;
    timeouts.ReadTotalTimeoutMultiplier = kWin32ReadWaitMs;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = kWin32WriteWaitPerByteMs;
    timeouts.WriteTotalTimeoutConstant = 0;
    if (!SetCommState(handle, &state) || !SetCommTimeouts(handle, &timeouts)) {
        return Win32OpenStep::WriteSettings;
    }
    return std::nullopt;
}

} // namespace quarvel
