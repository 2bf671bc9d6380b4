#pragma once

#include <string>

namespace quarvel {

struct BarColour {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// The loading dialog's percentage bar: light grey, filling with navy from the left, with the
// position written in the middle (navy over grey, white over navy) and a sunken border.
inline constexpr BarColour kBarGrey{192, 192, 192};
inline constexpr BarColour kBarNavy{0, 0, 128};
inline constexpr BarColour kTextOverFill{255, 255, 255};
inline constexpr BarColour kBorderDark{0, 0, 0};
inline constexpr BarColour kBorderLight{255, 255, 255};

// The bar's range and position. The position is not clamped: one above the maximum fills the
// whole bar and is shown as it is.
class BarValue {
public:
    // Ignored unless maximum is greater than minimum, so that painting never divides by zero.
    void setRange(int minimum, int maximum);
    // True when the position changed, so that an unchanged position paints nothing.
    bool setPosition(int position);

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int position() const { return m_position; }

private:
    int m_minimum = 0;
    int m_maximum = 100;
    int m_position = 0;
};

// The position as the bar writes it: "57%".
std::string percentText(int position);

// Where one paint of a bar of width by height pixels puts its fill and its text, whose measured
// extent is textWidth by textHeight.
struct BarLayout {
    // Pixels from the left edge; 0 draws no fill.
    int fill = 0;
    int textX = 0;
    int textY = 0;
};

BarLayout layoutBar(const BarValue& value, int width, int height, int textWidth, int textHeight);

} // namespace quarvel
