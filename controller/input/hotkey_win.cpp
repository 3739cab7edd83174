// HotKeyThread: one notify code from the driver per signal of "FENMAR EVENT", acted on by
// the notify-code table.
#include "input/hotkey.h"

#include "commands.h"
#include "core/framework_win.h"
#include "core/globals_win.h"
#include "input/acpi_win.h"
#include "input/repeat_win.h"
#include "input/sources_win.h"

namespace {

constexpr int START_HIDES = 10;
constexpr DWORD START_HIDE_MS = 50;

HANDLE gHotKeyThread;
DWORD gHotKeyThreadId;

class PlatformHotKey : public HotKeySeam {
  public:
    bool WaitForNotification() override {
        return WaitForSingleObject(gFenmarEvent, INFINITE) == WAIT_OBJECT_0;
    }
    bool GetNotifyCode(uint32_t& code) override { return ::GetNotifyCode(code); }
    void ShowNotifyCodeFailure() override {
        framework::ShowMessage("IOCTL_OSTREL_ACPI_GET_NOTIFY_CODE fail", 0);
    }
    void FindKeyboardWindow() override {
        gHWND_KEYBOARD = FindWindowA("TTarvikBattForm", "TarvikKeyboard");
    }
    void PostToDialog(int32_t command) override {
        PostMessageA(gHWND_DIALOG, WM_OSD_COMMAND, OSD_COMMAND_WPARAM, command);
    }
    // Without the keyboard program the command is lost (a null window would queue it here).
    void PostToKeyboard(int32_t command) override {
        HWND keyboard = gHWND_KEYBOARD.load();
        if (keyboard)
            PostMessageA(keyboard, WM_OSD_COMMAND, OSD_COMMAND_WPARAM, command);
    }
    void Trace(const char* line) override { ::Trace("%s", line); }
    void TraceNotifyCode(uint32_t code) override {
        ::Trace("[HotKeyThread] NotifyCode = 0x%X", static_cast<unsigned>(code));
    }
};

// Keeps the dialog hidden for about half a second after start-up.
void HideDialogRepeatedly() {
    HWND dialog = FindWindowA(nullptr, "Corlane");
    gHWND_KEYBOARD = dialog;
    for (int i = 0; i < START_HIDES; ++i) {
        ShowWindow(dialog, SW_HIDE);
        Sleep(START_HIDE_MS);
    }
}

DWORD WINAPI HotKeyThread(void*) {
    HideDialogRepeatedly();
    PlatformHotKey seam;
    while (HotKeyPass(VOL1, VOL2, seam)) {
    }
    return 0;
}

} // namespace

void StartHotKeyThread(HANDLE* fenmarEvent) {
    gHotKeyThread = CreateThread(nullptr, 0, HotKeyThread, fenmarEvent, 0, &gHotKeyThreadId);
}
