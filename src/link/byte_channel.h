#pragma once

#include "link/serial_settings.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace quarvel {

// The seam under SerialPort: one open line to a device. The real one is a QSerialPort; tests
// plug in an in-process link to the device model that runs on virtual time. Destroying the
// channel closes the line.
class ByteChannel {
public:
    virtual ~ByteChannel() = default;

    // True when every byte was accepted.
    virtual bool write(std::span<const std::uint8_t> bytes) = 0;
    // The next byte 0 to 255, -1 when none arrived within 100 ms, -2 when the line failed.
    virtual int readByte() = 0;
    // True when a byte has arrived that readByte has not taken yet, looking without waiting, so
    // that a reply already on hand counts however late it is looked at. A line that cannot tell
    // answers false.
    virtual bool hasUnreadByte() { return false; }
    // Drops everything still queued for sending and everything received but not yet read.
    virtual void discardPending() = 0;
    // Milliseconds on a monotonic clock: every time-out of the link is measured on it.
    virtual std::int64_t nowMs() const = 0;
};

// Opens the line that the settings name, or answers nullptr when it cannot be opened or set up.
using ChannelOpener = std::function<std::unique_ptr<ByteChannel>(const SerialSettings&)>;

enum class OpenProblem { Missing, PermissionDenied, InUse, NotASerialPort, Other };

// Why a line did not open: the device tried, the kind of problem, and the system's own words.
struct OpenFailure {
    std::string device;
    OpenProblem problem = OpenProblem::Other;
    std::string systemMessage;
};

// Told by a backend's opener each time a line does not open; the front end decides what to say.
using OpenFailureSink = std::function<void(const OpenFailure&)>;

} // namespace quarvel
