// The hotkey notification thread's work for one signal of "FENMAR EVENT": read one notify
// code from the driver, look up the keyboard program's window, act on the code.
#pragma once

#include "input/repeat.h"

#include <cstdint>

class HotKeySeam {
  public:
    virtual ~HotKeySeam() = default;
    // Waits on "FENMAR EVENT" without time limit; false when the wait itself failed.
    virtual bool WaitForNotification() = 0;
    // IOCTL_OSTREL_ACPI_GET_NOTIFY_CODE; false when the request failed.
    virtual bool GetNotifyCode(uint32_t& code) = 0;
    // Modal "IOCTL_OSTREL_ACPI_GET_NOTIFY_CODE fail"; returns when the user closed it.
    virtual void ShowNotifyCodeFailure() = 0;
    // Looks up the keyboard program's window into gHWND_KEYBOARD (null when it is absent).
    virtual void FindKeyboardWindow() = 0;
    virtual void PostToDialog(int32_t command) = 0;
    virtual void PostToKeyboard(int32_t command) = 0;
    virtual void Trace(const char* line) = 0;
    virtual void TraceNotifyCode(uint32_t code) = 0; // "[HotKeyThread] NotifyCode = 0x%X"
};

// Acts on one notify code by the table; codes not listed do nothing.
void ActOnNotifyCode(uint32_t code, VolumeKey& vol1, VolumeKey& vol2, HotKeySeam& seam);

// One wake-up of HotKeyThread. Returns false when the wait on "FENMAR EVENT" failed: such a
// wait fails again at once every time (the event handle never changes), so the thread then
// ends instead of asking the driver or showing a box in a tight loop.
bool HotKeyPass(VolumeKey& vol1, VolumeKey& vol2, HotKeySeam& seam);
