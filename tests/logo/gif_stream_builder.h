#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quarvel::test {

using Bytes = std::vector<std::uint8_t>;

// LZW codes packed the way a GIF encoder packs them: least significant bit first, each code as
// wide as the encoder's table then needs, in sub-blocks of at most 255 bytes.
class LzwCodePacker {
public:
    explicit LzwCodePacker(int codeSize);

    int clearCode() const { return 1 << m_codeSize; }
    int endCode() const { return clearCode() + 1; }
    // Appends one code at the width the encoder uses for it.
    LzwCodePacker& code(int value);
    // The code-size byte, the sub-blocks and, unless told otherwise, the closing zero length.
    Bytes imageData(bool withTerminator = true) const;

private:
    void putBits(int value, int width);

    int m_codeSize;
    int m_width;
    int m_nextSlot;
    bool m_firstAfterClear = false;
    Bytes m_bytes;
    int m_bitCount = 0;
};

// Splits data into GIF sub-blocks of at most 255 bytes.
Bytes subBlocks(const Bytes& data, bool withTerminator = true);

// A GIF stream put together block by block.
class GifStreamBuilder {
public:
    GifStreamBuilder& header(const std::string& signatureAndVersion = "GIF87a");
    // Screen descriptor; a global colour table of 2^tableBits entries when tableBits > 0.
    GifStreamBuilder& screen(int width, int height, int tableBits, std::uint8_t lastByte = 0);
    // Image descriptor, local colour table when localTableBits > 0, then the image data as given.
    GifStreamBuilder& image(int width, int height, const Bytes& imageData, bool interlaced = false,
                            int localTableBits = 0);
    GifStreamBuilder& extension(std::uint8_t label, const Bytes& data);
    GifStreamBuilder& raw(const Bytes& bytes);
    GifStreamBuilder& trailer();

    const Bytes& bytes() const { return m_bytes; }

private:
    void put16(int value);

    Bytes m_bytes;
};

// Image data for width x height pixels, all given by pixelOf(x, y), as plain root codes with a
// clear code before the table would grow past its first width.
Bytes rootCodeImage(int codeSize, int width, int height,
                    const std::function<int(int x, int y)>& pixelOf);

} // namespace quarvel::test
