#include "image/hex_byte.h"
#include "image/srecord.h"

namespace quarvel {

namespace {

constexpr int kCountOffset = 2;
constexpr int kAddressOffset = 4;

// Address bytes of each accepted type; S5 carries none and no checked checksum.
int addressLength(char type) {
    switch (type) {
    case '0':
    case '1':
    case '9':
        return 2;
    case '2':
    case '8':
        return 3;
    case '5':
        return 0;
    default:
        return -1;
    }
}

// True when the first length characters of line hold no terminating zero.
bool holds(const char* line, int length) {
    for (int i = 0; i < length; ++i) {
        if (line[i] == '\0') {
            return false;
        }
    }
    return true;
}

} // namespace

std::uint8_t parseRecord(const char* line, std::int32_t& recordLength) {
    if (line[0] != 'S' || !holds(line, kAddressOffset)) {
        return RecordMalformed;
    }
    const int count = hexByte(line + kCountOffset);
    recordLength = 2 * count + 4;
    const int addressBytes = addressLength(line[1]);
    // A count must leave room for the checksum after the address, and the line must hold the
    // whole record: the job sends exactly recordLength characters of it.
    if (addressBytes < 0 || count <= addressBytes || !holds(line, recordLength)) {
        return RecordMalformed;
    }
    if (line[1] == '5') {
        return RecordValid;
    }
    unsigned sum = 0;
    const char* digits = line + kCountOffset;
    for (int byte = 0; byte < count; ++byte, digits += 2) {
        sum += hexByte(digits);
    }
    const std::uint8_t stored = hexByte(digits);
    return static_cast<std::uint8_t>(0xFF - (sum & 0xFF)) == stored ? RecordValid
                                                                    : RecordBadChecksum;
}

} // namespace quarvel
