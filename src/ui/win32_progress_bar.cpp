#include "ui/win32_progress_bar.h"

#include "ui/win32_dialog_colours.h"
#include "ui/win32_dialog_template.h"

#include <commctrl.h>

namespace quarvel {

namespace {

constexpr UINT_PTR subclassId = 1001;

} // namespace

void Win32ProgressBar::attachTo(HWND control) {
    m_control = control;
    ::SetWindowSubclass(control, controlProcedure, subclassId, reinterpret_cast<DWORD_PTR>(this));
    showPosition();
}

void Win32ProgressBar::setPosition(int position) {
    if (!m_value.setPosition(position) || m_control == nullptr) {
        return;
    }
    showPosition();
    ::InvalidateRect(m_control, nullptr, TRUE);
    ::UpdateWindow(m_control);
}

void Win32ProgressBar::showPosition() {
    ::SetWindowTextW(m_control, wideText(percentText(m_value.position())).c_str());
    ::NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, m_control, OBJID_CLIENT, CHILDID_SELF);
}

LRESULT CALLBACK Win32ProgressBar::controlProcedure(HWND window, UINT message, WPARAM wParam,
                                                    LPARAM lParam, UINT_PTR /*id*/,
                                                    DWORD_PTR self) {
    auto* bar = reinterpret_cast<Win32ProgressBar*>(self);
    switch (message) {
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(window, controlProcedure, subclassId);
        bar->m_control = nullptr;
        return ::DefSubclassProc(window, message, wParam, lParam);
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = ::BeginPaint(window, &paint);
        bar->draw(dc);
        ::EndPaint(window, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        // Asked to draw into another context, as PrintWindow and window thumbnails do.
        bar->draw(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        // The paint covers every pixel.
        return 1;
    case WM_SETTEXT:
        // Kept as any window's text: a black-frame static may drop it.
        return ::DefWindowProcW(window, message, wParam, lParam);
    default:
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
}

void Win32ProgressBar::draw(HDC dc) {
    HBRUSH grey = ::CreateSolidBrush(colourRef(kBarGrey));
    HBRUSH navy = ::CreateSolidBrush(colourRef(kBarNavy));
    HPEN dark = ::CreatePen(PS_SOLID, 1, colourRef(kBorderDark));
    HPEN light = ::CreatePen(PS_SOLID, 1, colourRef(kBorderLight));
    RECT client{};
    ::GetClientRect(m_control, &client);

    // The context's default font, not the dialog's: the bar's text does not follow the dialog.
    const std::wstring text = wideText(percentText(m_value.position()));
    const int length = static_cast<int>(text.size());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, text.c_str(), length, &extent);
    const auto layout = layoutBar(m_value, client.right, client.bottom, extent.cx, extent.cy);

    ::SetBkMode(dc, TRANSPARENT);
    ::FillRect(dc, &client, grey);
    ::SetTextColor(dc, colourRef(kBarNavy));
    ::ExtTextOutW(dc, layout.textX, layout.textY, ETO_CLIPPED, &client, text.c_str(),
                  static_cast<UINT>(length), nullptr);
    // The white pass is clipped to the fill, so the text changes colour exactly at its edge.
    const RECT filled{0, 0, layout.fill, client.bottom};
    if (layout.fill != 0) {
        ::FillRect(dc, &filled, navy);
    }
    ::SetTextColor(dc, colourRef(kTextOverFill));
    ::ExtTextOutW(dc, layout.textX, layout.textY, ETO_CLIPPED, &filled, text.c_str(),
                  static_cast<UINT>(length), nullptr);

    HGDIOBJ previousPen = ::SelectObject(dc, dark);
    ::MoveToEx(dc, client.left, client.bottom, nullptr);
    ::LineTo(dc, client.left, client.top);
    ::LineTo(dc, client.right, client.top);
    ::SelectObject(dc, light);
    ::MoveToEx(dc, client.right - 1, client.top, nullptr);
    ::LineTo(dc, client.right - 1, client.bottom - 1);
    ::LineTo(dc, client.left, client.bottom - 1);
    ::SelectObject(dc, previousPen);

    ::DeleteObject(grey);
    ::DeleteObject(navy);
    ::DeleteObject(dark);
    ::DeleteObject(light);
}

} // namespace quarvel
