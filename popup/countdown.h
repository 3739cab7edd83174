// The popup's hide countdown and one round of the worker that shows and hides the window:
// a display command restarts 500 ms; the worker waits 20 ms once, then 60 ms steps, shows the
// window after each 60 ms step while time is left and hides it when the time is up.
#pragma once

#include <atomic>
#include <cstdint>

enum class Visibility { Unchanged, Show, Hide };

class HideCountdown {
  public:
    static constexpr int32_t SHOW_MS = 500;
    static constexpr int32_t FIRST_WAIT_MS = 20;
    static constexpr int32_t STEP_WAIT_MS = 60;

    // A display command: the full time again.
    void Restart() { ShowCountdown.store(SHOW_MS); }
    int32_t Value() const { return ShowCountdown.load(); }
    int32_t NextWait() const { return Value() == SHOW_MS ? FIRST_WAIT_MS : STEP_WAIT_MS; }
    // A wait of waitedMs ran out without a command: count it off and say what the window
    // should do. A restart that lands while the time is being counted off wins.
    Visibility Elapse(int32_t waitedMs);

  private:
    std::atomic<int32_t> ShowCountdown{0};
};

enum class WaitResult { Signalled, TimedOut, Failed };

// The worker's view of the platform.
class HideTimerPlatform {
  public:
    virtual ~HideTimerPlatform() = default;
    virtual WaitResult WaitForCommand(int32_t ms) = 0; // "OSD EVENT"
    virtual void Sleep(int32_t ms) = 0;
    virtual void ShowPopup() = 0;
    virtual void HidePopup() = 0;
};

// One round of the worker. A wait that fails (or an event that could not be made) is
// replaced by a plain sleep of the same length, so the worker never spins and the window
// still shows and hides on time.
void HideTimerStep(HideCountdown& countdown, HideTimerPlatform& platform);
