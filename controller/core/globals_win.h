// Corlane's process-wide state, gathered in one place: the dialog and keyboard windows, the
// driver connection, the brightness state with the shared BIOS buffer, the brightness key
// state, the brightness library and the named events. Everything is created at start-up and
// kept until the process ends.
#pragma once

#include <windows.h>

#include "acpi.h"
#include "core/brightness.h"

#include <atomic>
#include <cstdint>

// Windows.
extern HWND gHWND_DIALOG;                // the hidden dialog, set before any worker starts
extern std::atomic<HWND> gHWND_KEYBOARD; // the keyboard program's window, or null

// The driver connection.
extern HANDLE gACPIDriver;     // INVALID_HANDLE_VALUE until OpenACPIDriver succeeds
extern DWORD gLastDriverError; // system error code of the last failed request
extern HANDLE gFenmarEvent;    // "FENMAR EVENT", signalled by the driver

// Brightness state and the shared BIOS output buffer (dialog thread only).
extern BrightnessState gBrightness;
extern BIOSCall gBIOS;

// Brightness key state: written by the raw input reader on the dialog's thread, read by
// KWBRepeatThread and by the show-OSD step.
extern std::atomic<int32_t> KWBHeld;
extern std::atomic<int32_t> KWBLastCode;

// Named events.
extern HANDLE gUnusedEvents[4];    // "C9 EVENT" to "CC EVENT": created, never used
extern HANDLE gKWBBreakEvent;      // "KWB BREAK EVENT"
extern HANDLE gKWBMakeEvent;       // "KWB MAKE EVENT"
extern HANDLE gBritNotChangeEvent; // "BRIT NOTCHANGE EVENT" (manual reset), or null

// The brightness library "BRIGHTNESS.DLL" and its export SetBrightnessLevel (one int32 level,
// C calling convention, result not read).
using SetBrightnessLevelProc = void (*)(int32_t level);
extern HMODULE gBrightnessLibrary;
extern SetBrightnessLevelProc gSetBrightnessLevel; // null until bound

// "<Corlane's folder>\Lumetta.exe", formed once at start-up.
constexpr int POPUP_PATH_SIZE = 256;
extern char PopupPath[POPUP_PATH_SIZE];

// Debug trace: lines are formatted into one 1024-byte buffer and reach the debugger output
// only while gTraceEnabled is set; nothing sets it.
extern bool gTraceEnabled;
void Trace(const char* format, ...);
