// A popup that stops answering: a window of class and title "LUMETTA" whose thread never
// returns from the first display command it is sent.
#include <windows.h>

namespace {

LRESULT CALLBACK HungProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND)
        Sleep(INFINITE);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HungProc;
    wc.hInstance = instance;
    wc.lpszClassName = "LUMETTA";
    RegisterClassA(&wc);
    CreateWindowExA(0, "LUMETTA", "LUMETTA", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance,
                    nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
