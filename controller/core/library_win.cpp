#include "core/library_win.h"

#include "core/globals_win.h"

bool LoadBrightnessLibrary() {
    gBrightnessLibrary = LoadLibraryA("BRIGHTNESS.DLL");
    return gBrightnessLibrary != nullptr;
}

bool FindSetBrightnessLevel() {
    const FARPROC address = GetProcAddress(gBrightnessLibrary, "SetBrightnessLevel");
    // Through void (*)(), which converts to any function pointer type without a warning.
    gSetBrightnessLevel =
        reinterpret_cast<SetBrightnessLevelProc>(reinterpret_cast<void (*)()>(address));
    return gSetBrightnessLevel != nullptr;
}
