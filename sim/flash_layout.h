#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quarvel {

inline constexpr std::size_t kFlashSize = 0x80000;
inline constexpr std::uint8_t kErasedByte = 0xFF;

// The exclusive upper address of each flash sector; sector 0, the boot sector, starts at 0.
inline constexpr std::array<std::uint32_t, 11> kFlashSectorEnds{
    0x04000, 0x06000, 0x08000, 0x10000, 0x20000, 0x30000,
    0x40000, 0x50000, 0x60000, 0x70000, 0x80000,
};

} // namespace quarvel
