// A test program with one hidden top-level window titled with its command line, for an
// unrelated program whose window Relaine takes for one of the system's ("corlane").
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = "RelaineTestWindow";
    RegisterClassA(&wc);
    CreateWindowA(wc.lpszClassName, commandLine, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                  nullptr, instance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
