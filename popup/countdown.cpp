#include "countdown.h"

Visibility HideCountdown::Elapse(int32_t waitedMs) {
    int32_t value = ShowCountdown.load();
    if (value > 0) {
        const int32_t left = value - waitedMs;
        if (!ShowCountdown.compare_exchange_strong(value, left))
            return Visibility::Unchanged; // restarted meanwhile: the new command's time runs
        value = left;
    }
    if (value <= 0)
        return Visibility::Hide;
    return waitedMs == STEP_WAIT_MS ? Visibility::Show : Visibility::Unchanged;
}

void HideTimerStep(HideCountdown& countdown, HideTimerPlatform& platform) {
    const int32_t wait = countdown.NextWait();
    switch (platform.WaitForCommand(wait)) {
    case WaitResult::Signalled:
        return;
    case WaitResult::Failed:
        platform.Sleep(wait);
        break;
    case WaitResult::TimedOut:
        break;
    }
    switch (countdown.Elapse(wait)) {
    case Visibility::Show:
        platform.ShowPopup();
        break;
    case Visibility::Hide:
        platform.HidePopup();
        break;
    case Visibility::Unchanged:
        break;
    }
}
