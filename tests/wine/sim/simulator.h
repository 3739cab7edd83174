// The simulated notebook for Wine tests: the ACPI hotkey driver "\\.\VELKACPI" with its BIOS
// model, "BRIGHTNESS.DLL" and the keyboard program, installed into the test prefix from the
// build's simulator folder (harness::SimDir()) and driven from the test.
//
// The driver's BIOS model: a level (50 after install or reset) that "INBR" and "DEBR" step by
// 10 within 0..100, each also queueing notify code 0xD0; "PCGB" and "SOSD" return the level at
// offset 16; "ITLV", "TLCD" and "AP00" return it too and change nothing; other names fail.
// Queued notify codes are handed out oldest first, one per notify-code request, and the event
// the controller assigned is signalled for each code (sim/control.h has the details).
//
// A typical fixture:
//   SetUp:    harness::KillSystem(); ASSERT_TRUE(sim::InstallDriver()); sim::InstallLibrary();
//   TearDown: harness::KillSystem(); sim::RemoveAll();
// Every call returns false (or an empty result) when the simulator part cannot be reached.
#pragma once

#include "harness.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// The product's driver requests, for FailRequest and DriverCall::request.
constexpr uint32_t ASSIGN_EVENT = 0x222400;
constexpr uint32_t CALL_METHOD = 0x222404;
constexpr uint32_t GET_NOTIFY_CODE = 0x222408;
constexpr uint32_t INIT = 0x22240C;

constexpr int32_t INITIAL_LEVEL = 50;
constexpr uint32_t FAIL_ALWAYS = 0xFFFFFFFF;

// --- The driver --------------------------------------------------------------------------
// Copies velkacpi.sys into C:\windows\system32\drivers, creates the kernel service "VELKACPI"
// (demand start) and starts it; a running driver of other bytes is stopped and replaced
// first. Ends with ResetDriver(). True when the device then opens.
bool InstallDriver();
// Starts / stops the installed service; true when the driver then runs / no longer runs.
bool StartDriver();
bool StopDriver();
bool DriverRunning();

// Level 50, no queued codes, no failures, empty log, and no assigned event.
bool ResetDriver();

bool SetLevel(int32_t level); // taken as it is, without clamping
std::optional<int32_t> Level();

// Queues a notify code (any value) and signals the assigned event.
bool QueueNotifyCode(uint32_t code);
// Notify codes waiting to be read.
std::optional<uint32_t> QueuedCount();
// True once a program has assigned its event since the last reset; with the way the driver
// reached it (1: as a user-mode handle, 2: duplicated from the caller) in *path if given.
bool EventAssigned(uint32_t* path = nullptr);
bool WaitForEventAssigned(DWORD timeout_ms);

// The next `times` requests of that code fail (FAIL_ALWAYS: until changed, 0: succeed
// again). A failing notify-code read still consumes the oldest queued code.
bool FailRequest(uint32_t request, uint32_t times = FAIL_ALWAYS);
// The same for the calls of one method ("SOSD").
bool FailMethod(const char* method, uint32_t times = FAIL_ALWAYS);

// One product request as the driver answered it.
struct DriverCall {
    uint32_t request;   // ASSIGN_EVENT, CALL_METHOD, GET_NOTIFY_CODE or INIT
    std::string method; // the method name for CALL_METHOD, else ""
    int32_t result;     // method: the value at offset 16; notify code: the code; else 0
    uint32_t status;    // NTSTATUS: 0 when it succeeded
    DWORD processId;    // the caller
    double timeMs;      // on harness::NowMs()'s clock
    bool Succeeded() const { return status == 0; }
};
std::vector<DriverCall> DriverLog(); // oldest first, up to 512
bool ClearDriverLog();
// The method names of the logged method calls, in order ("SOSD", "INBR", ...).
std::vector<std::string> MethodsCalled();

// --- BRIGHTNESS.DLL ----------------------------------------------------------------------
// Copies the library to C:\windows\system32\BRIGHTNESS.DLL (found by LoadLibraryA from any
// program folder) and clears its record. RemoveLibrary deletes it again (no program may have
// it loaded).
bool InstallLibrary();
bool RemoveLibrary();

struct LibraryCall {
    int32_t level;
    double timeMs;
};
std::vector<LibraryCall> LibraryCalls(); // every SetBrightnessLevel call, in order
std::vector<int32_t> LibraryLevels();    // just the levels
void ClearLibraryCalls();

// --- The keyboard program ----------------------------------------------------------------
// Starts SimKeyboard.exe (window class "TTarvikBattForm", title "TarvikKeyboard") and waits
// for its window; the result has not Started() when it did not come up within 5 s.
harness::Process StartKeyboard();
HWND KeyboardWindow(); // null when it does not run
// Closes every running keyboard program (WM_CLOSE, then termination) and waits until gone.
void CloseKeyboard();

struct KeyboardCommand {
    uint32_t wParam;
    int32_t lParam;
    double timeMs;
};
std::vector<KeyboardCommand> KeyboardCommands(); // every WM_OSD_COMMAND received, in order
std::vector<int32_t> KeyboardCodes();            // just the lParam values
void ClearKeyboardCommands();

// --- Everything --------------------------------------------------------------------------
// Stops the driver, removes the library, closes the keyboard program and clears the records:
// the state in which the product finds no notebook at all.
void RemoveAll();

} // namespace sim
