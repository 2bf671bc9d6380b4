#pragma once

#include <cstdint>

namespace quarvel {

// Converts without checking the character class, so "a" to "f" work and a stray character shows
// only as a checksum failure.
constexpr int hexValue(char c) {
    const auto code = static_cast<unsigned char>(c);
    if (code <= '9') {
        return code - 0x30;
    }
    if (code <= 'Z') {
        return code - 0x37;
    }
    return code - 0x57;
}

// The byte written by the two characters at digits.
constexpr std::uint8_t hexByte(const char* digits) {
    return static_cast<std::uint8_t>(hexValue(digits[0]) * 16 + hexValue(digits[1]));
}

} // namespace quarvel
