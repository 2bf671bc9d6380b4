#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace quarvel {

// One record as the device decodes it from the text of a record frame.
struct DecodedRecord {
    char type = 0;
    std::uint32_t address = 0;
    std::vector<std::uint8_t> data;
};

enum class DecodeError { None, Incomplete, BadChecksum, UnknownType };

struct DecodeResult {
    DecodeError error = DecodeError::None;
    DecodedRecord record;
};

// Decodes S0, S1, S2, S5, S8 and S9 record text, which must hold exactly one record: no line
// end, nothing after the checksum.
DecodeResult decodeRecord(std::span<const std::uint8_t> text);

} // namespace quarvel
