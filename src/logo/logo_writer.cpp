#include "logo/logo_writer.h"

#include "logo/builtin_logo_records.h"

#include <string_view>

namespace quarvel {

namespace {

constexpr std::uint8_t kRecordCount = 2 + kLogoRecordDataBytes + 1;
constexpr std::uint16_t kRecordStep = kLogoRecordDataBytes;

// "logo", 06h, the logo's end address less 6000h in units of 10h (6720h for the converted one).
constexpr std::array<std::uint8_t, kLogoRecordDataBytes> kConvertedLogoHeader = {
    0x6C, 0x6F, 0x67, 0x6F, 0x06, 0x72, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// Writes the two hex digits of byte (upper case) at position and moves position past them;
// nothing is written when they would not fit in text.
void appendHexByte(std::uint8_t byte, std::span<char> text, std::size_t& position) {
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    if (position > text.size() || text.size() - position < 2) {
        return;
    }
    text[position++] = kDigits[byte >> 4];
    text[position++] = kDigits[byte & 0x0F];
}

} // namespace

void LogoWriter::reset() {
    m_address = kConvertedLogoAddress;
}

void LogoWriter::writeLogo(const LogoRaster& raster, LogoLineOutput& output) {
    for (const std::string_view line : kLogoPreamble) {
        output.writeLine(line);
    }
    writeDataRecord(kConvertedLogoHeader, output);
    std::array<std::uint8_t, kLogoRecordDataBytes> group{};
    std::size_t filled = 0;
    for (std::size_t band = 0; band < kLogoBands; ++band) {
        for (std::size_t x = 0; x < kLogoWidth; ++x) {
            group[filled++] = raster[x * kLogoBands + band];
            if (filled == group.size()) {
                writeDataRecord(group, output);
                filled = 0;
            }
        }
    }
}

void LogoWriter::writeDataRecord(std::span<const std::uint8_t, kLogoRecordDataBytes> data,
                                 LogoLineOutput& output) {
    const auto high = static_cast<std::uint8_t>(m_address >> 8);
    const auto low = static_cast<std::uint8_t>(m_address & 0xFF);
    unsigned sum = kRecordCount + high + low;
    std::size_t position = 0;
    m_line[position++] = 'S';
    m_line[position++] = '1';
    appendHexByte(kRecordCount, m_line, position);
    appendHexByte(high, m_line, position);
    appendHexByte(low, m_line, position);
    for (const std::uint8_t byte : data) {
        appendHexByte(byte, m_line, position);
        sum += byte;
    }
    appendHexByte(static_cast<std::uint8_t>(0xFF - (sum & 0xFF)), m_line, position);
    m_address = static_cast<std::uint16_t>(m_address + kRecordStep);
    output.writeLine(std::string_view(m_line.data(), position));
}

} // namespace quarvel
