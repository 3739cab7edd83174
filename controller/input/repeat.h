// The key auto-repeat: the state machine of each volume key (pressed and released by the
// hotkey thread, ticked by its worker) and one pass of the brightness key repeat worker.
#pragma once

#include <cstdint>
#include <mutex>

enum : uint8_t {
    VOL_RELEASED = 0,
    VOL_PRESSED = 1,
    VOL_HELD = 2,
    VOL_IDLE = 0xFF,
};

// What a tick of a volume key asks its worker to post.
enum class VolumePost { None, Held, Released };

// One volume key: VOLnState, VOLnPrev and VOLnCount. The hotkey thread and the key's worker
// both read and change the state pair; each of those read-and-change steps runs under the
// key's lock, so no press or release is overwritten by a tick.
class VolumeKey {
  public:
    // Press code: from idle or released to pressed; a pressed or held key stays.
    void Press();
    // Release code: to released from any state.
    void Release();
    // One 30 ms tick of the worker.
    VolumePost Tick();

    uint8_t State() const;
    uint8_t Prev() const;
    int32_t Count() const { return count_; } // touched only by the worker

  private:
    // VOLnPrev := VOLnState, then VOLnState := x; called with the lock held.
    void SetState(uint8_t x);

    mutable std::mutex lock_;
    uint8_t state_ = VOL_IDLE;
    uint8_t prev_ = VOL_IDLE;
    int32_t count_ = 0;
};

// What the brightness repeat worker needs from the platform.
class KWBRepeatSeam {
  public:
    enum class Wait { Signalled, TimedOut, Failed };

    virtual ~KWBRepeatSeam() = default;
    virtual int32_t KWBHeld() = 0;
    virtual int32_t KWBLastCode() = 0;
    virtual Wait WaitBreak(uint32_t timeoutMs) = 0; // "KWB BREAK EVENT"
    virtual Wait WaitMake() = 0;                    // "KWB MAKE EVENT", no time limit
    virtual void PostToDialog(int32_t command) = 0;
    virtual void Sleep(uint32_t ms) = 0;
};

// One pass of KWBRepeatThread: while a key is held, re-post the last brightness command each
// time the break does not come within 30 ms; otherwise wait for the next make.
void KWBRepeatPass(KWBRepeatSeam& seam);
