#pragma once

#include "ui/bar_drawing.h"

#include <windows.h>

namespace quarvel {

COLORREF colourRef(const BarColour& colour);

// A dialog's light grey surface and black text, answered to the dialog manager's colour
// messages. Owns the one brush they hand out, from the dialog's start to its end.
class Win32DialogColours {
public:
    Win32DialogColours();
    ~Win32DialogColours();
    Win32DialogColours(const Win32DialogColours&) = delete;
    Win32DialogColours& operator=(const Win32DialogColours&) = delete;

    // The brush for the dialog, a static text, a group box or a button, with the device context
    // in wParam set to paint on it; nullptr for every other message.
    HBRUSH answer(UINT message, WPARAM wParam) const;

private:
    HBRUSH m_background;
};

} // namespace quarvel
