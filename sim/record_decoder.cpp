#include "sim/record_decoder.h"

#include <array>
#include <optional>

namespace quarvel {

namespace {

struct TypeLayout {
    char type;
    std::size_t addressBytes;
};

constexpr std::array<TypeLayout, 6> kTypeLayouts{{
    {'0', 2},
    {'1', 2},
    {'2', 3},
    {'5', 2},
    {'8', 3},
    {'9', 2},
}};

std::optional<int> hexDigit(std::uint8_t c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return std::nullopt;
}

// Pairs of hex digits as bytes; nothing when a character is not a hex digit.
std::optional<std::vector<std::uint8_t>> hexBytes(std::span<const std::uint8_t> text) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        const auto high = hexDigit(text[i]);
        const auto low = hexDigit(text[i + 1]);
        if (!high || !low) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(*high * 16 + *low));
    }
    return bytes;
}

} // namespace

DecodeResult decodeRecord(std::span<const std::uint8_t> text) {
    constexpr std::size_t kHeadLength = 4;
    if (text.size() < kHeadLength || text[0] != 'S' || text.size() % 2 != 0) {
        return {DecodeError::Incomplete, {}};
    }
    const auto bytes = hexBytes(text.subspan(2));
    if (!bytes) {
        return {DecodeError::BadChecksum, {}};
    }
    const std::size_t count = (*bytes)[0];
    if (bytes->size() != count + 1) {
        return {DecodeError::Incomplete, {}};
    }
    const char type = static_cast<char>(text[1]);
    const TypeLayout* layout = nullptr;
    for (const TypeLayout& candidate : kTypeLayouts) {
        if (candidate.type == type) {
            layout = &candidate;
        }
    }
    if (layout == nullptr) {
        return {DecodeError::UnknownType, {}};
    }
    if (count < layout->addressBytes + 1) {
        return {DecodeError::Incomplete, {}};
    }
    unsigned sum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        sum += (*bytes)[i];
    }
    // A record count programs nothing, and loaders pass it on without checking its checksum.
    if (type != '5' && static_cast<std::uint8_t>(~sum) != bytes->back()) {
        return {DecodeError::BadChecksum, {}};
    }
    DecodeResult result;
    result.record.type = type;
    for (std::size_t i = 1; i <= layout->addressBytes; ++i) {
        result.record.address = result.record.address << 8 | (*bytes)[i];
    }
    result.record.data.assign(
        bytes->begin() + 1 + static_cast<std::ptrdiff_t>(layout->addressBytes), bytes->end() - 1);
    return result;
}

} // namespace quarvel
