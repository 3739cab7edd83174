// Corlane's hotkey thread and volume repeat under Wine with the simulated notebook: notify
// codes queued in the driver reach the dialog, the brightness library and the keyboard
// program; held volume keys repeat at their rhythm; a failing notify-code request shows its
// box once per failure. (Raw HID input cannot be produced under Wine; the brightness key
// repeat is covered natively.)
#include "corlane_support.h"
#include "simulator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace corlane;
using Codes = std::vector<int32_t>;

constexpr const char* BOX_NOTIFY_CODE_FAILED = "IOCTL_OSTREL_ACPI_GET_NOTIFY_CODE fail";

class CorlaneHotKeys : public CleanState {
  protected:
    void SetUp() override {
        CleanState::SetUp();
        ASSERT_TRUE(sim::InstallDriver());
        ASSERT_TRUE(sim::InstallLibrary());
        keyboard_ = sim::StartKeyboard();
        ASSERT_TRUE(keyboard_.Started());
        corlane_ = StartCorlane();
        dialog_ = WaitForDialog(10000);
        ASSERT_NE(dialog_, nullptr);
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutA(dialog_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result));
        ASSERT_TRUE(sim::WaitForEventAssigned(10000));
        EXPECT_TRUE(NoBoxOpen());
        sim::ClearKeyboardCommands();
        sim::ClearLibraryCalls();
        sim::ClearDriverLog();
    }
    void TearDown() override {
        harness::KillSystem();
        sim::RemoveAll();
        CleanState::TearDown();
    }

    // Waits until the driver has handed out every queued code, then a little longer.
    void Settle() {
        EXPECT_TRUE(PumpUntil([] { return sim::QueuedCount() == 0u; }, 5000));
        PumpFor(300);
    }

    bool WaitForKeyboard(const Codes& codes) {
        return PumpUntil([&] { return sim::KeyboardCodes() == codes; }, 5000);
    }

    PopupRecorder popup_;
    harness::Process keyboard_;
    harness::Process corlane_;
    HWND dialog_ = nullptr;
};

TEST_F(CorlaneHotKeys, ShowOsdSetBrightnessAndMuteReachTheirTargets) {
    // 0xD0: the dialog reads the BIOS level with "SOSD".
    ASSERT_TRUE(sim::QueueNotifyCode(0xD0));
    EXPECT_TRUE(PumpUntil(
        [] {
            auto m = sim::MethodsCalled();
            return std::find(m.begin(), m.end(), "SOSD") != m.end();
        },
        5000));
    // 0xD9: the library gets the "PCGB" level.
    ASSERT_TRUE(sim::SetLevel(70));
    ASSERT_TRUE(sim::QueueNotifyCode(0xD9));
    EXPECT_TRUE(PumpUntil([] { return sim::LibraryLevels() == std::vector<int32_t>{70}; }, 5000));
    // 0xC4: LPARAM_MUTE at the keyboard program, with wParam 0x200.
    ASSERT_TRUE(sim::QueueNotifyCode(0xC4));
    ASSERT_TRUE(WaitForKeyboard({36}));
    EXPECT_EQ(sim::KeyboardCommands()[0].wParam, 0x200u);
    EXPECT_TRUE(corlane_.Running());
}

// A BIOS step raises 0xD0 in the driver; the hotkey thread turns it into the SOSD reading.
TEST_F(CorlaneHotKeys, BiosStepIsFollowedByItsShowOsdReading) {
    for (int i = 0; i < 10; ++i)
        PostCommand(dialog_, 18); // 50 up to 60, the tenth step goes to the BIOS
    ASSERT_TRUE(popup_.WaitForCommands(9, 5000));
    EXPECT_TRUE(PumpUntil(
        [] {
            return sim::MethodsCalled() == std::vector<std::string>{"INBR", "SOSD"};
        },
        5000));
    PumpFor(300);
    EXPECT_EQ(popup_.Commands().back(), Show(208, 59));
}

// Held for about a second: one HELD at once, the repeat about 210 ms later and then about
// every 30 ms, one RELEASED at the end.
TEST_F(CorlaneHotKeys, HeldVolumeKeyRepeatsAndEndsWithOneRelease) {
    ASSERT_TRUE(sim::QueueNotifyCode(0xD1));
    PumpFor(1000);
    ASSERT_TRUE(sim::QueueNotifyCode(0xD2));
    Settle();
    std::vector<sim::KeyboardCommand> commands = sim::KeyboardCommands();
    ASSERT_GE(commands.size(), 4u);
    EXPECT_EQ(commands.back().lParam, 33);
    std::vector<double> held;
    for (size_t i = 0; i + 1 < commands.size(); ++i) {
        EXPECT_EQ(commands[i].lParam, 32) << i;
        held.push_back(commands[i].timeMs);
    }
    EXPECT_GE(held.size(), 5u);
    EXPECT_LE(held.size(), 60u);
    // The first repeat waits for the hold counter; later ones come at the tick rhythm.
    ASSERT_GE(held.size(), 3u);
    EXPECT_GE(held[1] - held[0], 150.0);
    double span = held.back() - held[1];
    double average = span / double(held.size() - 2);
    EXPECT_GT(average, 15.0);
    EXPECT_LT(average, 100.0);
}

// A tap of the other volume key ends in exactly one RELEASED; everything before it is HELD.
TEST_F(CorlaneHotKeys, TappedVolumeKeyGivesOneRelease) {
    ASSERT_TRUE(sim::QueueNotifyCode(0xD3));
    ASSERT_TRUE(sim::QueueNotifyCode(0xD4));
    Settle();
    Codes codes = sim::KeyboardCodes();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), 35);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 35), 1);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 34), long(codes.size()) - 1);
}

TEST_F(CorlaneHotKeys, UnknownCodesPostNothing) {
    for (uint32_t code : {0xC5u, 0xD5u, 0xDAu, 0x00u, 0x1D0u})
        ASSERT_TRUE(sim::QueueNotifyCode(code));
    Settle();
    EXPECT_TRUE(sim::KeyboardCodes().empty());
    EXPECT_TRUE(popup_.Commands().empty());
    EXPECT_TRUE(sim::LibraryLevels().empty());
    ASSERT_TRUE(sim::QueueNotifyCode(0xC4));
    EXPECT_TRUE(WaitForKeyboard({36}));
}

// With the keyboard program closed the commands are lost, nothing breaks, and a keyboard
// program started again gets only what comes after.
TEST_F(CorlaneHotKeys, WithoutTheKeyboardProgramNothingIsSent) {
    sim::CloseKeyboard();
    sim::ClearKeyboardCommands();
    for (uint32_t code : {0xC4u, 0xD1u, 0xD2u, 0xD3u})
        ASSERT_TRUE(sim::QueueNotifyCode(code));
    Settle();
    PumpFor(300);
    EXPECT_TRUE(corlane_.Running());
    EXPECT_TRUE(NoBoxOpen());
    keyboard_ = sim::StartKeyboard();
    ASSERT_TRUE(keyboard_.Started());
    sim::ClearKeyboardCommands();
    ASSERT_TRUE(sim::QueueNotifyCode(0xD4));
    ASSERT_TRUE(sim::QueueNotifyCode(0xC4));
    Settle();
    // Key 2 was pressed while the program was away: now one RELEASED (after any HELD the
    // worker sent before the release arrived) and the mute, in whichever order the worker's
    // tick and the hotkey thread's post fall.
    Codes codes = sim::KeyboardCodes();
    codes.erase(std::remove(codes.begin(), codes.end(), 34), codes.end());
    std::sort(codes.begin(), codes.end());
    EXPECT_EQ(codes, (Codes{35, 36}));
}

TEST_F(CorlaneHotKeys, FailingNotifyCodeRequestShowsItsBoxOncePerFailure) {
    ASSERT_TRUE(sim::FailRequest(sim::GET_NOTIFY_CODE, 2));
    for (int failure = 0; failure < 2; ++failure) {
        ASSERT_TRUE(sim::QueueNotifyCode(0xC4));
        EXPECT_EQ(DismissBox(10000), BOX_NOTIFY_CODE_FAILED) << failure;
    }
    EXPECT_EQ(DismissBox(1500), "");
    EXPECT_TRUE(sim::KeyboardCodes().empty());
    ASSERT_TRUE(sim::QueueNotifyCode(0xC4));
    EXPECT_TRUE(WaitForKeyboard({36}));
    EXPECT_TRUE(NoBoxOpen());
}

} // namespace
