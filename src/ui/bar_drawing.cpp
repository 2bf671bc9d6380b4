#include "ui/bar_drawing.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace quarvel {

void BarValue::setRange(int minimum, int maximum) {
    if (maximum > minimum) {
        m_minimum = minimum;
        m_maximum = maximum;
    }
}

bool BarValue::setPosition(int position) {
    if (position == m_position) {
        return false;
    }
    m_position = position;
    return true;
}

std::string percentText(int position) {
    return std::to_string(position) + "%";
}

BarLayout layoutBar(const BarValue& value, int width, int height, int textWidth, int textHeight) {
    // Widened so that a far-off position cannot overflow; painting clips the result anyway.
    const auto fill =
        std::int64_t{value.position()} * width / (std::int64_t{value.maximum()} - value.minimum());
    return {static_cast<int>(std::clamp<std::int64_t>(fill, 0, std::numeric_limits<int>::max())),
            (width - textWidth) / 2, (height - textHeight) / 2};
}

} // namespace quarvel
