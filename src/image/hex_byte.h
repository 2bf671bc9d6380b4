#pragma once

#include <array>
#include <cstdint>

namespace quarvel {

// Converts without checking the character class, so "a" to "f" work and a stray character shows
// only as a checksum failure.
constexpr std::uint8_t hexValue(unsigned char c) {
    if (c <= '9') {
        return static_cast<std::uint8_t>(c - 0x30);
    }
    if (c <= 'Z') {
        return static_cast<std::uint8_t>(c - 0x37);
    }
    return static_cast<std::uint8_t>(c - 0x57);
}

// Every character's value, looked up rather than worked out once per digit of a large file.
inline constexpr auto kHexValues = [] {
    std::array<std::uint8_t, 256> values{};
    for (unsigned c = 0; c < values.size(); ++c) {
        values[c] = hexValue(static_cast<unsigned char>(c));
    }
    return values;
}();

// The byte written by the two characters at digits.
constexpr std::uint8_t hexByte(const char* digits) {
    return static_cast<std::uint8_t>(kHexValues[static_cast<unsigned char>(digits[0])] * 16 +
                                     kHexValues[static_cast<unsigned char>(digits[1])]);
}

} // namespace quarvel
