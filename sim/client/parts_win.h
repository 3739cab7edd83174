// The simulated brightness library and keyboard program as the tools place, start and read
// them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sim::parts {

constexpr const char* LIBRARY_FILE = "BRIGHTNESS.DLL";
constexpr const char* KEYBOARD_FILE = "SimKeyboard.exe";
constexpr const char* DRIVER_FILE = "velkacpi.sys";

// C:\windows\system32\BRIGHTNESS.DLL, where LoadLibraryA finds it from any program folder.
std::string InstalledLibraryPath();
// Copies the library from source and clears its record.
bool InstallLibrary(const std::string& source);
bool RemoveLibrary();

struct LevelCall {
    int32_t level;
    int64_t counter; // QueryPerformanceCounter
};
std::vector<LevelCall> LibraryCalls();
bool ClearLibraryCalls();

// Process ids whose image name equals image without regard to case ("SimKeyboard.exe").
std::vector<DWORD> ProcessesOf(const char* image);
// Terminates each of them and waits up to 5 s for each to end.
void TerminateAll(const char* image);

HWND KeyboardWindow();
// Starts the keyboard program without waiting; true when its window came up within 5 s.
bool StartKeyboard(const std::string& exe);
bool WaitForKeyboardWindow(DWORD timeout_ms);
// WM_CLOSE to every keyboard window, then terminates what is left of SimKeyboard.exe.
void CloseKeyboard();

struct KeyboardCall {
    uint32_t wParam;
    int32_t lParam;
    int64_t counter; // QueryPerformanceCounter
};
std::vector<KeyboardCall> KeyboardCalls();
bool ClearKeyboardCalls();

} // namespace sim::parts
