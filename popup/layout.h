// Where the popup sits on the screen and where each part of its frame goes. Computed once
// at start-up from the screen and the taskbar; the frame metrics at every paint.
#pragma once

#include <cstdint>

constexpr uint32_t KeyColour = 0x00FF0000; // COLORREF of pure blue: transparent on screen
constexpr uint32_t BarColour = 0x009C650A; // COLORREF of the filled segments and the caption

struct ScreenRect {
    int32_t left, top, right, bottom;
};

struct PopupLayout {
    int32_t SegmentCount = 100;
    int32_t IconWidth = 70;
    int32_t IconHeight = 70;
    int32_t BottomMargin = 10;
    float SegmentWidth = 0;
    float BarHeight = 0;
    float BarOffsetX = 0;
    int32_t TaskbarHeight = 30;
    int32_t WindowWidth = 0;
    int32_t WindowHeight = 0;
    int32_t WindowY = 0;
    int32_t IconX = 0;
};

// What a paint derives from the device's vertical resolution.
struct FrameMetrics {
    int32_t FontHeight;
    int32_t TextX;
    int32_t TextY;
    float BarTop;
};

struct SegmentRect {
    int32_t left, top, right, bottom; // right and bottom exclusive
};

// taskbar is null when there is no taskbar window or its rectangle cannot be read.
PopupLayout ComputeLayout(int32_t screenWidth, int32_t screenHeight, const ScreenRect* taskbar);
int32_t ComputeIconX(int32_t windowWidth);
FrameMetrics ComputeFrameMetrics(const PopupLayout& layout, int32_t pixelsPerInchY);
// Segment i, 1 to SegmentCount.
SegmentRect SegmentRectangle(const PopupLayout& layout, float barTop, int32_t i);
uint32_t SegmentColour(int32_t i, int32_t level);

// Rounds a * b / c to the nearest integer, halves away from zero, as the platform's MulDiv.
int32_t MulDivRounded(int32_t a, int32_t b, int32_t c);
