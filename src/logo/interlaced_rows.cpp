#include "logo/interlaced_rows.h"

#include <algorithm>
#include <array>

namespace quarvel {

namespace {

struct InterlacePass {
    int firstRow;
    int step;
};

constexpr std::array<InterlacePass, 4> kInterlacePasses = {{{0, 8}, {4, 8}, {2, 4}, {1, 2}}};
constexpr int kLastPass = static_cast<int>(kInterlacePasses.size()) - 1;

// Anything counted past this lies below the logo whatever the image's first row.
constexpr int kArrivalLimit = 1 << 20;

} // namespace

InterlacedRows::InterlacedRows(LogoBitmap& bitmap, int imageHeight)
    : m_bitmap(bitmap), m_firstRow(bitmap.rowPosition()), m_imageHeight(std::max(imageHeight, 0)) {}

int InterlacedRows::nextImageRow() {
    if (m_arrived >= m_imageHeight) {
        return m_arrived;
    }
    const int row = m_passRow;
    m_passRow += kInterlacePasses[static_cast<std::size_t>(m_pass)].step;
    while (m_passRow >= m_imageHeight && m_pass < kLastPass) {
        ++m_pass;
        m_passRow = kInterlacePasses[static_cast<std::size_t>(m_pass)].firstRow;
    }
    return row;
}

void InterlacedRows::addRow(std::span<const std::uint8_t> pixels) {
    m_lastRowAscending = m_pass == kLastPass || m_arrived >= m_imageHeight;
    const int row = nextImageRow();
    m_lastRowBelow = m_firstRow + row >= kLogoHeight && !pixels.empty();
    m_arrived = std::min(m_arrived + 1, kArrivalLimit);
    m_rowsCovered = std::max(m_rowsCovered, row + 1);
    m_bitmap.placeRow(m_firstRow + row, pixels);
}

void InterlacedRows::finish() {
    m_bitmap.moveRowPositionTo(m_firstRow + m_rowsCovered);
}

} // namespace quarvel
