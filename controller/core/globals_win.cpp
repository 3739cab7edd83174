#include "core/globals_win.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

HWND gHWND_DIALOG = nullptr;
std::atomic<HWND> gHWND_KEYBOARD{nullptr};

HANDLE gACPIDriver = INVALID_HANDLE_VALUE;
DWORD gLastDriverError = 0;
HANDLE gFenmarEvent = nullptr;

BrightnessState gBrightness;
BIOSCall gBIOS;

std::atomic<int32_t> KWBHeld{0};
std::atomic<int32_t> KWBLastCode{0};

HANDLE gUnusedEvents[4] = {};
HANDLE gKWBBreakEvent = nullptr;
HANDLE gKWBMakeEvent = nullptr;
HANDLE gBritNotChangeEvent = nullptr;

HMODULE gBrightnessLibrary = nullptr;
SetBrightnessLevelProc gSetBrightnessLevel = nullptr;

char PopupPath[POPUP_PATH_SIZE] = {};

bool gTraceEnabled = false;

namespace {
std::mutex gTraceLock;
char gTraceBuffer[1024];
} // namespace

void Trace(const char* format, ...) {
    if (!gTraceEnabled)
        return;
    std::lock_guard<std::mutex> hold(gTraceLock);
    va_list args;
    va_start(args, format);
    vsnprintf(gTraceBuffer, sizeof gTraceBuffer, format, args);
    va_end(args);
    OutputDebugStringA(gTraceBuffer);
}
