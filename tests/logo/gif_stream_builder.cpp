#include "gif_stream_builder.h"

#include <algorithm>

namespace quarvel::test {

namespace {

constexpr int kMaxSlots = 4096;
constexpr int kMaxWidth = 12;

} // namespace

LzwCodePacker::LzwCodePacker(int codeSize)
    : m_codeSize(codeSize), m_width(codeSize + 1), m_nextSlot((1 << codeSize) + 2) {}

void LzwCodePacker::putBits(int value, int width) {
    for (int bit = 0; bit < width; ++bit, ++m_bitCount) {
        if (m_bitCount % 8 == 0) {
            m_bytes.push_back(0);
        }
        if ((value >> bit) & 1) {
            m_bytes.back() = static_cast<std::uint8_t>(m_bytes.back() | (1 << (m_bitCount % 8)));
        }
    }
}

LzwCodePacker& LzwCodePacker::code(int value) {
    putBits(value, m_width);
    if (value == clearCode()) {
        m_width = m_codeSize + 1;
        m_nextSlot = clearCode() + 2;
        m_firstAfterClear = true;
    } else if (value != endCode()) {
        // Every code but the first after a clear makes the encoder add one string.
        if (m_firstAfterClear) {
            m_firstAfterClear = false;
        } else if (m_nextSlot < kMaxSlots) {
            ++m_nextSlot;
            if (m_nextSlot == (1 << m_width) && m_width < kMaxWidth) {
                ++m_width;
            }
        }
    }
    return *this;
}

Bytes LzwCodePacker::imageData(bool withTerminator) const {
    Bytes data{static_cast<std::uint8_t>(m_codeSize)};
    const Bytes blocks = subBlocks(m_bytes, withTerminator);
    data.insert(data.end(), blocks.begin(), blocks.end());
    return data;
}

Bytes subBlocks(const Bytes& data, bool withTerminator) {
    Bytes blocks;
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t length = std::min<std::size_t>(255, data.size() - at);
        blocks.push_back(static_cast<std::uint8_t>(length));
        blocks.insert(blocks.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                      data.begin() + static_cast<std::ptrdiff_t>(at + length));
    }
    if (withTerminator) {
        blocks.push_back(0);
    }
    return blocks;
}

GifStreamBuilder& GifStreamBuilder::header(const std::string& signatureAndVersion) {
    m_bytes.insert(m_bytes.end(), signatureAndVersion.begin(), signatureAndVersion.end());
    return *this;
}

void GifStreamBuilder::put16(int value) {
    m_bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    m_bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

GifStreamBuilder& GifStreamBuilder::screen(int width, int height, int tableBits,
                                           std::uint8_t lastByte) {
    put16(width);
    put16(height);
    m_bytes.push_back(static_cast<std::uint8_t>(tableBits > 0 ? 0x80 | (tableBits - 1) : 0));
    m_bytes.push_back(0);
    m_bytes.push_back(lastByte);
    m_bytes.insert(m_bytes.end(), tableBits > 0 ? std::size_t{3} << tableBits : 0, 0x55);
    return *this;
}

GifStreamBuilder& GifStreamBuilder::image(int width, int height, const Bytes& imageData,
                                          bool interlaced, int localTableBits) {
    m_bytes.push_back(0x2C);
    put16(0);
    put16(0);
    put16(width);
    put16(height);
    std::uint8_t flags = interlaced ? 0x40 : 0;
    if (localTableBits > 0) {
        flags = static_cast<std::uint8_t>(flags | 0x80 | (localTableBits - 1));
    }
    m_bytes.push_back(flags);
    m_bytes.insert(m_bytes.end(), localTableBits > 0 ? std::size_t{3} << localTableBits : 0, 0xAA);
    m_bytes.insert(m_bytes.end(), imageData.begin(), imageData.end());
    return *this;
}

GifStreamBuilder& GifStreamBuilder::extension(std::uint8_t label, const Bytes& data) {
    m_bytes.push_back(0x21);
    m_bytes.push_back(label);
    const Bytes blocks = subBlocks(data);
    m_bytes.insert(m_bytes.end(), blocks.begin(), blocks.end());
    return *this;
}

GifStreamBuilder& GifStreamBuilder::raw(const Bytes& bytes) {
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    return *this;
}

GifStreamBuilder& GifStreamBuilder::trailer() {
    m_bytes.push_back(0x3B);
    return *this;
}

Bytes rootCodeImage(int codeSize, int width, int height,
                    const std::function<int(int x, int y)>& pixelOf) {
    LzwCodePacker packer(codeSize);
    const int rootsPerClear = (1 << codeSize) - 2; // stays inside the first code width
    int sinceClear = rootsPerClear;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (sinceClear == rootsPerClear) {
                packer.code(packer.clearCode());
                sinceClear = 0;
            }
            packer.code(pixelOf(x, y));
            ++sinceClear;
        }
    }
    packer.code(packer.endCode());
    return packer.imageData();
}

} // namespace quarvel::test
