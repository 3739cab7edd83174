#include "layout.h"

#include <cstdlib>

namespace {

int32_t Truncate(double x) {
    return static_cast<int32_t>(x);
}

bool IsFullWidthBottomTaskbar(const ScreenRect& bar, float screenWidth) {
    return bar.right - bar.left == Truncate(screenWidth) && bar.top != 0;
}

} // namespace

PopupLayout ComputeLayout(int32_t screenWidth, int32_t screenHeight, const ScreenRect* taskbar) {
    PopupLayout layout;
    const float wf = static_cast<float>(screenWidth);
    const float hf = static_cast<float>(screenHeight);
    layout.SegmentWidth = static_cast<float>(double(wf) / 100.0 * 0.5);
    layout.BarHeight =
        static_cast<float>(double(layout.SegmentWidth) + double(layout.SegmentWidth) + 10.0);
    layout.BarOffsetX = 0.0f;
    if (taskbar && IsFullWidthBottomTaskbar(*taskbar, wf))
        layout.TaskbarHeight = taskbar->bottom - taskbar->top;
    layout.WindowHeight = Truncate(double(layout.BarHeight) + 0.5) + layout.IconHeight + 15;
    layout.WindowWidth = Truncate(wf);
    layout.WindowY = Truncate(double(hf) - layout.WindowHeight - layout.BottomMargin -
                              layout.TaskbarHeight + 0.5);
    return layout;
}

int32_t ComputeIconX(int32_t windowWidth) {
    return Truncate((windowWidth - 70.0) * 0.5 + 0.5);
}

int32_t MulDivRounded(int32_t a, int32_t b, int32_t c) {
    const int64_t product = int64_t(a) * b;
    const int64_t half = std::llabs(c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const int64_t magnitude = (std::llabs(product) + half) / std::llabs(c);
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

// The caption's cell ends where the 70-pixel icon area ends and the bar starts 5 pixels
// below it. From 144 dpi on the nominal font would be 70 pixels or more and would push the
// bar out of the band, whose height is fixed at start-up; the font is then held at one pixel
// less than the icon area, so caption, bar and band stay in place at any resolution.
FrameMetrics ComputeFrameMetrics(const PopupLayout& layout, int32_t pixelsPerInchY) {
    FrameMetrics m;
    m.FontHeight = MulDivRounded(36, pixelsPerInchY, 64);
    if (m.FontHeight >= layout.IconHeight)
        m.FontHeight = layout.IconHeight - 1;
    if (m.FontHeight < 1)
        m.FontHeight = 1;
    m.BarTop = static_cast<float>(double(layout.IconHeight) + 5.0);
    m.TextX = SegmentRectangle(layout, m.BarTop, 1).left;
    m.TextY = layout.IconHeight - m.FontHeight;
    return m;
}

SegmentRect SegmentRectangle(const PopupLayout& layout, float barTop, int32_t i) {
    SegmentRect r;
    r.left = Truncate((2.0 * i - 2.0) * layout.SegmentWidth + layout.BarOffsetX);
    r.top = Truncate(barTop);
    r.right = Truncate(r.left + double(layout.SegmentWidth));
    r.bottom = Truncate(double(barTop) + double(layout.BarHeight));
    return r;
}

uint32_t SegmentColour(int32_t i, int32_t level) {
    return i <= level ? BarColour : KeyColour;
}
