#include "link/serial_port.h"

#include "link/command_set.h"

#include <algorithm>
#include <utility>

namespace quarvel {

namespace {

constexpr std::size_t kPresetLength = 20;
constexpr std::uint8_t kPresetByte = 0xFF;
constexpr std::int64_t kBodyLimitMs = 2000;
constexpr int kNothing = -1;
constexpr int kFailure = -2;

} // namespace

SerialPort::SerialPort(ChannelOpener opener) : m_opener(std::move(opener)) {}

SerialPort::~SerialPort() {
    close();
}

int SerialPort::open(const SerialSettings& settings, int /*inputQueueSize*/,
                     int /*outputQueueSize*/) {
    // The queue sizes are only a recommendation to the driver; the backends size their own.
    close();
    if (m_opener) {
        m_channel = m_opener(settings);
    }
    return m_channel ? 0 : -1;
}

void SerialPort::close() {
    if (m_channel) {
        m_channel->discardPending();
        m_channel.reset();
    }
}

bool SerialPort::isOpen() const {
    return m_channel != nullptr;
}

bool SerialPort::write(std::span<const std::uint8_t> bytes) {
    return m_channel && m_channel->write(bytes);
}

bool SerialPort::writeByte(std::uint8_t byte) {
    return write(std::span(&byte, 1));
}

int SerialPort::readByte() {
    return m_channel ? m_channel->readByte() : kFailure;
}

std::int64_t SerialPort::nowMs() const {
    return m_channel ? m_channel->nowMs() : 0;
}

int SerialPort::readReply(std::span<std::uint8_t> buffer, int timeoutSeconds) {
    std::fill_n(buffer.begin(), std::min(buffer.size(), kPresetLength), kPresetByte);
    if (!isOpen()) {
        return ReplyNoResponse;
    }
    const int startByte = huntStartByte(std::int64_t{timeoutSeconds} * 1000, buffer.size());
    if (startByte == kNothing) {
        return ReplyNoResponse;
    }
    if (startByte == kFailure) {
        return ReplyPortError;
    }
    return readReplyBody(startByte, buffer);
}

int SerialPort::huntStartByte(std::int64_t timeoutMs, std::size_t lateBytes) {
    const std::int64_t deadline = nowMs() + timeoutMs;
    int value = readByte();
    // Bytes before the start byte are noise; when the time-out comes first, the last byte read
    // is taken as the start byte all the same. Bytes already waiting then are looked through
    // too, up to a reply's length, so that a line that never falls silent cannot hold the wait.
    while (value != kStartOfExclusive) {
        if (value == kFailure ||
            (nowMs() >= deadline && (lateBytes-- == 0 || !m_channel->hasUnreadByte()))) {
            return value;
        }
        value = readByte();
    }
    return value;
}

int SerialPort::readReplyBody(int startByte, std::span<std::uint8_t> buffer) {
    // One place is kept for the terminating 0; a longer frame is read to its end but not stored.
    std::size_t stored = 0;
    bool overflowed = false;
    const auto store = [&](int byte) {
        if (stored + 1 < buffer.size()) {
            buffer[stored++] = static_cast<std::uint8_t>(byte);
        } else {
            overflowed = true;
        }
    };
    store(startByte);

    const std::int64_t deadline = nowMs() + kBodyLimitMs;
    bool ended = false;
    // A byte counts when its read began within the limit or when it was already waiting: time
    // the program spent elsewhere (serving its windows, say) does not make a whole reply late.
    // Past the limit, a frame too long for the buffer ends the reading.
    while (!ended && (nowMs() < deadline || (!overflowed && m_channel->hasUnreadByte()))) {
        const int value = readByte();
        if (value == kFailure) {
            return ReplyPortError;
        }
        if (value != kNothing) {
            store(value);
            ended = value == kEndOfExclusive;
        }
    }
    if (stored < buffer.size()) {
        buffer[stored] = 0;
    }
    return ended && !overflowed ? ReplyComplete : ReplyBadMessage;
}

} // namespace quarvel
