// A test program with one hidden top-level window. Started with an argument, the window is
// titled with it ("corlane": an unrelated program whose title Relaine matches). Started
// without one, it is titled after its own file name and runs once per title, so that a copy
// named "Lumetta.exe" stands in for the popup until that program is built.
#include <windows.h>

#include <string>

namespace {

std::string OwnBaseName() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name = path;
    name = name.substr(name.find_last_of('\\') + 1);
    return name.substr(0, name.find_last_of('.'));
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    std::string title = commandLine;
    if (title.empty()) {
        title = OwnBaseName();
        CreateMutexA(nullptr, FALSE, ("relaine test window " + title).c_str());
        if (GetLastError() == ERROR_ALREADY_EXISTS)
            return 0;
    }
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = "RelaineTestWindow";
    RegisterClassA(&wc);
    CreateWindowA(wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                  nullptr, instance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
