// The real Lumetta.exe on the 1920 x 1080 test screen: its window, its show and hide times,
// the pixels of its frames, its single instance, its commands and its resources over time.
#include "harness.h"
#include "screen.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr COLORREF BACKDROP = RGB(0, 200, 0);
constexpr COLORREF BAR = RGB(10, 101, 156);
constexpr int BAND_Y = 926; // 1080 - 114 - 10 - 30: Wine's taskbar has an empty rectangle
constexpr int BAND_HEIGHT = 114;
constexpr int ICON_X = 925;

std::string LumettaExe() {
    return harness::BinDir() + "\\Lumetta.exe";
}

class Lumetta : public testing::Test {
  protected:
    void SetUp() override {
        harness::KillSystem();
        process_ = harness::Start(LumettaExe());
        ASSERT_TRUE(process_.Started());
        popup_ = harness::WaitForWindow("LUMETTA", "LUMETTA", 10000);
        ASSERT_NE(popup_, nullptr);
        // The window exists a moment before start-up makes it layered and colour-keyed.
        ASSERT_TRUE(harness::WaitUntil([&] { return ColourKeyed(); }, 5000));
    }
    void TearDown() override {
        EXPECT_FALSE(harness::CrashSeen());
        harness::KillSystem();
    }

    void Display(WORD id, WORD level) {
        SendMessageA(popup_, WM_COMMAND, MAKEWPARAM(id, level), 0);
    }
    bool Visible() const { return IsWindowVisible(popup_) != FALSE; }
    bool ColourKeyed() const {
        COLORREF key = 0;
        BYTE alpha = 0;
        DWORD flags = 0;
        return GetLayeredWindowAttributes(popup_, &key, &alpha, &flags) && (flags & LWA_COLORKEY);
    }
    bool WaitVisible(bool visible, DWORD timeout_ms) {
        return harness::WaitUntil([&] { return Visible() == visible; }, timeout_ms, 2);
    }
    // The band as it shows on screen over a green backdrop, once a frame is up.
    screen::Capture ShowAndCapture(WORD id, WORD level) {
        const RECT band = {0, BAND_Y, 1920, BAND_Y + BAND_HEIGHT};
        screen::Backdrop backdrop(band, BACKDROP);
        Display(id, level);
        EXPECT_TRUE(WaitVisible(true, 2000));
        screen::Pump(60);
        return screen::GrabSettled(band, 400);
    }

    harness::Process process_;
    HWND popup_ = nullptr;
};

TEST_F(Lumetta, StartsHiddenLayeredAndColourKeyedAboveTheTaskbar) {
    EXPECT_FALSE(Visible());
    const LONG exStyle = GetWindowLongA(popup_, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetWindowLongA(popup_, GWL_STYLE) & WS_POPUP, WS_POPUP);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(popup_, &key, &alpha, &flags));
    EXPECT_EQ(key, 0x00FF0000u);
    EXPECT_EQ(alpha, 255);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY | LWA_ALPHA));
    RECT r;
    ASSERT_TRUE(GetWindowRect(popup_, &r));
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, BAND_Y);
    EXPECT_EQ(r.right, 1920);
    EXPECT_EQ(r.bottom, BAND_Y + BAND_HEIGHT);
}

TEST_F(Lumetta, ShowsAfterACommandAndHidesHalfASecondLater) {
    const double sent = harness::NowMs();
    Display(208, 50);
    ASSERT_TRUE(WaitVisible(true, 2000));
    const double shown = harness::NowMs();
    ASSERT_TRUE(WaitVisible(false, 3000));
    const double hidden = harness::NowMs();
    EXPECT_GE(shown - sent, 15.0);   // the short first step comes before any show
    EXPECT_GE(hidden - sent, 400.0); // about 500 ms after the command
    EXPECT_LE(hidden - sent, 1500.0);
}

TEST_F(Lumetta, CommandsLessThanHalfASecondApartKeepItVisible) {
    Display(208, 10);
    ASSERT_TRUE(WaitVisible(true, 2000));
    for (WORD level = 11; level < 20; ++level) {
        Sleep(250);
        EXPECT_TRUE(Visible()) << level;
        Display(208, level);
    }
    EXPECT_TRUE(WaitVisible(false, 3000));
}

TEST_F(Lumetta, BrightnessFrameFillsSegmentsUpToTheLevelAndShowsTheSun) {
    const screen::Capture c = ShowAndCapture(208, 50);
    ASSERT_EQ(c.width, 1920);
    // Segment i covers x from truncate((2i-2) * 9.6) over 9 pixels, y 75 to 103.
    for (int i = 1; i <= 100; ++i) {
        const int left = static_cast<int>((2 * i - 2) * 9.6000003814697265625);
        const COLORREF expected = i <= 50 ? BAR : BACKDROP;
        SCOPED_TRACE(i);
        EXPECT_EQ(c.At(left, 75), expected);
        EXPECT_EQ(c.At(left + 8, 103), expected);
        EXPECT_EQ(c.At(left + 9 + 2, 90), BACKDROP); // the gap after the segment
    }
    EXPECT_EQ(c.At(5, 74), BACKDROP);  // above the bar
    EXPECT_EQ(c.At(5, 104), BACKDROP); // below it
    // The long-rayed sun at the top centre: its middle is lit, its corners are key blue.
    EXPECT_NE(c.At(ICON_X + 35, 34), BACKDROP);
    EXPECT_NE(c.At(ICON_X + 35, 34), BAR);
    EXPECT_EQ(c.At(ICON_X + 1, 1), BACKDROP);
    EXPECT_NE(c.At(ICON_X + 35, 3), BACKDROP); // the long upward ray reaches the top
    EXPECT_EQ(c.At(ICON_X - 5, 34), BACKDROP);
}

TEST_F(Lumetta, ShortRayedSunForBrightnessDown) {
    const screen::Capture c = ShowAndCapture(224, 7);
    EXPECT_NE(c.At(ICON_X + 35, 34), BACKDROP);
    EXPECT_EQ(c.At(ICON_X + 35, 3), BACKDROP); // short rays stop well below the top
    EXPECT_EQ(c.At(0, 80), BAR);
    EXPECT_EQ(c.At(static_cast<int>(7 * 2 * 9.6000003814697265625), 80), BACKDROP);
}

TEST_F(Lumetta, MuteFrameShowsACaptionAndNoSegment) {
    const screen::Capture c = ShowAndCapture(50, 80);
    int captionPixels = 0;
    for (int y = 0; y < 75; ++y) {
        for (int x = 0; x < 600; ++x) {
            const COLORREF p = c.At(x, y);
            captionPixels += p == BAR;
            ASSERT_TRUE(p == BAR || p == BACKDROP) << x << "," << y; // no blended edges
        }
    }
    EXPECT_GT(captionPixels, 200);
    for (int i = 1; i <= 100; ++i)
        EXPECT_EQ(c.At(static_cast<int>((2 * i - 2) * 9.6000003814697265625), 80), BACKDROP) << i;
    EXPECT_EQ(c.At(ICON_X + 35, 34), BACKDROP); // no picture
}

TEST_F(Lumetta, ASecondStartExitsAndLeavesTheFirstAlone) {
    Display(208, 30);
    ASSERT_TRUE(WaitVisible(true, 2000));
    harness::Process second = harness::Start(LumettaExe());
    DWORD code = 99;
    ASSERT_TRUE(second.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(harness::WaitForWindow("LUMETTA", "LUMETTA", 100), popup_);
    EXPECT_TRUE(process_.Running());
    EXPECT_TRUE(WaitVisible(false, 3000)); // the countdown ran on as before
}

TEST_F(Lumetta, ExitCommandEndsTheProgramWithZero) {
    PostMessageA(popup_, WM_COMMAND, 105, 0);
    DWORD code = 99;
    ASSERT_TRUE(process_.WaitExit(5000, &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(Lumetta, AboutCommandOpensTheAboutBox) {
    PostMessageA(popup_, WM_COMMAND, 104, 0);
    HWND about = harness::WaitForWindow("#32770", "About", 5000);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(harness::WindowProcessId(about), process_.Id());
    EXPECT_EQ(GetWindow(about, GW_OWNER), popup_);
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(harness::WaitUntil([&] { return !IsWindow(about); }, 5000));
    EXPECT_TRUE(process_.Running());
}

TEST_F(Lumetta, UnknownIdsAndAnyLevelChangeNothingAndNeverCrash) {
    for (WPARAM id : {0, 1, 47, 52, 103, 106, 207, 209, 223, 225, 0xFFFF})
        SendMessageA(popup_, WM_COMMAND, MAKEWPARAM(id, 50), 0);
    Sleep(200);
    EXPECT_FALSE(Visible());
    for (DWORD w = 0; w < 0x10000; w += 0x1F3)
        SendMessageA(popup_, WM_COMMAND, MAKEWPARAM(208, w), 0);
    SendMessageA(popup_, WM_COMMAND, MAKEWPARAM(48, 0xFFFF), 0xDEADBEEF);
    EXPECT_TRUE(WaitVisible(true, 2000));
    EXPECT_TRUE(WaitVisible(false, 3000));
    EXPECT_TRUE(process_.Running());
}

// Every paint creates and releases some two hundred GDI objects: a leak of one per segment
// would use up the process's GDI handles within a few hundred paints and the frame would no
// longer be drawn. The counts themselves are compared where the platform reports them (Wine
// reports 0 for both).
TEST_F(Lumetta, ThousandsOfCommandsLeaveNoHandleOrGdiObjectBehind) {
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, process_.Id());
    ASSERT_NE(h, nullptr);
    auto counts = [&] {
        DWORD handles = 0;
        GetProcessHandleCount(h, &handles);
        return std::make_pair(handles, GetGuiResources(h, GR_GDIOBJECTS));
    };
    const WORD ids[] = {208, 224, 48, 49, 50, 51};
    for (int i = 0; i < 30; ++i) // settle the first paints' one-time objects
        Display(ids[i % 6], static_cast<WORD>(i));
    WaitVisible(true, 2000);
    Sleep(200);
    const auto before = counts();
    for (int i = 0; i < 2000; ++i) {
        Display(ids[i % 6], static_cast<WORD>(i % 101));
        UpdateWindow(popup_); // a paint for every command
    }
    Sleep(300);
    const auto after = counts();
    EXPECT_LE(after.first, before.first + 2) << "handles before " << before.first;
    EXPECT_LE(after.second, before.second + 2) << "GDI objects before " << before.second;
    // After so many paints the frame is still drawn in full. (Under Wine a window that is
    // already visible stays below a backdrop mapped after it: let the popup hide first.)
    ASSERT_TRUE(WaitVisible(false, 3000));
    const screen::Capture c = ShowAndCapture(208, 100);
    int filled = 0;
    for (COLORREF p : c.pixels)
        filled += p == BAR;
    EXPECT_EQ(filled, 100 * 9 * 29); // 100 segments of 9 x 29 pixels, nothing else in bar colour
    CloseHandle(h);
}

} // namespace
