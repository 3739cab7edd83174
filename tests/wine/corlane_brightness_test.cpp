// Corlane with the simulated notebook: a complete start-up, the key steps that stay in Corlane
// and the one that goes to the BIOS with the driver's answer, the commands that read the BIOS
// level, and driver failures.
#include "corlane_support.h"
#include "simulator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace corlane;
using Methods = std::vector<std::string>;
using Shown = std::vector<std::string>;

class CorlaneBrightness : public CleanState {
  protected:
    void SetUp() override {
        CleanState::SetUp();
        ASSERT_TRUE(sim::InstallDriver());
        ASSERT_TRUE(sim::InstallLibrary());
    }
    void TearDown() override {
        harness::KillSystem();
        sim::RemoveAll();
        CleanState::TearDown();
    }

    // Starts Corlane with the popup stand-in and waits until start-up has read the BIOS level;
    // then the driver log is cleared.
    void StartAndWaitForTheReading() {
        corlane_ = StartCorlane();
        ASSERT_TRUE(PumpUntil(
            [] {
                const Methods methods = sim::MethodsCalled();
                return methods.size() >= 2 && methods[1] == "SOSD";
            },
            15000))
            << "methods: " << Join(sim::MethodsCalled());
        dialog_ = WaitForDialog(5000);
        ASSERT_NE(dialog_, nullptr);
        PumpFor(200);
        sim::ClearDriverLog();
    }

    // Posts the commands and pumps until the driver and the popup have settled.
    void Post(std::initializer_list<LPARAM> codes) {
        for (LPARAM code : codes)
            PostCommand(dialog_, code);
        PumpFor(300);
    }

    static std::string Join(const Methods& methods) {
        std::string all;
        for (const std::string& m : methods)
            all += m + " ";
        return all;
    }

    PopupRecorder popup_;
    harness::Process corlane_;
    HWND dialog_ = nullptr;
};

Shown UpFrom(int first, int last) {
    Shown shown;
    for (int level = first; level <= last; ++level)
        shown.push_back(Show(208, level));
    return shown;
}

TEST_F(CorlaneBrightness, CompleteStartUpReadsTheBIOSWithoutAnyBox) {
    ASSERT_TRUE(sim::SetLevel(37));
    corlane_ = StartCorlane();
    ASSERT_TRUE(PumpUntil([] { return sim::MethodsCalled().size() >= 2; }, 15000));
    EXPECT_EQ(DismissBox(1500), "") << "no box on a complete start-up";
    EXPECT_EQ(sim::MethodsCalled(), (Methods{"PCGB", "SOSD"}));
    EXPECT_EQ(sim::LibraryLevels(), std::vector<int32_t>{37});
    EXPECT_TRUE(sim::EventAssigned());
    const std::vector<sim::DriverCall> log = sim::DriverLog();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[0].request, sim::INIT);
    EXPECT_EQ(log[1].request, sim::ASSIGN_EVENT);
    EXPECT_EQ(log[0].processId, corlane_.Id());
    dialog_ = WaitForDialog(5000);
    ASSERT_NE(dialog_, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(dialog_); }, 5000));
    // Both levels come from the reading: one step up shows 38.
    Post({18});
    EXPECT_EQ(popup_.Commands(), Shown{Show(208, 38)});
}

TEST_F(CorlaneBrightness, LibraryGetsThePCGBLevelAndTheCountTheSOSDLevel) {
    ASSERT_TRUE(sim::SetLevel(64));
    ASSERT_TRUE(sim::FailMethod("PCGB"));
    StartAndWaitForTheReading();
    EXPECT_EQ(sim::LibraryLevels(), std::vector<int32_t>{0}) << "a failed PCGB passes 0 on";
    Post({17});
    EXPECT_EQ(popup_.Commands(), Shown{Show(224, 63)});
}

TEST_F(CorlaneBrightness, NineStepsStayInCorlaneAndTheTenthGoesToTheBIOS) {
    StartAndWaitForTheReading();
    for (int i = 0; i < 9; ++i)
        PostCommand(dialog_, 18);
    ASSERT_TRUE(popup_.WaitForCommands(9, 5000));
    PumpFor(200);
    EXPECT_EQ(popup_.Commands(), UpFrom(51, 59));
    EXPECT_TRUE(sim::MethodsCalled().empty()) << Join(sim::MethodsCalled());

    // The tenth: "INBR"; the driver raises 0xD0, the hotkey thread brings the show command and
    // the dialog reads the new level. No brightness key came through raw input, so there is
    // no direction to show it in.
    PostCommand(dialog_, 18);
    ASSERT_TRUE(PumpUntil([] { return sim::MethodsCalled().size() >= 2; }, 5000))
        << Join(sim::MethodsCalled());
    PumpFor(300);
    EXPECT_EQ(sim::MethodsCalled(), (Methods{"INBR", "SOSD"}));
    EXPECT_EQ(sim::Level(), 60);
    EXPECT_EQ(popup_.Commands(), UpFrom(51, 59));

    // The count goes on from 60, and the BIOS level 60 read by "SOSD" puts the next BIOS step
    // down at 50.
    Post({18});
    EXPECT_EQ(popup_.Commands().back(), Show(208, 61));
    sim::ClearDriverLog();
    for (int i = 0; i < 11; ++i)
        PostCommand(dialog_, 17);
    ASSERT_TRUE(PumpUntil([] { return !sim::MethodsCalled().empty(); }, 5000));
    PumpFor(300);
    EXPECT_EQ(sim::MethodsCalled(), (Methods{"DEBR", "SOSD"}));
    Shown down(popup_.Commands().end() - 10, popup_.Commands().end());
    Shown expected;
    for (int level = 60; level >= 51; --level)
        expected.push_back(Show(224, level));
    EXPECT_EQ(down, expected) << "51 is the last shown; 50 waits for the BIOS";
}

TEST_F(CorlaneBrightness, ShowNotificationFromTheDriverReadsTheLevelOnce) {
    StartAndWaitForTheReading();
    ASSERT_TRUE(sim::SetLevel(80));
    ASSERT_TRUE(sim::QueueNotifyCode(0xD0)); // the first show after start always reads
    ASSERT_TRUE(PumpUntil([] { return !sim::MethodsCalled().empty(); }, 5000));
    ASSERT_TRUE(sim::QueueNotifyCode(0xD0)); // nothing pending any more
    PumpFor(500);
    EXPECT_EQ(sim::MethodsCalled(), Methods{"SOSD"});
    EXPECT_TRUE(popup_.Commands().empty());
    // The count stays 50: up steps reach the BIOS only ten above its new level, 90.
    Post({18});
    EXPECT_EQ(popup_.Commands(), Shown{Show(208, 51)});
}

TEST_F(CorlaneBrightness, SetBrightnessNotificationHandsTheCurrentLevelToTheLibrary) {
    StartAndWaitForTheReading();
    ASSERT_TRUE(sim::SetLevel(70));
    ASSERT_TRUE(sim::QueueNotifyCode(0xD9));
    EXPECT_TRUE(PumpUntil([] { return sim::LibraryLevels().size() >= 2; }, 5000));
    EXPECT_EQ(sim::LibraryLevels(), (std::vector<int32_t>{50, 70}));
    EXPECT_EQ(sim::MethodsCalled(), Methods{"PCGB"});
    Post({18});
    EXPECT_EQ(popup_.Commands(), Shown{Show(208, 51)}) << "the count is not changed";
}

TEST_F(CorlaneBrightness, BrightnessChangedTakesTheBIOSLevel) {
    StartAndWaitForTheReading();
    ASSERT_TRUE(sim::SetLevel(20));
    Post({163, 18});
    EXPECT_EQ(sim::MethodsCalled(), (Methods{"ITLV", "SOSD"}));
    EXPECT_EQ(popup_.Commands(), Shown{Show(208, 21)});
}

TEST_F(CorlaneBrightness, MethodCommandsCallTheirMethodAndNothingElse) {
    StartAndWaitForTheReading();
    Post({16, 162, 18});
    EXPECT_EQ(sim::MethodsCalled(), (Methods{"AP00", "TLCD"}));
    EXPECT_EQ(popup_.Commands(), Shown{Show(208, 51)});
}

TEST_F(CorlaneBrightness, CommandsWithAnotherWParamReachNothing) {
    StartAndWaitForTheReading();
    for (LPARAM code : {16, 17, 18, 25, 160, 162, 163})
        PostCommand(dialog_, code, 0x201);
    PumpFor(500);
    EXPECT_TRUE(sim::DriverLog().empty());
    EXPECT_TRUE(popup_.Commands().empty());
    EXPECT_EQ(sim::LibraryLevels(), std::vector<int32_t>{50});
}

TEST_F(CorlaneBrightness, FailingMethodCallsAreSilentAndKeysGoOn) {
    StartAndWaitForTheReading();
    ASSERT_TRUE(sim::FailRequest(sim::CALL_METHOD));
    for (int i = 0; i < 11; ++i)
        PostCommand(dialog_, 18);
    Post({16, 162, 163, 160});
    ASSERT_TRUE(popup_.WaitForCommands(10, 5000));
    PumpFor(300);
    // 60 went to the BIOS, which failed: it is never shown, and no show notification comes.
    Shown expected = UpFrom(51, 59);
    expected.push_back(Show(208, 61));
    EXPECT_EQ(popup_.Commands(), expected);
    EXPECT_EQ(sim::Level(), 50);
    for (const sim::DriverCall& call : sim::DriverLog())
        EXPECT_FALSE(call.Succeeded()) << call.method;
    EXPECT_EQ(sim::LibraryLevels(), (std::vector<int32_t>{50, 50}))
        << "the library step passes on what the last good call left";
    EXPECT_TRUE(NoBoxOpen());
    EXPECT_TRUE(corlane_.Running());
}

class CorlaneBrightnessWithoutLibrary : public CorlaneBrightness {
  protected:
    void SetUp() override {
        CleanState::SetUp();
        ASSERT_TRUE(sim::InstallDriver());
        sim::RemoveLibrary();
    }
};

TEST_F(CorlaneBrightnessWithoutLibrary, OneBoxAndKeysWorkFromTheUnknownLevel) {
    corlane_ = StartCorlane();
    EXPECT_EQ(DismissBox(15000), BOX_NO_LIBRARY);
    EXPECT_EQ(DismissBox(1500), "");
    dialog_ = WaitForDialog(5000);
    ASSERT_NE(dialog_, nullptr);
    EXPECT_TRUE(sim::MethodsCalled().empty()) << "start-up stopped before reading the BIOS";
    // Unknown level: a down step shows 0; an up step goes to the BIOS, whose show
    // notification reads the level but has no direction to show.
    Post({17, 18});
    EXPECT_TRUE(PumpUntil([] { return sim::MethodsCalled().size() >= 2; }, 5000));
    EXPECT_EQ(sim::MethodsCalled(), (Methods{"INBR", "SOSD"}));
    EXPECT_EQ(popup_.Commands(), Shown{Show(224, 0)});
    EXPECT_TRUE(corlane_.Running());
}

// The whole system on the simulated notebook, with the real popup.
class CorlaneOnTheNotebook : public CleanState {
  protected:
    void SetUp() override {
        CleanState::SetUp();
        ASSERT_TRUE(sim::InstallDriver());
        ASSERT_TRUE(sim::InstallLibrary());
    }
};

TEST_F(CorlaneOnTheNotebook, CompleteStartUpLaunchesThePopupAndAKeyStepShowsIt) {
    harness::Process corlane = StartCorlane();
    // The library is handed the level after the popup has been launched and waited for.
    ASSERT_TRUE(PumpUntil([] { return !sim::LibraryLevels().empty(); }, 15000));
    EXPECT_EQ(sim::LibraryLevels(), std::vector<int32_t>{50});
    EXPECT_EQ(harness::ProcessIds("Lumetta.exe").size(), 1u);
    HWND popup = FindWindowA("LUMETTA", "LUMETTA");
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(NoBoxOpen());
    HWND dialog = WaitForDialog(5000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowVisible(popup));
    PostCommand(dialog, 18);
    EXPECT_TRUE(harness::WaitUntil([&] { return IsWindowVisible(popup) != FALSE; }, 5000));
}

} // namespace
