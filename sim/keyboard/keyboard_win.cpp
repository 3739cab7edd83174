// The simulated keyboard program: a hidden window of class "TTarvikBattForm" titled
// "TarvikKeyboard" that appends every WM_OSD_COMMAND it receives (wParam, lParam, time) to
// the keyboard record (sim/records.h). WM_CLOSE ends it.
#include "client/records_win.h"
#include "records.h"

#include <windows.h>

namespace {

LRESULT CALLBACK KeyboardProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case sim::WM_OSD_COMMAND:
        sim::record::Append(
            sim::KEYBOARD_RECORD,
            {static_cast<int64_t>(wParam), static_cast<int64_t>(lParam), sim::record::Now()});
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = KeyboardProc;
    wc.hInstance = instance;
    wc.lpszClassName = sim::KEYBOARD_CLASS;
    if (!RegisterClassA(&wc))
        return 1;
    HWND hwnd = CreateWindowA(sim::KEYBOARD_CLASS, sim::KEYBOARD_TITLE, WS_OVERLAPPEDWINDOW, 0, 0,
                              200, 100, nullptr, nullptr, instance, nullptr);
    if (!hwnd)
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
