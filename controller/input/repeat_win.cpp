// The key auto-repeat workers: VOL1RepeatThread and VOL2RepeatThread tick their key every
// 30 ms and post its commands to the keyboard program; KWBRepeatThread re-posts the held
// brightness key's command to the dialog.
#include "input/repeat_win.h"

#include "commands.h"
#include "core/framework_win.h"
#include "core/globals_win.h"
#include "input/sources_win.h"

VolumeKey VOL1;
VolumeKey VOL2;

namespace {

constexpr DWORD VOLUME_TICK_MS = 30;

HANDLE gVOL1RepeatThread;
HANDLE gVOL2RepeatThread;
HANDLE gKWBRepeatThread;

// A command for a keyboard program that is not running is lost: posting to a null window
// would queue it on the worker's own thread instead.
void PostToKeyboard(int32_t command) {
    HWND keyboard = gHWND_KEYBOARD.load();
    if (keyboard)
        PostMessageA(keyboard, WM_OSD_COMMAND, OSD_COMMAND_WPARAM, command);
}

DWORD RunVolumeWorker(VolumeKey& key, int32_t held, int32_t released) {
    for (;;) {
        VolumePost post = key.Tick();
        if (post == VolumePost::Held)
            PostToKeyboard(held);
        else if (post == VolumePost::Released)
            PostToKeyboard(released);
        Sleep(VOLUME_TICK_MS);
    }
}

DWORD WINAPI VOL1RepeatThread(void*) {
    return RunVolumeWorker(VOL1, LPARAM_VOL1_HELD, LPARAM_VOL1_RELEASED);
}

DWORD WINAPI VOL2RepeatThread(void*) {
    return RunVolumeWorker(VOL2, LPARAM_VOL2_HELD, LPARAM_VOL2_RELEASED);
}

class PlatformKWB : public KWBRepeatSeam {
  public:
    int32_t KWBHeld() override { return ::KWBHeld.load(); }
    int32_t KWBLastCode() override { return ::KWBLastCode.load(); }
    Wait WaitBreak(uint32_t timeoutMs) override {
        return Result(WaitForSingleObject(gKWBBreakEvent, timeoutMs));
    }
    Wait WaitMake() override { return Result(WaitForSingleObject(gKWBMakeEvent, INFINITE)); }
    void PostToDialog(int32_t command) override {
        PostMessageA(gHWND_DIALOG, WM_OSD_COMMAND, OSD_COMMAND_WPARAM, command);
    }
    void Sleep(uint32_t ms) override { ::Sleep(ms); }

  private:
    static Wait Result(DWORD wait) {
        if (wait == WAIT_OBJECT_0)
            return Wait::Signalled;
        return wait == WAIT_TIMEOUT ? Wait::TimedOut : Wait::Failed;
    }
};

DWORD WINAPI KWBRepeatThread(void*) {
    PlatformKWB seam;
    for (;;)
        KWBRepeatPass(seam);
}

} // namespace

void StartRepeatWorkers() {
    gVOL1RepeatThread = framework::BeginThread(VOL1RepeatThread, nullptr);
    gVOL2RepeatThread = framework::BeginThread(VOL2RepeatThread, nullptr);
    gKWBRepeatThread = framework::BeginThread(KWBRepeatThread, nullptr);
}
