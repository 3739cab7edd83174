// Corlane and the real popup program: the launch at start-up, the restart on a display
// change, and a display command reaching it.
#include "corlane_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace corlane;

class CorlanePopup : public CleanState {
  protected:
    void TearDown() override {
        CleanState::TearDown();
        DeleteFileA(copy.c_str());
    }
    const std::string copy = "C:\\corlane-test\\lUmEtTa.ExE";
};

HWND PopupWindow() {
    return FindWindowA("LUMETTA", "LUMETTA");
}

std::vector<DWORD> PopupProcesses() {
    return harness::ProcessIds("Lumetta.exe");
}

harness::Process StartPopup(const std::string& exe = harness::BinDir() + "\\Lumetta.exe") {
    harness::Process popup = harness::Start(exe);
    EXPECT_TRUE(popup.Started()) << exe;
    EXPECT_NE(harness::WaitForWindow("LUMETTA", "LUMETTA", 10000), nullptr);
    return popup;
}

// Answers the boxes of a start-up without driver and library; returns the milliseconds from
// the assign box to the library box, which the popup launch's wait lies between.
double DismissBoxesTimingThePopupStep() {
    EXPECT_EQ(DismissBox(15000), BOX_NO_DRIVER);
    EXPECT_EQ(DismissBox(10000), BOX_ASSIGN_FAILED);
    const double afterAssign = harness::NowMs();
    EXPECT_EQ(DismissBox(15000), BOX_NO_LIBRARY);
    return harness::NowMs() - afterAssign;
}

TEST_F(CorlanePopup, LaunchesThePopupWhenItIsMissingAndWaitsForIt) {
    harness::Process corlane = StartCorlane();
    const double popupStep = DismissBoxesTimingThePopupStep();
    EXPECT_GE(popupStep, 1900.0) << "two seconds for the popup to come up";
    EXPECT_EQ(PopupProcesses().size(), 1u);
    EXPECT_NE(harness::WaitForWindow("LUMETTA", "LUMETTA", 5000), nullptr);
}

TEST_F(CorlanePopup, LeavesARunningPopupAloneAtStartUp) {
    harness::Process popup = StartPopup();
    harness::Process corlane = StartCorlane();
    const double popupStep = DismissBoxesTimingThePopupStep();
    EXPECT_LT(popupStep, 1500.0) << "no launch, no wait";
    EXPECT_EQ(PopupProcesses(), std::vector<DWORD>{popup.Id()});
}

TEST_F(CorlanePopup, DisplayChangeTerminatesThePopupAndStartsANewOne) {
    harness::Process popup = StartPopup();
    harness::Process corlane = StartCorlane();
    DismissBoxesTimingThePopupStep();
    HWND dialog = WaitForDialog(5000);
    ASSERT_NE(dialog, nullptr);
    PostMessageA(dialog, WM_DISPLAYCHANGE, 24, MAKELPARAM(1920, 1080));
    ASSERT_TRUE(popup.WaitExit(10000)) << "the running popup is terminated";
    const double ended = harness::NowMs();
    std::vector<DWORD> now;
    ASSERT_TRUE(harness::WaitUntil(
        [&] { return !(now = PopupProcesses()).empty() && PopupWindow() != nullptr; }, 10000));
    EXPECT_GE(harness::NowMs() - ended, 300.0) << "the relaunch waits half a second";
    EXPECT_EQ(now.size(), 1u);
    EXPECT_NE(now[0], popup.Id());
    EXPECT_TRUE(corlane.Running());
}

TEST_F(CorlanePopup, DisplayChangeWithoutAPopupOnlyLaunchesIt) {
    harness::Process corlane;
    {
        PopupRecorder stand_in; // taken for the popup at start-up: nothing is launched
        corlane = StartCorlane();
        DismissBoxesTimingThePopupStep();
    }
    ASSERT_TRUE(PopupProcesses().empty());
    HWND dialog = WaitForDialog(5000);
    ASSERT_NE(dialog, nullptr);
    PostMessageA(dialog, WM_DISPLAYCHANGE, 24, MAKELPARAM(1920, 1080));
    EXPECT_TRUE(harness::WaitUntil([] { return PopupWindow() != nullptr; }, 10000));
    EXPECT_EQ(PopupProcesses().size(), 1u);
}

TEST_F(CorlanePopup, DisplayChangeFindsThePopupWithoutRegardToCase) {
    CreateDirectoryA("C:\\corlane-test", nullptr);
    ASSERT_TRUE(CopyFileA((harness::BinDir() + "\\Lumetta.exe").c_str(), copy.c_str(), FALSE));
    harness::Process renamed = StartPopup(copy);
    harness::Process corlane = StartCorlane();
    DismissBoxesTimingThePopupStep();
    HWND dialog = WaitForDialog(5000);
    ASSERT_NE(dialog, nullptr);
    PostMessageA(dialog, WM_DISPLAYCHANGE, 24, MAKELPARAM(1920, 1080));
    EXPECT_TRUE(renamed.WaitExit(10000)) << "lUmEtTa.ExE counts as the popup";
    EXPECT_TRUE(harness::WaitUntil([] { return PopupWindow() != nullptr; }, 10000));
}

TEST_F(CorlanePopup, ABrightnessStepShowsThePopup) {
    harness::Process popup = StartPopup();
    harness::Process corlane = StartCorlane();
    DismissBoxesTimingThePopupStep();
    HWND dialog = WaitForDialog(5000);
    ASSERT_NE(dialog, nullptr);
    HWND window = PopupWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    PostCommand(dialog, 17); // level unknown: a down step shows 0 at once
    EXPECT_TRUE(harness::WaitUntil([&] { return IsWindowVisible(window) != FALSE; }, 5000));
}

} // namespace
