#pragma once

namespace quarvel {

// The bytes of a GIF stream, one at a time.
class GifByteSource {
public:
    // 0 to 255, or -1 when no byte can be read; stays -1 once the input has ended.
    virtual int readGifByte() = 0;

protected:
    ~GifByteSource() = default;
};

} // namespace quarvel
