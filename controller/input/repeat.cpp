#include "input/repeat.h"

namespace {
constexpr int32_t HOLD_REPEAT_COUNT = 200; // the counter at which a held key repeats
constexpr int32_t COUNT_PER_TICK = 30;
constexpr uint32_t BREAK_WAIT_MS = 30;
constexpr uint32_t AFTER_POST_MS = 30;
constexpr uint32_t PASS_PAUSE_MS = 50;
} // namespace

void VolumeKey::SetState(uint8_t x) {
    prev_ = state_;
    state_ = x;
}

void VolumeKey::Press() {
    std::lock_guard<std::mutex> hold(lock_);
    if (state_ != VOL_PRESSED && state_ != VOL_HELD)
        SetState(VOL_PRESSED);
}

void VolumeKey::Release() {
    std::lock_guard<std::mutex> hold(lock_);
    SetState(VOL_RELEASED);
}

VolumePost VolumeKey::Tick() {
    std::lock_guard<std::mutex> hold(lock_);
    if (state_ == VOL_PRESSED || state_ == VOL_HELD) {
        VolumePost post = VolumePost::None;
        if (prev_ == VOL_IDLE || count_ >= HOLD_REPEAT_COUNT)
            post = VolumePost::Held;
        SetState(VOL_HELD);
        if (count_ <= HOLD_REPEAT_COUNT)
            count_ += COUNT_PER_TICK;
        return post;
    }
    if (state_ == VOL_RELEASED) {
        SetState(VOL_IDLE);
        count_ = 0;
        return VolumePost::Released;
    }
    return VolumePost::None;
}

uint8_t VolumeKey::State() const {
    std::lock_guard<std::mutex> hold(lock_);
    return state_;
}

uint8_t VolumeKey::Prev() const {
    std::lock_guard<std::mutex> hold(lock_);
    return prev_;
}

void KWBRepeatPass(KWBRepeatSeam& seam) {
    KWBRepeatSeam::Wait result =
        seam.KWBHeld() == 1 ? seam.WaitBreak(BREAK_WAIT_MS) : seam.WaitMake();
    if (result == KWBRepeatSeam::Wait::TimedOut) {
        seam.PostToDialog(seam.KWBLastCode());
        seam.Sleep(AFTER_POST_MS);
    }
    seam.Sleep(PASS_PAUSE_MS);
}
