// Stand-ins for the input sources and the brightness record until their real definitions
// land; this file then goes away.
#include "input/sources_win.h"

void RegisterRawInput(HWND) {}
void StartRepeatWorkers() {}
void StartHotKeyThread(HANDLE*) {}
void StartBrightnessWatcher() {}
HPOWERNOTIFY StartBrightnessRecord(HWND) {
    return nullptr;
}
void ReadRawInput(LPARAM) {}
void OnQueryEndSession() {}
void OnPowerBroadcast(WPARAM, LPARAM) {}
