#pragma once

#include "link/byte_channel.h"

#include <cstdint>
#include <memory>
#include <span>

namespace quarvel {

// Results of SerialPort::readReply.
enum ReplyResult : int {
    ReplyComplete = 0,
    ReplyNoResponse = 1,
    ReplyBadMessage = 2,
    ReplyPortError = 3,
};

// One serial line with blocking byte operations and a framed-reply reader.
class SerialPort {
public:
    explicit SerialPort(ChannelOpener opener);
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // 0 when open, -1 when the port could not be opened or set up.
    int open(const SerialSettings& settings, int inputQueueSize, int outputQueueSize);
    void close();
    bool isOpen() const;

    bool write(std::span<const std::uint8_t> bytes);
    bool writeByte(std::uint8_t byte);
    // 0 to 255, -1 nothing within 100 ms, -2 port failure.
    int readByte();
    // One frame F0 ... F7 into buffer (capacity at least 20), waiting timeoutSeconds for it.
    int readReply(std::span<std::uint8_t> buffer, int timeoutSeconds);
    // The clock the port's time-outs are measured on, in milliseconds.
    std::int64_t nowMs() const;

private:
    // The start byte of a reply, or the byte that stands in for it at the time-out; as readByte,
    // -1 when nothing came and -2 on a port failure. After the time-out at most lateBytes bytes
    // already waiting are looked through.
    int huntStartByte(std::int64_t timeoutMs, std::size_t lateBytes);
    // The rest of the frame after its start byte, within a limit of its own.
    int readReplyBody(int startByte, std::span<std::uint8_t> buffer);

    ChannelOpener m_opener;
    std::unique_ptr<ByteChannel> m_channel;
};

} // namespace quarvel
