#pragma once

#include "ui/bar_drawing.h"

#include <windows.h>

namespace quarvel {

// The loading dialog's percentage bar drawn with GDI over an existing static control, which it
// subclasses. The control's window text follows the position ("57%"), announced as a value
// change, so that screen readers and test drivers can read it.
class Win32ProgressBar {
public:
    Win32ProgressBar() = default;
    Win32ProgressBar(const Win32ProgressBar&) = delete;
    Win32ProgressBar& operator=(const Win32ProgressBar&) = delete;

    void setRange(int minimum, int maximum) { m_value.setRange(minimum, maximum); }
    // Paints at once when the position changes, since a job step keeps the message loop away;
    // an unchanged position paints nothing.
    void setPosition(int position);
    int position() const { return m_value.position(); }

    // Takes over the painting of the control for as long as the control exists.
    void attachTo(HWND control);

private:
    static LRESULT CALLBACK controlProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR id, DWORD_PTR self);
    void draw(HDC dc);
    void showPosition();

    BarValue m_value;
    HWND m_control = nullptr;
};

} // namespace quarvel
