#include "ui/win32_dialog_colours.h"
#include "ui/win32_progress_bar.h"

#include <gtest/gtest.h>
#include <vector>

namespace quarvel {
namespace {

// The bar asked to print itself into a bitmap: navy left of the split the position gives, grey
// right of it, sampled on the middle row away from the centred text.
TEST(Win32ProgressBar, PrintsNavyUpToThePositionAndGreyBeyond) {
    struct Case {
        const char* name;
        int position;
        // Columns as fractions of the width.
        std::vector<double> navy;
        std::vector<double> grey;
    };
    const Case cases[] = {
        {"empty", 0, {}, {0.05, 0.2, 0.8, 0.95}},
        {"a quarter", 25, {0.05, 0.2}, {0.3, 0.8, 0.95}},
        {"three quarters", 75, {0.05, 0.2, 0.7}, {0.8, 0.95}},
        {"full", 100, {0.05, 0.2, 0.8, 0.95}, {}},
    };
    constexpr int width = 300;
    constexpr int height = 24;
    for (const auto& c : cases) {
        HWND control = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, width, height, nullptr,
                                         nullptr, nullptr, nullptr);
        ASSERT_NE(control, nullptr) << c.name;
        Win32ProgressBar bar;
        bar.attachTo(control);
        bar.setPosition(c.position);

        BITMAPINFO format{};
        format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bitmap = ::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC context = ::CreateCompatibleDC(nullptr);
        const HGDIOBJ previous = ::SelectObject(context, bitmap);
        ::SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(context), PRF_CLIENT);
        const auto at = [&](double fraction) {
            return ::GetPixel(context, static_cast<int>(fraction * width), height / 2);
        };
        for (const double x : c.navy) {
            EXPECT_EQ(at(x), colourRef(kBarNavy)) << c.name << " at " << x;
        }
        for (const double x : c.grey) {
            EXPECT_EQ(at(x), colourRef(kBarGrey)) << c.name << " at " << x;
        }
        ::SelectObject(context, previous);
        ::DeleteDC(context);
        ::DeleteObject(bitmap);
        ::DestroyWindow(control);
    }
}

} // namespace
} // namespace quarvel
