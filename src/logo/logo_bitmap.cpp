#include "logo/logo_bitmap.h"

#include <algorithm>

namespace quarvel {

void LogoBitmap::reset() {
    m_raster.fill(0);
    m_rowPosition = 0;
    m_clipped = false;
    m_rowBelowRaster = false;
}

void LogoBitmap::addRow(std::span<const std::uint8_t> pixels) {
    placeRow(m_rowPosition, pixels);
    moveRowPositionTo(m_rowPosition + 1);
}

void LogoBitmap::placeRow(int row, std::span<const std::uint8_t> pixels) {
    if (row < 0 || row >= kLogoHeight) {
        m_clipped = m_clipped || !pixels.empty();
        m_rowBelowRaster = m_rowBelowRaster || (row >= kLogoHeight && !pixels.empty());
        return;
    }
    if (pixels.size() > static_cast<std::size_t>(kLogoWidth)) {
        m_clipped = true;
        pixels = pixels.first(kLogoWidth);
    }
    const std::size_t band = static_cast<std::size_t>(row / kRowsPerBand);
    const auto mask = static_cast<std::uint8_t>(1U << (row % kRowsPerBand));
    for (std::size_t x = 0; x < pixels.size(); ++x) {
        if (pixels[x] != 0) {
            m_raster[x * kLogoBands + band] |= mask;
        }
    }
}

void LogoBitmap::moveRowPositionTo(int row) {
    // Every row from kLogoHeight on is dropped alike, so the position stops there.
    m_rowPosition = std::clamp(row, m_rowPosition, kLogoHeight);
}

} // namespace quarvel
