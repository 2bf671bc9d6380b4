#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quarvel::device {

// The device's side of the wire: the frames it recognises and the replies it builds. Kept apart
// from the loader's command set so that the stand-in checks the loader instead of echoing it.

inline constexpr std::uint8_t kFrameStart = 0xF0;
inline constexpr std::uint8_t kFrameEnd = 0xF7;
inline constexpr std::uint8_t kActiveSensing = 0xFE;
inline constexpr std::uint8_t kEveryChannel = 0x7F;
inline constexpr std::array<std::uint8_t, 3> kMaker{0x00, 0x3C, 0x51};
inline constexpr std::size_t kChannelAt = 4;
inline constexpr std::size_t kCommandAt = 5;

// F0, maker, channel, two command bytes, a record of at most 514 characters, F7.
inline constexpr std::size_t kLongestFrame = 8 + 514;

inline constexpr std::array<std::uint8_t, 2> kSearch{0x06, 0x10};
inline constexpr std::array<std::uint8_t, 2> kIdentify{0x06, 0x01};
inline constexpr std::uint8_t kHandshake = 0x1B;
inline constexpr std::uint8_t kErase = 0x18;
inline constexpr std::uint8_t kRecord = 0x1A;
inline constexpr std::uint8_t kAcknowledge = 0x19;
inline constexpr std::array<std::uint8_t, 2> kAssumedErase{0x06, 0x05};
inline constexpr std::array<std::uint8_t, 2> kAssumedRecord{0x06, 0x0E};
inline constexpr std::array<std::uint8_t, 2> kAssumedAcknowledge{0x06, 0x07};
inline constexpr std::array<std::uint8_t, 2> kIdentity{0x06, 0x02};
inline constexpr std::array<std::uint8_t, 2> kVersion{0x06, 0x03};
// Firmware 1.20, sent as the second identify reply.
inline constexpr std::array<std::uint8_t, 2> kFirmwareVersion{0x01, 0x14};

inline constexpr std::uint8_t kAccepted = 0x00;
inline constexpr std::uint8_t kRestart = 0x01;
inline constexpr std::uint8_t kIncomplete = 0x02;
inline constexpr std::uint8_t kBadChecksum = 0x03;
inline constexpr std::uint8_t kProgramFailed = 0x04;
inline constexpr std::uint8_t kSkipped = 0x05;

} // namespace quarvel::device
