// The simulated "BRIGHTNESS.DLL": SetBrightnessLevel (C calling convention, exported
// undecorated) appends each level it receives, with the time, to the levels record
// (sim/records.h). It changes nothing else.
#include "client/records_win.h"
#include "records.h"

#include <windows.h>

#include <cstdint>

extern "C" __declspec(dllexport) void __cdecl SetBrightnessLevel(int32_t level) {
    sim::record::Append(sim::LEVELS_RECORD, {level, sim::record::Now()});
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
