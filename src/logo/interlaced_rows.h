#pragma once

#include "logo/logo_bitmap.h"
#include "logo/pixel_row_sink.h"

#include <cstdint>
#include <span>

namespace quarvel {

// Puts the rows of an interlaced image back into screen order: they arrive as rows 0, 8, 16, ...,
// then 4, 12, ..., then 2, 6, ..., then 1, 3, .... Rows beyond the image height keep their
// arrival order below it, as in an image stored without interlace.
class InterlacedRows final : public PixelRowSink {
public:
    // The image starts at the bitmap's row position.
    InterlacedRows(LogoBitmap& bitmap, int imageHeight);

    void addRow(std::span<const std::uint8_t> pixels) override;
    // False once a row of the last pass, or one beyond the image height, has fallen below the
    // raster: the rows after it lie lower still.
    bool acceptsMoreRows() const override { return !(m_lastRowBelow && m_lastRowAscending); }
    // Moves the bitmap's row position below the lowest row this image placed.
    void finish();

private:
    // The image row of the next arriving row.
    int nextImageRow();

    LogoBitmap& m_bitmap;
    int m_firstRow;
    int m_imageHeight;
    int m_pass = 0;
    int m_passRow = 0;
    int m_arrived = 0;
    int m_rowsCovered = 0;
    bool m_lastRowBelow = false;
    bool m_lastRowAscending = false;
};

} // namespace quarvel
