// The demo's view of the simulated notebook: installing and starting the system, the windows
// it looks up, what reached the simulated driver, library and keyboard program, and what the
// popup shows on screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

constexpr const char* INSTALL_FOLDER = "C:\\Program Files\\Notebook Hotkeys";
constexpr const char* RECORD_FILE = "C:\\ProgramData\\Brightness.ini";
constexpr const char* PROGRAMS[] = {"Corlane.exe", "Lumetta.exe", "Relaine.exe"};

// --- Setting up and stopping -------------------------------------------------------------
// Loads the driver, places BRIGHTNESS.DLL in system32, installs the three programs into
// INSTALL_FOLDER and starts the keyboard program. Describes what failed in *why.
bool InstallNotebook(std::string* why);
// Starts Relaine from INSTALL_FOLDER (its working folder too).
bool StartRelaine();
// Ends the programs of the system, the keyboard program and the driver.
void StopEverything();
// True while Wine's crash handler runs, which means some program crashed.
bool CrashSeen();

HWND CorlaneWindow();
HWND LumettaWindow();
HWND RelaineWindow();
DWORD WindowProcess(HWND hwnd);

// Waits for pred, answering this thread's window messages meanwhile.
template <typename Pred> bool WaitFor(Pred pred, DWORD timeout_ms);
void Pump(DWORD ms);

// --- What happened -----------------------------------------------------------------------
struct Event {
    int64_t counter; // QueryPerformanceCounter
    std::string text;
};
// The driver's, the library's and the keyboard program's records since they were last
// cleared, as readable events; then clears them.
std::vector<Event> TakeRecords();
void ClearRecords();
// The method calls in the driver's log so far (name and result), without clearing it.
std::vector<std::pair<std::string, int32_t>> MethodsSoFar();
std::vector<uint32_t> NotifyCodesReadSoFar();
// What the record file holds: its 4-byte values, empty when it does not exist.
std::vector<int32_t> RecordValues(bool* exists);

// --- The screen --------------------------------------------------------------------------
struct Screenshot {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels; // 0x00RRGGBB, top row first
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};
Screenshot CaptureScreen();
bool SaveBitmap(const Screenshot& shot, const std::string& path);

// A plain window over the whole screen, below the popup, so that the popup's see-through
// pixels show a known colour.
class Desktop {
  public:
    Desktop();
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

  private:
    HBRUSH brush_;
    HWND hwnd_;
};
constexpr uint32_t DESKTOP_COLOUR = 0x283C50; // 0x00RRGGBB

enum class Picture { None, LongRays, ShortRays };
struct Frame {
    bool caption;
    Picture picture;
    int segments; // lit segments of the level bar
};
// Reads the popup's band of the screenshot; rect is the popup's window rectangle.
Frame ReadFrame(const Screenshot& shot, const RECT& rect);
std::string Describe(const Frame& frame);

template <typename Pred> bool WaitFor(Pred pred, DWORD timeout_ms) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    for (;;) {
        if (pred())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        Pump(5);
    }
}

} // namespace demo
