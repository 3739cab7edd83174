// The whole system on the simulated notebook, hop by hop: Relaine started from an install
// folder under Program Files starts Corlane and Lumetta; a brightness key goes from Corlane's
// command through its count and the BIOS step at the multiple of ten to the driver's notify
// code 0xD0, the "SOSD" read, and the popup's frame on screen and its hiding.
//
// Raw HID input cannot be produced under Wine, so the key is posted the way the raw input
// reader posts it: WM_OSD_COMMAND with wParam 0x200 and the command code to "Corlane".
#include "harness.h"
#include "screen.h"
#include "simulator.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr const char* INSTALL_FOLDER = "C:\\Program Files\\Notebook Hotkeys E2E";
constexpr const char* RECORD_FILE = "C:\\ProgramData\\Brightness.ini";
constexpr const char* PROGRAMS[] = {"Corlane.exe", "Lumetta.exe", "Relaine.exe"};
constexpr unsigned WM_OSD_COMMAND = 0x0501;
constexpr int32_t LPARAM_DEBR = 17;
constexpr int32_t LPARAM_INBR = 18;

constexpr COLORREF BACKDROP = RGB(0, 200, 0);
constexpr COLORREF BAR = RGB(10, 101, 156);
constexpr int BAND_HEIGHT = 114;
constexpr int BAR_ROW = 75;
constexpr DWORD KEY_GAP_MS = 100;

std::string Installed(const char* program) {
    return std::string(INSTALL_FOLDER) + "\\" + program;
}

void RemoveInstall() {
    for (const char* program : PROGRAMS)
        DeleteFileA(Installed(program).c_str());
    RemoveDirectoryA(INSTALL_FOLDER);
}

// Segments lit in the band: segment i starts at truncate((2i - 2) * 9.6) on 1920 pixels.
int LitSegments(const screen::Capture& band) {
    int lit = 0;
    for (int i = 1; i <= 100; ++i)
        lit += band.At(static_cast<int>((2 * i - 2) * 9.6000003814697265625) + 1, BAR_ROW) == BAR;
    return lit;
}

// The sun sits at the top centre; the long rays of the brightness-up picture reach the top.
bool LongRayedSun(const screen::Capture& band) {
    const int x = (band.width - 70) / 2 + 35;
    return band.At(x, 34) != BACKDROP && band.At(x, 3) != BACKDROP;
}

bool ShortRayedSun(const screen::Capture& band) {
    const int x = (band.width - 70) / 2 + 35;
    return band.At(x, 34) != BACKDROP && band.At(x, 3) == BACKDROP;
}

// One direction of the brightness key: its command, the BIOS method of its step, the popup's
// picture, and the level the BIOS reaches from 50.
struct Direction {
    const char* name;
    int32_t command;
    const char* method;
    int step; // +1 or -1
    bool (*picture)(const screen::Capture&);
};

void PrintTo(const Direction& d, std::ostream* os) {
    *os << d.name;
}

const Direction DIRECTIONS[] = {
    {"Up", LPARAM_INBR, "INBR", +1, LongRayedSun},
    {"Down", LPARAM_DEBR, "DEBR", -1, ShortRayedSun},
};

class EndToEnd : public testing::TestWithParam<Direction> {
  protected:
    void SetUp() override {
        harness::KillSystem();
        DeleteFileA(RECORD_FILE);
        ASSERT_TRUE(sim::InstallDriver());
        ASSERT_TRUE(sim::InstallLibrary());
        InstallPrograms();
        relaine_ = harness::Start(Installed("Relaine.exe"), "", INSTALL_FOLDER);
        ASSERT_TRUE(relaine_.Started());
        corlane_ = harness::WaitForWindow(nullptr, "Corlane", 20000);
        popup_ = harness::WaitForWindow("LUMETTA", "LUMETTA", 20000);
        ASSERT_NE(corlane_, nullptr);
        ASSERT_NE(popup_, nullptr);
        ASSERT_TRUE(sim::WaitForEventAssigned(20000));
        ASSERT_TRUE(harness::WaitUntil([] { return Called("SOSD"); }, 20000));
        // Relaine launches Lumetta a second after Corlane did; that second copy ends at once.
        screen::Pump(1500);
        RECT rect;
        ASSERT_TRUE(GetWindowRect(popup_, &rect));
        band_ = {0, rect.top, rect.right, rect.top + BAND_HEIGHT};
        ASSERT_FALSE(IsWindowVisible(popup_)); // the backdrop must come while it is hidden
        backdrop_ = std::make_unique<screen::Backdrop>(band_, BACKDROP);
        ASSERT_TRUE(sim::ClearDriverLog());
    }
    void TearDown() override {
        EXPECT_FALSE(harness::CrashSeen());
        backdrop_.reset();
        harness::KillSystem();
        sim::RemoveAll();
        DeleteFileA(RECORD_FILE);
        RemoveInstall();
    }

    void InstallPrograms() {
        CreateDirectoryA(INSTALL_FOLDER, nullptr);
        for (const char* program : PROGRAMS)
            ASSERT_TRUE(CopyFileA((harness::BinDir() + "\\" + program).c_str(),
                                  Installed(program).c_str(), FALSE))
                << program;
    }

    static bool Called(const char* method) {
        for (const std::string& m : sim::MethodsCalled())
            if (m == method)
                return true;
        return false;
    }

    double Press(int32_t command) {
        const double at = harness::NowMs();
        EXPECT_TRUE(PostMessageA(corlane_, WM_OSD_COMMAND, 0x200, command));
        return at;
    }
    bool WaitVisible(bool visible, DWORD timeout_ms) {
        return harness::WaitUntil([&] { return (IsWindowVisible(popup_) != FALSE) == visible; },
                                  timeout_ms, 2);
    }
    // The frame once it is on screen: painted over the backdrop and the same in two captures.
    screen::Capture Frame() {
        screen::Capture frame;
        harness::WaitUntil(
            [&] {
                frame = screen::GrabSettled(band_, 1000);
                return Painted(frame);
            },
            3000, 20);
        return frame;
    }
    static bool Painted(const screen::Capture& band) {
        for (COLORREF p : band.pixels)
            if (p != BACKDROP)
                return true;
        return false;
    }

    harness::Process relaine_;
    HWND corlane_ = nullptr;
    HWND popup_ = nullptr;
    RECT band_ = {};
    std::unique_ptr<screen::Backdrop> backdrop_;
};

// The key steps the count by one and Corlane tells the popup at once, without the BIOS.
TEST_P(EndToEnd, AKeyStepsTheCountAndTheFrameShowsItWithoutAskingTheBios) {
    const Direction& d = GetParam();
    Press(d.command);
    ASSERT_TRUE(WaitVisible(true, 3000));
    const screen::Capture frame = Frame();
    EXPECT_EQ(LitSegments(frame), 50 + d.step);
    EXPECT_TRUE(d.picture(frame));
    EXPECT_TRUE(sim::MethodsCalled().empty());
    EXPECT_EQ(sim::Level(), 50);
    EXPECT_TRUE(WaitVisible(false, 3000));
}

// Ten steps: on the tenth the count lies ten away from the BIOS level on a multiple of ten,
// so Corlane asks the BIOS to step; the BIOS raises 0xD0, the driver signals Corlane's event,
// Corlane reads the code and then the new level with "SOSD". The popup shows the counts up
// to the ninth step and hides half a second or so after the last one it was told.
TEST_P(EndToEnd, TheTenthStepRunsTheBiosStepThenShowOsdAndThePopupHides) {
    const Direction& d = GetParam();
    double ninthPressed = 0;
    for (int i = 1; i <= 9; ++i) {
        ninthPressed = Press(d.command);
        screen::Pump(KEY_GAP_MS);
    }
    ASSERT_TRUE(WaitVisible(true, 3000));
    const screen::Capture ninth = Frame();
    EXPECT_EQ(LitSegments(ninth), 50 + 9 * d.step);
    EXPECT_TRUE(d.picture(ninth));
    EXPECT_TRUE(sim::MethodsCalled().empty()) << "the BIOS was asked before the tenth step";

    const double pressed = Press(d.command);
    const int level = 50 + 10 * d.step;
    ASSERT_TRUE(harness::WaitUntil([] { return Called("SOSD"); }, 5000));
    std::vector<sim::DriverCall> hops;
    for (const sim::DriverCall& call : sim::DriverLog())
        if (call.request == sim::CALL_METHOD || call.request == sim::GET_NOTIFY_CODE)
            hops.push_back(call);
    ASSERT_EQ(hops.size(), 3u);
    EXPECT_EQ(hops[0].method, d.method);
    EXPECT_EQ(hops[0].result, level);
    EXPECT_EQ(hops[1].request, sim::GET_NOTIFY_CODE);
    EXPECT_EQ(hops[1].result, 0xD0);
    EXPECT_EQ(hops[2].method, "SOSD");
    EXPECT_EQ(hops[2].result, level);
    for (const sim::DriverCall& hop : hops) {
        EXPECT_TRUE(hop.Succeeded());
        EXPECT_EQ(hop.processId, harness::WindowProcessId(corlane_));
    }
    EXPECT_GE(hops[0].timeMs, pressed);
    EXPECT_LE(hops[0].timeMs, hops[1].timeMs);
    EXPECT_LE(hops[1].timeMs, hops[2].timeMs);
    EXPECT_LE(hops[2].timeMs - pressed, 3000.0);
    EXPECT_EQ(sim::Level(), level);
    EXPECT_EQ(sim::QueuedCount(), 0u);

    ASSERT_TRUE(WaitVisible(false, 3000));
    EXPECT_GE(harness::NowMs() - ninthPressed, 400.0); // about 500 ms after the last frame
}

INSTANTIATE_TEST_SUITE_P(Brightness, EndToEnd, testing::ValuesIn(DIRECTIONS),
                         [](const testing::TestParamInfo<Direction>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
