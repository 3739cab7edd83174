// A stand-in "BRIGHTNESS.DLL" that lacks the SetBrightnessLevel export.
#include <windows.h>

extern "C" __declspec(dllexport) int GetBrightnessLevel() {
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
