// The interactive demo: a small window with a button for each key and power or session event.
// What each press sets off is written to the log about every half second.
#include "notebook_win.h"
#include "run_win.h"

#include "client/driver_win.h"

namespace demo {
namespace {

constexpr const char* PANEL_CLASS = "NotebookDemoButtons";
constexpr UINT_PTR FLUSH_TIMER = 1;
constexpr UINT_PTR RELEASE_TIMER = 2;
constexpr UINT FLUSH_MS = 500;
constexpr UINT HOLD_MS = 1000;
constexpr int BUTTON_WIDTH = 220;
constexpr int BUTTON_HEIGHT = 28;

enum Action {
    BRIGHTNESS_UP = 100,
    BRIGHTNESS_DOWN,
    PANEL_KEY,
    VOLUME_UP_HELD,
    VOLUME_DOWN_HELD,
    MUTE,
    SET_BRIGHTNESS,
    SLEEP,
    RESUME,
    DISPLAY_CHANGE,
    CONSOLE_DISCONNECT,
    CONSOLE_CONNECT,
};

const struct {
    Action action;
    const char* label;
} BUTTONS[] = {
    {BRIGHTNESS_UP, "Brightness up"},
    {BRIGHTNESS_DOWN, "Brightness down"},
    {PANEL_KEY, "Panel key"},
    {VOLUME_UP_HELD, "Volume up (held 1 s)"},
    {VOLUME_DOWN_HELD, "Volume down (held 1 s)"},
    {MUTE, "Mute"},
    {SET_BRIGHTNESS, "Set-brightness"},
    {SLEEP, "Sleep"},
    {RESUME, "Resume"},
    {DISPLAY_CHANGE, "Display change"},
    {CONSOLE_DISCONNECT, "Console disconnect"},
    {CONSOLE_CONNECT, "Console connect"},
};

Run* gRun = nullptr;
uint32_t gPendingRelease = 0;

void HoldVolumeKey(HWND hwnd, uint32_t press, const char* key) {
    gRun->RaiseNotifyCode(press, key);
    gPendingRelease = press + 1; // each key's release code follows its press code
    SetTimer(hwnd, RELEASE_TIMER, HOLD_MS, nullptr);
}

void SendPower(WPARAM event, const char* what) {
    gRun->Event(std::string(what) + ": WM_POWERBROADCAST to \"Corlane\"");
    DWORD_PTR result = 0;
    SendMessageTimeoutA(CorlaneWindow(), WM_POWERBROADCAST, event, 0, SMTO_NORMAL, 5000, &result);
}

void PostSession(WPARAM code, const char* what) {
    gRun->Event(std::string(what) + ": WM_WTSSESSION_CHANGE to Relaine");
    PostMessageA(RelaineWindow(), WM_WTSSESSION_CHANGE, code, 1);
}

void Perform(HWND hwnd, int action) {
    switch (action) {
    case BRIGHTNESS_UP:
        return gRun->PostCommand(18, "brightness up");
    case BRIGHTNESS_DOWN:
        return gRun->PostCommand(17, "brightness down");
    case PANEL_KEY:
        return gRun->PostCommand(162, "the panel key");
    case VOLUME_UP_HELD:
        return HoldVolumeKey(hwnd, 0xD1, "volume up");
    case VOLUME_DOWN_HELD:
        return HoldVolumeKey(hwnd, 0xD3, "volume down");
    case MUTE:
        return gRun->RaiseNotifyCode(0xC4, "mute");
    case SET_BRIGHTNESS:
        return gRun->RaiseNotifyCode(0xD9, "set-brightness");
    case SLEEP:
        return SendPower(PBT_APMSUSPEND, "sleep");
    case RESUME:
        return SendPower(PBT_APMRESUMEAUTOMATIC, "resume");
    case DISPLAY_CHANGE:
        gRun->Event("display change: WM_DISPLAYCHANGE to \"Corlane\"");
        PostMessageA(CorlaneWindow(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1920, 1080));
        return;
    case CONSOLE_DISCONNECT:
        return PostSession(WTS_CONSOLE_DISCONNECT, "console disconnect");
    case CONSOLE_CONNECT:
        return PostSession(WTS_CONSOLE_CONNECT, "console connect");
    default:
        return;
    }
}

void OnTimer(HWND hwnd, UINT_PTR timer) {
    if (timer == FLUSH_TIMER) {
        gRun->Flush();
        return;
    }
    KillTimer(hwnd, RELEASE_TIMER);
    gRun->RaiseNotifyCode(gPendingRelease, "release of the volume key");
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        Perform(hwnd, LOWORD(wParam));
        return 0;
    case WM_TIMER:
        OnTimer(hwnd, wParam);
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd, FLUSH_TIMER);
        KillTimer(hwnd, RELEASE_TIMER);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

HWND CreatePanel() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = PANEL_CLASS;
    RegisterClassA(&wc);
    const int count = static_cast<int>(sizeof BUTTONS / sizeof BUTTONS[0]);
    RECT frame = {0, 0, BUTTON_WIDTH + 20, count * (BUTTON_HEIGHT + 4) + 16};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND hwnd = CreateWindowExA(0, PANEL_CLASS, "Notebook keys", WS_OVERLAPPEDWINDOW, 40, 40,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                nullptr, wc.hInstance, nullptr);
    for (int i = 0; i < count; ++i)
        CreateWindowExA(0, "BUTTON", BUTTONS[i].label, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10,
                        8 + i * (BUTTON_HEIGHT + 4), BUTTON_WIDTH, BUTTON_HEIGHT, hwnd,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(BUTTONS[i].action)),
                        wc.hInstance, nullptr);
    SetTimer(hwnd, FLUSH_TIMER, FLUSH_MS, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

} // namespace

void RunInteractive(Run& run) {
    gRun = &run;
    run.BeginStep("interactive: press the buttons and watch the OSD; close the window to end");
    CreatePanel();
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    UnregisterClassA(PANEL_CLASS, GetModuleHandleA(nullptr));
    run.EndStep();
    gRun = nullptr;
}

} // namespace demo
