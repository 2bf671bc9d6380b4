#include "ui/win32_dialog_colours.h"

#include "ui/dialog_colours.h"

namespace quarvel {

COLORREF colourRef(const BarColour& colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

Win32DialogColours::Win32DialogColours()
    : m_background(::CreateSolidBrush(colourRef(kDialogBackground))) {}

Win32DialogColours::~Win32DialogColours() {
    ::DeleteObject(m_background);
}

HBRUSH Win32DialogColours::answer(UINT message, WPARAM wParam) const {
    switch (message) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        const auto context = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(context, colourRef(kDialogText));
        ::SetBkColor(context, colourRef(kDialogBackground));
        return m_background;
    }
    default:
        return nullptr;
    }
}

} // namespace quarvel
