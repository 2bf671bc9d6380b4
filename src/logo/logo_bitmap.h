#pragma once

#include "logo/logo_geometry.h"
#include "logo/pixel_row_sink.h"

#include <cstdint>
#include <span>

namespace quarvel {

// Collects decoded rows into the logo raster. Pixels that fall outside 128 x 56 are dropped.
class LogoBitmap final : public PixelRowSink {
public:
    // Blank raster, row position back at the top row.
    void reset();
    // Places the row at the row position and moves the position down one row.
    void addRow(std::span<const std::uint8_t> pixels) override;
    // False once a row has fallen below the raster: every later row would too.
    bool acceptsMoreRows() const override { return !m_rowBelowRaster; }
    // Sets the bits of one row; pixel i belongs to column i. Colour index 0 sets nothing.
    void placeRow(int row, std::span<const std::uint8_t> pixels);

    // The row the next addRow fills, at most kLogoHeight (below the raster).
    int rowPosition() const { return m_rowPosition; }
    // Moves the row position down to row (never up).
    void moveRowPositionTo(int row);

    const LogoRaster& raster() const { return m_raster; }
    // True when a pixel beyond column 127 or row 55 has been dropped since the last reset.
    bool clipped() const { return m_clipped; }

private:
    LogoRaster m_raster{};
    int m_rowPosition = 0;
    bool m_clipped = false;
    bool m_rowBelowRaster = false;
};

} // namespace quarvel
