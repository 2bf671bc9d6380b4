#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quarvel {

class ProgramFile;

// Exclusive upper address of each flash sector, sector 0 first; sector 0 begins at 0 and every
// other sector where the one before it ends.
inline constexpr std::array<std::int32_t, 11> kFlashSectorBounds{
    0x4000, 0x6000, 0x8000, 0x10000, 0x20000, 0x30000, 0x40000, 0x50000, 0x60000, 0x70000, 0x80000,
};
inline constexpr int kFlashSectorCount = static_cast<int>(kFlashSectorBounds.size());
// The lowest sector holds the boot code; a load writes it only in boot mode.
inline constexpr int kBootSector = 0;

// One erase flag per sector number: 1 when the sector must be erased. Flag 11 has no sector.
using SectorMap = std::array<std::uint8_t, 12>;

struct SectorRange {
    std::int32_t first = 0;
    std::int32_t last = 0;
};

// First and last address of a sector, 0 to 10.
constexpr SectorRange sectorRange(int sector) {
    const auto index = static_cast<std::size_t>(sector);
    const std::int32_t first = sector == 0 ? 0 : kFlashSectorBounds[index - 1];
    return {first, kFlashSectorBounds[index] - 1};
}

// The sector holding address, or -1 when no sector does.
constexpr int sectorOf(std::int32_t address) {
    if (address < 0) {
        return -1;
    }
    for (int sector = 0; sector < kFlashSectorCount; ++sector) {
        if (address < kFlashSectorBounds[static_cast<std::size_t>(sector)]) {
            return sector;
        }
    }
    return -1;
}

enum ScanResult : std::uint8_t {
    ScanRefused = 0,
    ScanAccepted = 1,
};

// Checks the program file from its header to its end record and sets the flag of the sector in
// which each data record starts. Returns ScanAccepted or ScanRefused; after ScanRefused the flags
// mean nothing. The file is rewound to its start whatever the result.
std::uint8_t scanProgramFile(ProgramFile& file, SectorMap& sectors);

} // namespace quarvel
