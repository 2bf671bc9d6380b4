#include "ui/dialog_colours.h"
#include "ui/win32_dialog_colours.h"

#include <gtest/gtest.h>

namespace quarvel {
namespace {

// The colour messages of the dialog's surface, static texts and buttons get the light grey
// brush and black text; edit boxes and lists keep the system's colours.
TEST(Win32DialogColours, AnswersTheMessagesOfTheDialogSurfaceOnly) {
    struct Case {
        const char* name;
        UINT message;
        bool coloured;
    };
    const Case cases[] = {
        {"dialog surface", WM_CTLCOLORDLG, true},
        {"static text and group box", WM_CTLCOLORSTATIC, true},
        {"button", WM_CTLCOLORBTN, true},
        {"edit box", WM_CTLCOLOREDIT, false},
        {"list", WM_CTLCOLORLISTBOX, false},
        {"not a colour message", WM_PAINT, false},
    };
    const Win32DialogColours colours;
    for (const auto& c : cases) {
        HDC context = ::CreateCompatibleDC(nullptr);
        // Colours no dialog uses, so that only the answer can have changed them.
        const COLORREF untouched = RGB(1, 2, 3);
        ::SetTextColor(context, untouched);
        ::SetBkColor(context, untouched);
        const HBRUSH brush = colours.answer(c.message, reinterpret_cast<WPARAM>(context));
        if (c.coloured) {
            LOGBRUSH style{};
            ASSERT_EQ(::GetObjectW(brush, sizeof(style), &style), sizeof(style)) << c.name;
            EXPECT_EQ(style.lbColor, colourRef(kDialogBackground)) << c.name;
            EXPECT_EQ(::GetTextColor(context), colourRef(kDialogText)) << c.name;
            EXPECT_EQ(::GetBkColor(context), colourRef(kDialogBackground)) << c.name;
        } else {
            EXPECT_EQ(brush, nullptr) << c.name;
            EXPECT_EQ(::GetTextColor(context), untouched) << c.name;
            EXPECT_EQ(::GetBkColor(context), untouched) << c.name;
        }
        ::DeleteDC(context);
    }
}

} // namespace
} // namespace quarvel
