// The hide countdown and the worker round that shows and hides the popup.
#include "countdown.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

// Plays the platform: each wait either times out or is woken by a command, and every call
// is written down.
class ScriptedPlatform : public HideTimerPlatform {
  public:
    explicit ScriptedPlatform(HideCountdown& countdown) : countdown_(countdown) {}
    std::vector<std::string> calls;
    int commandsDue = 0;
    bool failWaits = false;

    WaitResult WaitForCommand(int32_t ms) override {
        calls.push_back("wait " + std::to_string(ms));
        if (failWaits)
            return WaitResult::Failed;
        if (commandsDue > 0) {
            --commandsDue;
            countdown_.Restart();
            return WaitResult::Signalled;
        }
        return WaitResult::TimedOut;
    }
    void Sleep(int32_t ms) override { calls.push_back("sleep " + std::to_string(ms)); }
    void ShowPopup() override { calls.push_back("show at " + std::to_string(countdown_.Value())); }
    void HidePopup() override { calls.push_back("hide at " + std::to_string(countdown_.Value())); }

  private:
    HideCountdown& countdown_;
};

TEST(HideTimer, OneCommandShowsAfterEightyMillisecondsAndHidesAtZero) {
    HideCountdown countdown;
    ScriptedPlatform platform(countdown);
    countdown.Restart();
    for (int i = 0; i < 9; ++i)
        HideTimerStep(countdown, platform);
    const std::vector<std::string> expected = {
        "wait 20",     "wait 60", "show at 420", "wait 60", "show at 360", "wait 60",
        "show at 300", "wait 60", "show at 240", "wait 60", "show at 180", "wait 60",
        "show at 120", "wait 60", "show at 60",  "wait 60", "hide at 0",
    };
    EXPECT_EQ(platform.calls, expected);
}

TEST(HideTimer, IdleWorkerHidesEverySixtyMillisecondsAndStaysAtZero) {
    HideCountdown countdown;
    ScriptedPlatform platform(countdown);
    for (int i = 0; i < 1000; ++i)
        HideTimerStep(countdown, platform);
    EXPECT_EQ(countdown.Value(), 0);
    ASSERT_EQ(platform.calls.size(), 2000u);
    for (size_t i = 0; i < platform.calls.size(); i += 2) {
        ASSERT_EQ(platform.calls[i], "wait 60");
        ASSERT_EQ(platform.calls[i + 1], "hide at 0");
    }
}

TEST(HideTimer, CommandsCloserThanTheShortStepKeepTheWindowHidden) {
    HideCountdown countdown;
    ScriptedPlatform platform(countdown);
    countdown.Restart();
    platform.commandsDue = 5; // each 20 ms wait is cut short by the next command
    for (int i = 0; i < 7; ++i)
        HideTimerStep(countdown, platform);
    const std::vector<std::string> expected = {"wait 20", "wait 20", "wait 20", "wait 20",
                                               "wait 20", "wait 20", "wait 60", "show at 420"};
    EXPECT_EQ(platform.calls, expected);
}

TEST(HideTimer, FailingWaitsSleepInsteadOfSpinningAndStillHide) {
    HideCountdown countdown;
    ScriptedPlatform platform(countdown);
    platform.failWaits = true;
    countdown.Restart();
    for (int i = 0; i < 9; ++i)
        HideTimerStep(countdown, platform);
    ASSERT_EQ(platform.calls.size(), 9u * 2u + 8u);
    EXPECT_EQ(platform.calls[0], "wait 20");
    EXPECT_EQ(platform.calls[1], "sleep 20");
    EXPECT_EQ(platform.calls[2], "wait 60");
    EXPECT_EQ(platform.calls[3], "sleep 60");
    EXPECT_EQ(platform.calls[4], "show at 420");
    EXPECT_EQ(platform.calls.back(), "hide at 0");
}

TEST(HideCountdown, ARestartDuringTheSubtractionIsNeverLost) {
    // The worker counts off while the window thread restarts; whatever the interleaving,
    // the last restart leaves at least the time of one short and one step wait.
    for (int round = 0; round < 200; ++round) {
        HideCountdown countdown;
        countdown.Restart();
        std::thread worker([&] {
            for (int i = 0; i < 200; ++i)
                countdown.Elapse(60);
        });
        for (int i = 0; i < 200; ++i)
            countdown.Restart();
        countdown.Restart();
        const int32_t afterLastRestart = countdown.Value();
        worker.join();
        ASSERT_GE(afterLastRestart, 500 - 60);
        ASSERT_TRUE(countdown.Value() == 500 || countdown.Value() <= 440);
    }
}

TEST(HideCountdown, ElapseLeavesAnExpiredCountdownAlone) {
    HideCountdown countdown;
    EXPECT_EQ(countdown.Elapse(60), Visibility::Hide);
    EXPECT_EQ(countdown.Value(), 0);
    countdown.Restart();
    EXPECT_EQ(countdown.NextWait(), 20);
    EXPECT_EQ(countdown.Elapse(20), Visibility::Unchanged); // no show after the short wait
    EXPECT_EQ(countdown.Value(), 480);
    EXPECT_EQ(countdown.NextWait(), 60);
}

} // namespace
