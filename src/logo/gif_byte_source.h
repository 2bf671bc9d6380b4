#pragma once

#include <cstdint>
#include <span>

namespace quarvel {

// The bytes of a GIF stream, one at a time.
class GifByteSource {
public:
    // 0 to 255, or -1 when no byte can be read; stays -1 once the input has ended.
    virtual int readGifByte() = 0;

    // Fills bytes from the stream; false when it ended first.
    virtual bool readGifBytes(std::span<std::uint8_t> bytes) {
        for (std::uint8_t& byte : bytes) {
            const int value = readGifByte();
            if (value < 0) {
                return false;
            }
            byte = static_cast<std::uint8_t>(value);
        }
        return true;
    }

protected:
    ~GifByteSource() = default;
};

} // namespace quarvel
