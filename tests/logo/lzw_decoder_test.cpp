#include "gif_stream_builder.h"
#include "logo/lzw_decoder.h"

#include <gtest/gtest.h>
#include <vector>

namespace quarvel {
namespace {

using test::Bytes;
using test::LzwCodePacker;

class MemorySource final : public GifByteSource {
public:
    explicit MemorySource(Bytes bytes) : m_bytes(std::move(bytes)) {}
    int readGifByte() override { return m_position < m_bytes.size() ? m_bytes[m_position++] : -1; }
    std::size_t position() const { return m_position; }

private:
    Bytes m_bytes;
    std::size_t m_position = 0;
};

class RecordingSink final : public PixelRowSink {
public:
    void addRow(std::span<const std::uint8_t> pixels) override {
        rows.emplace_back(pixels.begin(), pixels.end());
    }
    std::vector<std::uint8_t> allPixels() const {
        std::vector<std::uint8_t> pixels;
        for (const auto& row : rows) {
            pixels.insert(pixels.end(), row.begin(), row.end());
        }
        return pixels;
    }
    std::vector<std::size_t> rowLengths() const {
        std::vector<std::size_t> lengths;
        for (const auto& row : rows) {
            lengths.push_back(row.size());
        }
        return lengths;
    }
    std::vector<std::vector<std::uint8_t>> rows;
    bool acceptsMoreRows() const override { return rows.size() < rowLimit; }
    std::size_t rowLimit = SIZE_MAX;
};

constexpr int kClear = -1;
constexpr int kEnd = -2;

Bytes imageData(int codeSize, const std::vector<int>& codes, bool withTerminator = true) {
    LzwCodePacker packer(codeSize);
    for (const int code : codes) {
        packer.code(code == kClear ? packer.clearCode() : code == kEnd ? packer.endCode() : code);
    }
    return packer.imageData(withTerminator);
}

struct Decoded {
    int result;
    RecordingSink sink;
    std::size_t bytesRead;
    bool endedAtTerminator;
};

Decoded decode(const Bytes& data, int lineWidth, std::size_t rowLimit = SIZE_MAX) {
    MemorySource source(data);
    LzwDecoder decoder(source);
    Decoded decoded{};
    decoded.sink.rowLimit = rowLimit;
    decoded.result = decoder.decodeLzw(lineWidth, decoded.sink);
    decoded.bytesRead = source.position();
    decoded.endedAtTerminator = decoder.endedAtTerminator();
    return decoded;
}

TEST(LzwDecoder, CodeSizeByteDecidesWhetherDecodingStarts) {
    struct Case {
        const char* name;
        Bytes data;
        int result;
        std::size_t bytesRead;
    };
    const Case cases[] = {
        {"no code-size byte", {}, LzwReadError, 0},
        {"code size 0", {0, 1, 0, 0}, LzwBadCodeSize, 1},
        {"code size 1", {1, 1, 0, 0}, LzwBadCodeSize, 1},
        {"code size 10", {10, 1, 0, 0}, LzwBadCodeSize, 1},
        {"code size 255", {255, 1, 0, 0}, LzwBadCodeSize, 1},
    };
    for (const Case& c : cases) {
        const Decoded decoded = decode(c.data, 8);
        EXPECT_EQ(decoded.result, c.result) << c.name;
        EXPECT_EQ(decoded.bytesRead, c.bytesRead) << c.name;
        EXPECT_TRUE(decoded.sink.rows.empty()) << c.name;
    }
}

// Code size 2: 0 to 3 are pixels, 4 clears, 5 ends, new strings from 6 on.
TEST(LzwDecoder, DecodesCodesIntoPixels) {
    struct Case {
        const char* name;
        int codeSize;
        std::vector<int> codes;
        std::vector<std::uint8_t> pixels;
    };
    const Case cases[] = {
        {"clear then end gives nothing", 2, {kClear, kEnd}, {}},
        {"root codes", 2, {kClear, 3, 0, 2, 1, kEnd}, {3, 0, 2, 1}},
        {"several clears act as one", 2, {kClear, kClear, kClear, 2, 1, kEnd}, {2, 1}},
        {"code defined in the same step", 2, {kClear, 1, 6, kEnd}, {1, 1, 1}},
        {"string codes", 2, {kClear, 1, 2, 6, 7, kEnd}, {1, 2, 1, 2, 2, 1}},
        {"width grows to 4 bits after entry 7",
         2,
         {kClear, 1, 2, 3, 6, 8, 9, kEnd},
         {1, 2, 3, 1, 2, 3, 1, 1, 2, 3}},
        {"no leading clear: old code 0, first pixel 0", 2, {6, 1, kEnd}, {0, 0, 1}},
        {"a string code right after a clear is pixel 0", 2, {kClear, 1, kClear, 7, kEnd}, {1, 0}},
        {"clear restarts the table and the width",
         2,
         {kClear, 1, 2, 3, 6, kClear, 3, 6, kEnd},
         {1, 2, 3, 1, 2, 3, 3, 3}},
        {"code size 9 roots give their low 8 bits",
         9,
         {kClear, 0x1FF, 0x100, 0xFF, kEnd},
         {0xFF, 0x00, 0xFF}},
        {"code size 8", 8, {kClear, 200, 258, 259, kEnd}, {200, 200, 200, 200, 200, 200}},
    };
    for (const Case& c : cases) {
        const Decoded decoded = decode(imageData(c.codeSize, c.codes), 100);
        EXPECT_EQ(decoded.result, LzwDone) << c.name;
        EXPECT_EQ(decoded.sink.allPixels(), c.pixels) << c.name;
    }
}

TEST(LzwDecoder, FullTableKeepsDecodingUntilAClearCode) {
    // Roots r(j) = j % 4; after the first, each adds entry 5 + j holding r(j - 1), r(j).
    const auto root = [](int j) { return static_cast<std::uint8_t>(j % 4); };
    std::vector<int> codes = {kClear};
    std::vector<std::uint8_t> pixels;
    for (int j = 0; j <= 4090; ++j) {
        codes.push_back(root(j));
        pixels.push_back(root(j));
    }
    // Entry 4095 is the last; nothing is added from here on and the width stays 12.
    for (const int code : {4095, 100, 4095, 6}) {
        codes.push_back(code);
        pixels.push_back(root(code - 6));
        pixels.push_back(root(code - 5));
    }
    codes.insert(codes.end(), {kClear, 3, 6, kEnd});
    pixels.insert(pixels.end(), {3, 3, 3});

    const Decoded decoded = decode(imageData(2, codes), 64);
    EXPECT_EQ(decoded.result, LzwDone);
    EXPECT_EQ(decoded.sink.allPixels(), pixels);
}

TEST(LzwDecoder, CollectsPixelsIntoRowsOfTheLineWidth) {
    struct Case {
        const char* name;
        int lineWidth;
        int pixelCount;
        std::vector<std::size_t> rowLengths;
    };
    const Case cases[] = {
        {"partial last row is handed over", 4, 10, {4, 4, 2}},
        {"exact rows leave no partial row", 5, 10, {5, 5}},
        {"one pixel a row", 1, 3, {1, 1, 1}},
        {"rows wider than 800 keep their first 800 pixels", 1000, 2900, {800, 800, 800}},
        {"exactly 800", 800, 1600, {800, 800}},
    };
    for (const Case& c : cases) {
        LzwCodePacker packer(8);
        for (int i = 0; i < c.pixelCount; ++i) {
            if (i % 200 == 0) {
                packer.code(packer.clearCode());
            }
            // The pixel is the row it belongs to, so a misplaced pixel shows.
            packer.code(c.lineWidth > 0 ? 1 + i / c.lineWidth : 1);
        }
        packer.code(packer.endCode());
        const Bytes data = packer.imageData();
        const Decoded decoded = decode(data, c.lineWidth);
        EXPECT_EQ(decoded.result, LzwDone) << c.name;
        ASSERT_EQ(decoded.sink.rowLengths(), c.rowLengths) << c.name;
        for (std::size_t r = 0; r < decoded.sink.rows.size(); ++r) {
            EXPECT_EQ(decoded.sink.rows[r], std::vector<std::uint8_t>(c.rowLengths[r], r + 1))
                << c.name << " row " << r;
        }
        EXPECT_EQ(decoded.bytesRead, data.size() - 1) << c.name << ": all but the terminator";
    }
}

TEST(LzwDecoder, LeavesTheDataThatNoRowWillTake) {
    struct Case {
        const char* name;
        int lineWidth;
        std::size_t rowLimit;
        std::vector<std::size_t> rowLengths;
        std::size_t bytesRead;
    };
    // 600 pixels: two sub-blocks.
    const Bytes data = test::rootCodeImage(8, 100, 6, [](int, int y) { return y; });
    const Case cases[] = {
        {"width 0: only the code size is read", 0, SIZE_MAX, {}, 1},
        {"sink full after two rows: the rest stays unread", 100, 2, {100, 100}, 257},
        {"sink never full", 100, SIZE_MAX, {100, 100, 100, 100, 100, 100}, data.size() - 1},
    };
    for (const Case& c : cases) {
        const Decoded decoded = decode(data, c.lineWidth, c.rowLimit);
        EXPECT_EQ(decoded.result, LzwDone) << c.name;
        EXPECT_EQ(decoded.sink.rowLengths(), c.rowLengths) << c.name;
        EXPECT_EQ(decoded.bytesRead, c.bytesRead) << c.name;
        EXPECT_FALSE(decoded.endedAtTerminator) << c.name;
    }
}

TEST(LzwDecoder, EndsSafelyWhenTheDataEndsOrIsDamaged) {
    struct Case {
        const char* name;
        Bytes data;
        std::vector<std::size_t> rowLengths;
        std::size_t bytesRead;
        bool endedAtTerminator;
    };
    // Seven pixels in exactly three bytes, without an end code.
    const Bytes noEndCode = imageData(2, {kClear, 1, 2, 3, 6, 1, 2});
    // Five pixels in the first sub-block; the second promises two bytes and holds one.
    const Bytes packed = imageData(2, {kClear, 1, 2, 3, 6, 1}, false);
    ASSERT_EQ(packed.size(), 5U) << "code size, length, three bytes";
    const Bytes cutShort = {2, 2, packed[2], packed[3], 2, packed[4]};
    // 11 and 12 lie above the next slot; the entry that 12 adds points at itself, and 11 then
    // walks that loop.
    const Bytes selfLoop = imageData(3, {kClear, 1, 11, 12, 11, 1, kEnd});
    Bytes afterEndCode = imageData(2, {kClear, 1, 2, 3, kEnd}, false);
    const Bytes trailing = {2, 1, 0xFF, 0};
    afterEndCode.insert(afterEndCode.end(), trailing.begin(), trailing.end());
    const Case cases[] = {
        {"zero length while a code needs bits", noEndCode, {2, 2, 2}, noEndCode.size(), true},
        {"input ends inside the data", cutShort, {2, 2}, cutShort.size(), false},
        {"string table loops", selfLoop, {2, 2, 2}, selfLoop.size() - 1, false},
        {"sub-blocks after the end code stay unread",
         afterEndCode,
         {2, 1},
         afterEndCode.size() - trailing.size(),
         false},
    };
    for (const Case& c : cases) {
        const Decoded decoded = decode(c.data, 2);
        EXPECT_EQ(decoded.result, LzwDone) << c.name;
        EXPECT_EQ(decoded.sink.rowLengths(), c.rowLengths) << c.name;
        EXPECT_EQ(decoded.bytesRead, c.bytesRead) << c.name;
        EXPECT_EQ(decoded.endedAtTerminator, c.endedAtTerminator) << c.name;
    }
}

} // namespace
} // namespace quarvel
