#pragma once

#include "logo/gif_byte_source.h"
#include "logo/pixel_row_sink.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace quarvel {

// Results of decodeLzw.
enum LzwResult : int {
    LzwDone = 0,
    LzwReadError = -1,
    LzwBadCodeSize = -20,
};

// Decodes the LZW-packed pixels of one GIF image into rows. Its tables are fixed in size and are
// reused by every image; nothing is allocated while decoding.
class LzwDecoder {
public:
    static constexpr std::size_t kRowCapacity = 800;

    explicit LzwDecoder(GifByteSource& source) : m_source(source) {}

    // Reads the code-size byte and the data sub-blocks and hands every row of lineWidth pixels to
    // sink, then the last partial row when the end code arrives. Rows wider than kRowCapacity
    // keep their first kRowCapacity pixels; the data of an image of width 0 is left unread.
    // Decoding that meets a failing byte source or a damaged string table, or whose sink wants no
    // more rows, ends with LzwDone and drops the partial row. LzwReadError: no code-size byte;
    // LzwBadCodeSize: code size outside 2 to 9.
    int decodeLzw(int lineWidth, PixelRowSink& sink);
    // True when the last decodeLzw consumed the zero-length sub-block that closes the data.
    bool endedAtTerminator() const { return m_endedAtTerminator; }

    // Code state for a new image (codeSize 2 to 9) with the bit reader emptied.
    void resetDecoder(int codeSize);
    // The next code, or a negative value when the data has ended: the byte source's failure, or
    // a zero-length sub-block while the code still needed bits.
    int nextCode();

private:
    static constexpr int kTableSize = 4096;
    static constexpr int kMaxCodeWidth = 12;

    void restartTable();
    // Appends decoded pixels to the current row, handing over each row when it is full; false
    // when the sink wants no more rows.
    bool putPixels(std::span<const std::uint8_t> pixels, PixelRowSink& sink);
    void flushPartialRow(PixelRowSink& sink);
    // Reads the next sub-block; false at the end of the data.
    bool refill();

    GifByteSource& m_source;

    std::array<std::uint16_t, kTableSize> m_prefix{};
    std::array<std::uint8_t, kTableSize> m_suffix{};
    std::array<std::uint8_t, kTableSize> m_stack{};
    std::array<std::uint8_t, 255> m_subBlock{};
    std::array<std::uint8_t, kRowCapacity> m_row{};

    int m_codeSize = 2;
    int m_clearCode = 4;
    int m_endCode = 5;
    int m_firstFreeCode = 6;
    int m_codeWidth = 3;
    int m_nextSlot = 6;
    int m_slotLimit = 8;

    std::uint32_t m_bitBuffer = 0;
    int m_bitsHeld = 0;
    std::size_t m_subBlockLength = 0;
    std::size_t m_readPosition = 0;
    bool m_endedAtTerminator = false;

    std::size_t m_lineWidth = 0;
    // Pixels in the row being collected, of which the first kRowCapacity are kept.
    std::size_t m_column = 0;
};

} // namespace quarvel
