#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quarvel {

// The device shows a logo of 128 x 56 one-bit pixels, stored column by column in bands of 8 rows.
inline constexpr int kLogoWidth = 128;
inline constexpr int kLogoHeight = 56;
inline constexpr int kRowsPerBand = 8;
inline constexpr int kLogoBands = kLogoHeight / kRowsPerBand;
inline constexpr std::size_t kLogoRasterSize = kLogoWidth * kLogoBands;

// Byte x * 7 + band holds column x of that band; bit b is the band's row b.
using LogoRaster = std::array<std::uint8_t, kLogoRasterSize>;

} // namespace quarvel
