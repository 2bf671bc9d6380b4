#pragma once

#include "logo/logo_geometry.h"
#include "logo/logo_line_output.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace quarvel {

// Address of the converted logo's header record, right behind the built-in logo.
inline constexpr std::uint16_t kConvertedLogoAddress = 0x6390;
inline constexpr std::size_t kLogoRecordDataBytes = 16;

// Writes the logo file's records: the built-in logo, then the converted logo's header and raster.
class LogoWriter {
public:
    // The next record goes to kConvertedLogoAddress.
    void reset();
    // The preamble with the built-in logo, the header record and the 56 raster records.
    void writeLogo(const LogoRaster& raster, LogoLineOutput& output);

private:
    // One S1 record at the record address, which then moves on by 10h.
    void writeDataRecord(std::span<const std::uint8_t, kLogoRecordDataBytes> data,
                         LogoLineOutput& output);

    // "S1", count, two address bytes, sixteen data bytes and the checksum: 42 characters.
    static constexpr std::size_t kRecordLineLength = 4 + 2 * (2 + kLogoRecordDataBytes + 1);

    std::uint16_t m_address = kConvertedLogoAddress;
    std::array<char, kRecordLineLength> m_line{};
};

} // namespace quarvel
