// A stand-in "BRIGHTNESS.DLL" for the controller's tests without the simulated notebook: each
// level SetBrightnessLevel receives is appended as a line to C:\corlane-test\levels.txt.
#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllexport) void SetBrightnessLevel(int level) {
    HANDLE file = CreateFileA("C:\\corlane-test\\levels.txt", FILE_APPEND_DATA, FILE_SHARE_READ,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    char line[16];
    const int length = std::snprintf(line, sizeof line, "%d\n", level);
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
