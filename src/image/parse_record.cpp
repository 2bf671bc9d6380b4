#include "image/hex_byte.h"
#include "image/srecord.h"

namespace quarvel {

namespace {

constexpr int kCountOffset = 2;

// Address bytes of each accepted type; S5 carries none.
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

} // namespace

std::uint8_t parseRecord(const char* line, std::int32_t& recordLength) {
    if (line[0] != 'S' || line[1] == '\0' || line[2] == '\0' || line[3] == '\0') {
        return RecordMalformed;
    }
    const int count = hexByte(line + kCountOffset);
    recordLength = 2 * count + 4;
    const int addressBytes = addressLength(line[1]);
    // The count must leave room for a checksum after the address.
    if (addressBytes < 0 || count <= addressBytes) {
        return RecordMalformed;
    }
    // The count byte, the address, the data and the checksum add up to FFh in a sound record. The
    // line must hold all of them, as the job sends exactly recordLength characters of it.
    unsigned sum = 0;
    const char* digits = line + kCountOffset;
    for (int byte = 0; byte <= count; ++byte, digits += 2) {
        if (digits[0] == '\0' || digits[1] == '\0') {
            return RecordMalformed;
        }
        sum += hexByte(digits);
    }
    if (line[1] == '5') {
        return RecordValid;
    }
    return (sum & 0xFF) == 0xFF ? RecordValid : RecordBadChecksum;
}

} // namespace quarvel
