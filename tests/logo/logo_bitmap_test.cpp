#include "logo/logo_bitmap.h"
#include "logo_file_oracle.h"

#include <gtest/gtest.h>
#include <vector>

namespace quarvel {
namespace {

using test::PixelRows;

std::vector<std::uint8_t> row(std::size_t width, std::uint8_t index) {
    return std::vector<std::uint8_t>(width, index);
}

PixelRows repeat(std::size_t count, const std::vector<std::uint8_t>& pixels) {
    return PixelRows(count, pixels);
}

PixelRows concat(PixelRows first, const PixelRows& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

TEST(LogoBitmap, AddRowStacksRowsFromTheTop) {
    struct Case {
        const char* name;
        PixelRows rows;
        bool clipped;
        int rowPosition;
        bool acceptsMoreRows = true;
    };
    const std::vector<std::uint8_t> indices = {0, 1, 0, 2, 255, 0, 128};
    const Case cases[] = {
        {"index 0 stays dark, every other index is lit", {indices}, false, 1},
        {"short last row goes to the next row from column 0",
         concat(repeat(9, row(10, 1)), {row(3, 1)}), false, 10},
        {"an empty row still takes its row", {{}, row(5, 1), {}, row(2, 9)}, false, 4},
        {"rows of a band and the next", repeat(17, {0, 1}), false, 17},
        {"exactly 128 x 56", repeat(56, row(128, 1)), false, 56},
        {"columns beyond 127 are dropped", {row(129, 1)}, true, 1},
        {"rows beyond 55 are dropped", repeat(60, row(4, 1)), true, 56, false},
        {"an empty row beyond 55 drops nothing", concat(repeat(56, row(1, 1)), {{}}), false, 56},
    };
    for (const Case& c : cases) {
        LogoBitmap bitmap;
        for (const auto& pixels : c.rows) {
            bitmap.addRow(pixels);
        }
        EXPECT_EQ(bitmap.raster(), test::rasterFromRows(c.rows)) << c.name;
        EXPECT_EQ(bitmap.clipped(), c.clipped) << c.name;
        EXPECT_EQ(bitmap.rowPosition(), c.rowPosition) << c.name;
        EXPECT_EQ(bitmap.acceptsMoreRows(), c.acceptsMoreRows) << c.name;
    }
}

TEST(LogoBitmap, PlaceRowAndRowPositionStayInsideTheRaster) {
    LogoBitmap bitmap;
    bitmap.placeRow(-1, row(3, 1));
    bitmap.placeRow(56, row(3, 1));
    EXPECT_EQ(bitmap.raster(), LogoRaster{});
    EXPECT_TRUE(bitmap.clipped());

    bitmap.moveRowPositionTo(20);
    bitmap.moveRowPositionTo(5);
    EXPECT_EQ(bitmap.rowPosition(), 20) << "the row position never moves up";
    bitmap.moveRowPositionTo(1000);
    EXPECT_EQ(bitmap.rowPosition(), 56);
}

} // namespace
} // namespace quarvel
