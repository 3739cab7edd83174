// The popup's place on the screen and the geometry of its frame, on the screens the system
// meets: the numbers are worked out by hand from the float rules, not taken from the code.
#include "layout.h"

#include <gtest/gtest.h>

namespace {

struct ScreenCase {
    const char* name;
    int32_t width, height;
    bool hasTaskbar;
    ScreenRect taskbar;
    float segmentWidth, barHeight;
    int32_t windowHeight, taskbarHeight, windowY, iconX;
};

const ScreenCase SCREENS[] = {
    {"1920x1080, 40-pixel taskbar",
     1920,
     1080,
     true,
     {0, 1040, 1920, 1080},
     9.6000003814697265625f,
     29.200000762939453125f,
     114,
     40,
     916,
     925},
    {"1366x768, 30-pixel taskbar",
     1366,
     768,
     true,
     {0, 738, 1366, 768},
     6.8299999237060546875f,
     23.659999847412109375f,
     109,
     30,
     619,
     648},
    {"1280x800 without taskbar",
     1280,
     800,
     false,
     {},
     6.4000000953674316406f,
     22.799999237060546875f,
     108,
     30,
     652,
     605},
    {"taskbar at the top edge",
     1920,
     1080,
     true,
     {0, 0, 1920, 60},
     9.6000003814697265625f,
     29.200000762939453125f,
     114,
     30,
     926,
     925},
    {"taskbar narrower than the screen",
     1920,
     1080,
     true,
     {100, 1000, 1920, 1080},
     9.6000003814697265625f,
     29.200000762939453125f,
     114,
     30,
     926,
     925},
    {"taskbar on the right edge",
     1920,
     1080,
     true,
     {1860, 0, 1920, 1080},
     9.6000003814697265625f,
     29.200000762939453125f,
     114,
     30,
     926,
     925},
    {"Wine's empty taskbar rectangle",
     1920,
     1080,
     true,
     {0, 0, 0, 0},
     9.6000003814697265625f,
     29.200000762939453125f,
     114,
     30,
     926,
     925},
};

class ScreenLayout : public testing::TestWithParam<ScreenCase> {};

TEST_P(ScreenLayout, PlacesTheBandAboveTheTaskbar) {
    const ScreenCase& c = GetParam();
    const PopupLayout l = ComputeLayout(c.width, c.height, c.hasTaskbar ? &c.taskbar : nullptr);
    EXPECT_EQ(l.SegmentCount, 100);
    EXPECT_EQ(l.IconWidth, 70);
    EXPECT_EQ(l.IconHeight, 70);
    EXPECT_EQ(l.BottomMargin, 10);
    EXPECT_EQ(l.SegmentWidth, c.segmentWidth); // exact: both are the same float
    EXPECT_EQ(l.BarHeight, c.barHeight);
    EXPECT_EQ(l.BarOffsetX, 0.0f);
    EXPECT_EQ(l.TaskbarHeight, c.taskbarHeight);
    EXPECT_EQ(l.WindowWidth, c.width);
    EXPECT_EQ(l.WindowHeight, c.windowHeight);
    EXPECT_EQ(l.WindowY, c.windowY);
    EXPECT_EQ(ComputeIconX(l.WindowWidth), c.iconX);
}

INSTANTIATE_TEST_SUITE_P(Screens, ScreenLayout, testing::ValuesIn(SCREENS),
                         [](const testing::TestParamInfo<ScreenCase>& info) {
                             std::string n;
                             for (const char* p = info.param.name; *p; ++p)
                                 n += isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return n;
                         });

TEST(IconX, CentresTheIconAreaWithAnOddPixelToTheLeft) {
    EXPECT_EQ(ComputeIconX(1920), 925);
    EXPECT_EQ(ComputeIconX(1365), 648);
    EXPECT_EQ(ComputeIconX(70), 0);
}

struct SegmentCase {
    int32_t screenWidth, segment, left, right; // right exclusive
};

TEST(Segments, StartTwoSegmentWidthsApartAndAreTruncatedWide) {
    const SegmentCase cases[] = {
        {1920, 1, 0, 9}, {1920, 2, 19, 28}, {1920, 3, 38, 47}, {1920, 100, 1900, 1909},
        {1366, 1, 0, 6}, {1366, 2, 13, 19}, {1366, 3, 27, 33}, {1366, 100, 1352, 1358},
    };
    for (const SegmentCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.screenWidth << " segment " << c.segment);
        const PopupLayout l = ComputeLayout(c.screenWidth, 768, nullptr);
        const SegmentRect r = SegmentRectangle(l, 75.0f, c.segment);
        EXPECT_EQ(r.left, c.left);
        EXPECT_EQ(r.right, c.right);
        EXPECT_EQ(r.top, 75);
    }
    EXPECT_EQ(SegmentRectangle(ComputeLayout(1920, 1080, nullptr), 75.0f, 50).bottom, 104);
    EXPECT_EQ(SegmentRectangle(ComputeLayout(1366, 768, nullptr), 75.0f, 50).bottom, 98);
}

TEST(Segments, FillUpToTheLevel) {
    const struct {
        int32_t level, firstKeyed; // first segment left in the key colour (101: none)
    } cases[] = {{0, 1}, {-1, 1}, {7, 8}, {50, 51}, {100, 101}, {65535, 101}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        for (int32_t i = 1; i <= 100; ++i)
            ASSERT_EQ(SegmentColour(i, c.level), i < c.firstKeyed ? BarColour : KeyColour) << i;
    }
}

TEST(FrameMetrics, CaptionSitsOnTheIconAreaAtEachResolution) {
    const PopupLayout l = ComputeLayout(1920, 1080, nullptr);
    const struct {
        int32_t dpi, fontHeight, textY;
    } cases[] = {
        {96, 54, 16},
        {120, 68, 2}, // 67.5 rounds up
        {144, 69, 1}, // 81 would push the bar out of the band: held below 70
        {192, 69, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        const FrameMetrics m = ComputeFrameMetrics(l, c.dpi);
        EXPECT_EQ(m.FontHeight, c.fontHeight);
        EXPECT_EQ(m.TextY, c.textY);
        EXPECT_EQ(m.TextX, 0);
        EXPECT_EQ(m.BarTop, 75.0f);
        // Caption, bar and band stay consistent: the bar ends inside the window.
        EXPECT_LE(m.TextY + m.FontHeight, l.IconHeight);
        EXPECT_LE(SegmentRectangle(l, m.BarTop, 1).bottom, l.WindowHeight);
    }
}

TEST(MulDivRounded, RoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDivRounded(36, 96, 64), 54);
    EXPECT_EQ(MulDivRounded(36, 120, 64), 68);
    EXPECT_EQ(MulDivRounded(36, 144, 64), 81);
    EXPECT_EQ(MulDivRounded(-36, 120, 64), -68);
    EXPECT_EQ(MulDivRounded(1, 1, 3), 0);
}

} // namespace
