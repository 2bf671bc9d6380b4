#pragma once

#include "ui/bar_drawing.h"

namespace quarvel {

// Every dialog's own surface, static texts, group boxes and buttons: black text on the light
// grey of the percentage bar. Edit boxes and lists keep the system's colours.
inline constexpr BarColour kDialogBackground = kBarGrey;
inline constexpr BarColour kDialogText{0, 0, 0};

} // namespace quarvel
