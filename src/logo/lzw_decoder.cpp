#include "logo/lzw_decoder.h"

#include <algorithm>

namespace quarvel {

namespace {

constexpr int kMinCodeSize = 2;
constexpr int kMaxCodeSize = 9;

constexpr std::uint8_t pixelOf(int rootCode) {
    return static_cast<std::uint8_t>(rootCode & 0xFF);
}

} // namespace

void LzwDecoder::resetDecoder(int codeSize) {
    m_codeSize = codeSize;
    m_clearCode = 1 << codeSize;
    m_endCode = m_clearCode + 1;
    m_firstFreeCode = m_clearCode + 2;
    restartTable();
    m_bitBuffer = 0;
    m_bitsHeld = 0;
    m_subBlockLength = 0;
    m_readPosition = 0;
    m_endedAtTerminator = false;
}

void LzwDecoder::restartTable() {
    m_codeWidth = m_codeSize + 1;
    m_slotLimit = 1 << m_codeWidth;
    m_nextSlot = m_firstFreeCode;
}

bool LzwDecoder::refill() {
    const int length = m_source.readGifByte();
    if (length <= 0) {
        // A zero length closes the data: a code cut short there has nothing more to come.
        m_endedAtTerminator = length == 0;
        return false;
    }
    m_subBlockLength = static_cast<std::size_t>(length);
    if (!m_source.readGifBytes(std::span(m_subBlock).first(m_subBlockLength))) {
        m_subBlockLength = 0;
        return false;
    }
    m_readPosition = 0;
    return true;
}

int LzwDecoder::nextCode() {
    while (m_bitsHeld < m_codeWidth) {
        if (m_readPosition == m_subBlockLength && !refill()) {
            return LzwReadError;
        }
        m_bitBuffer |= static_cast<std::uint32_t>(m_subBlock[m_readPosition++]) << m_bitsHeld;
        m_bitsHeld += 8;
    }
    const int code = static_cast<int>(m_bitBuffer & ((1U << m_codeWidth) - 1));
    m_bitBuffer >>= m_codeWidth;
    m_bitsHeld -= m_codeWidth;
    return code;
}

bool LzwDecoder::putPixels(std::span<const std::uint8_t> pixels, PixelRowSink& sink) {
    // Most strings are a few pixels that end inside the row: copy them without further ado.
    if (pixels.size() < m_lineWidth - m_column && m_column + pixels.size() <= kRowCapacity) {
        std::uint8_t* out = m_row.data() + m_column;
        for (const std::uint8_t pixel : pixels) {
            *out++ = pixel;
        }
        m_column += pixels.size();
        return true;
    }
    while (!pixels.empty()) {
        const std::size_t take = std::min(pixels.size(), m_lineWidth - m_column);
        if (m_column < kRowCapacity) {
            std::copy_n(pixels.begin(), std::min(take, kRowCapacity - m_column),
                        m_row.begin() + static_cast<std::ptrdiff_t>(m_column));
        }
        pixels = pixels.subspan(take);
        m_column += take;
        if (m_column == m_lineWidth) {
            sink.addRow(std::span(m_row).first(std::min(m_lineWidth, kRowCapacity)));
            m_column = 0;
            if (!sink.acceptsMoreRows()) {
                return false;
            }
        }
    }
    return true;
}

void LzwDecoder::flushPartialRow(PixelRowSink& sink) {
    if (m_column > 0) {
        sink.addRow(std::span(m_row).first(std::min(m_column, kRowCapacity)));
    }
}

int LzwDecoder::decodeLzw(int lineWidth, PixelRowSink& sink) {
    m_endedAtTerminator = false;
    const int codeSize = m_source.readGifByte();
    if (codeSize < 0) {
        return LzwReadError;
    }
    if (codeSize < kMinCodeSize || codeSize > kMaxCodeSize) {
        return LzwBadCodeSize;
    }
    if (lineWidth <= 0) {
        // No row can hold a pixel: the data is left to the caller to skip.
        return LzwDone;
    }
    resetDecoder(codeSize);
    m_lineWidth = static_cast<std::size_t>(lineWidth);
    m_column = 0;
    int oldCode = 0;
    std::uint8_t firstPixel = 0;

    for (;;) {
        int code = nextCode();
        if (code == m_clearCode) {
            restartTable();
            while ((code = nextCode()) == m_clearCode) {
            }
            if (code >= 0 && code != m_endCode) {
                // A string code cannot follow a clear code; it stands for pixel 0.
                if (code >= m_nextSlot) {
                    code = 0;
                }
                oldCode = code;
                firstPixel = pixelOf(code);
                if (!putPixels(std::span(&firstPixel, 1), sink)) {
                    return LzwDone;
                }
                continue;
            }
        }
        if (code < 0) {
            return LzwDone;
        }
        if (code == m_endCode) {
            flushPartialRow(sink);
            return LzwDone;
        }

        // The string is built backwards from the stack's end, so it ends up in pixel order.
        std::size_t top = m_stack.size();
        int walk = code;
        if (code >= m_nextSlot) {
            m_stack[--top] = firstPixel;
            walk = oldCode;
        }
        while (walk >= m_firstFreeCode && top > 0) {
            m_stack[--top] = m_suffix[static_cast<std::size_t>(walk)];
            walk = m_prefix[static_cast<std::size_t>(walk)];
        }
        if (top == 0) {
            // Longer than any table can hold, or a loop: the string table is damaged.
            return LzwDone;
        }
        m_stack[--top] = pixelOf(walk);

        if (m_nextSlot < m_slotLimit) {
            firstPixel = pixelOf(walk);
            m_suffix[static_cast<std::size_t>(m_nextSlot)] = firstPixel;
            m_prefix[static_cast<std::size_t>(m_nextSlot)] = static_cast<std::uint16_t>(oldCode);
            ++m_nextSlot;
            oldCode = code;
        }
        if (m_nextSlot >= m_slotLimit && m_codeWidth < kMaxCodeWidth) {
            m_slotLimit *= 2;
            ++m_codeWidth;
        }
        if (!putPixels(std::span(m_stack).subspan(top), sink)) {
            return LzwDone;
        }
    }
}

} // namespace quarvel
