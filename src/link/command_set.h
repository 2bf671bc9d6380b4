#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace quarvel {

inline constexpr std::uint8_t kStartOfExclusive = 0xF0;
inline constexpr std::uint8_t kEndOfExclusive = 0xF7;
// Sent on its own, outside any frame, to find a device that does not answer the identify frame.
inline constexpr std::uint8_t kProbeByte = 0xFE;
// The channel byte that every device listens to.
inline constexpr std::uint8_t kAllChannels = 0x7F;
inline constexpr int kExpectedTypeNumber = 271;
inline constexpr std::size_t kChannelIndex = 4;

// The status byte of an acknowledgement.
enum RecordStatus : std::uint8_t {
    StatusAccepted = 0x00,
    StatusRestart = 0x01,
    StatusIncomplete = 0x02,
    StatusBadChecksum = 0x03,
    StatusProgramFailed = 0x04,
    StatusSkipped = 0x05,
};

// Normal devices answer the identify frame; older ones only echo the probe byte and take the
// assumed-model frames.
enum class Dialect { Normal, AssumedModel };

// The frames a load sends, with the channel of the load written into them, and the reply bytes
// it examines. Every load starts in the normal dialect.
class CommandSet {
public:
    CommandSet();

    // Back to the normal dialect with channel (0 to 15, or kAllChannels) in every frame.
    void reset(std::uint8_t channel);
    // Once the device has echoed the probe byte; lasts until the next reset.
    void switchToAssumedModel();

    std::span<const std::uint8_t> searchFrame() const { return m_search; }
    std::span<const std::uint8_t> identifyFrame() const { return m_identify; }
    std::span<const std::uint8_t> handshakeFrame() const { return m_handshake; }
    // The erase frame for sector 0 to 10 (8 bytes normal, 9 assumed-model); empty for any other.
    // The frame is stored once: the next eraseFrame or reset rewrites what the span shows.
    std::span<const std::uint8_t> eraseFrame(int sector);
    // The frame up to its record text: the caller sends the text and kEndOfExclusive after it.
    std::span<const std::uint8_t> recordFrameHead() const;

    // The status byte of a reply buffer, or 0xFF when the buffer is too short to hold it.
    std::uint8_t replyStatus(std::span<const std::uint8_t> reply) const;

private:
    // Where an acknowledgement holds its status byte: 6 normal, 7 assumed-model.
    int statusIndex() const;

    std::array<std::uint8_t, 8> m_search{};
    std::array<std::uint8_t, 8> m_identify{};
    std::array<std::uint8_t, 7> m_handshake{};
    std::array<std::uint8_t, 9> m_erase{};
    std::array<std::uint8_t, 7> m_recordHead{};
    Dialect m_dialect = Dialect::Normal;
};

// The type number of an identify reply: byte 7 x 100 + byte 8; -1 when the buffer is shorter.
int typeNumber(std::span<const std::uint8_t> reply);

} // namespace quarvel
