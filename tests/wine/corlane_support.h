// What the controller's Wine tests share: starting Corlane from a known working folder,
// finding its dialog, answering its message boxes, and a stand-in popup window that records
// the display commands Corlane sends it.
#pragma once

#include "harness.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace corlane {

constexpr const char* BOX_TITLE = "Notebook Hotkeys";
constexpr const char* DIALOG_TITLE = "Corlane";

constexpr const char* BOX_NO_DRIVER = "Can't Open ACPI kernel Mode Driver";
constexpr const char* BOX_ASSIGN_FAILED = "IOCTL_OSTRELEC_ASSIGN_EVENT fail";
constexpr const char* BOX_NO_LIBRARY = "Can't Load BRIGHTNESS.DLL For Brightness Control!";
constexpr const char* BOX_NO_EXPORT = "Can't Get ProcAddress for Brightness Control!";

// The folder Corlane runs in; its record file lands three levels up, in RecordPath().
std::string WorkFolder();
std::string RecordPath();
void MakeWorkFolder();

harness::Process StartCorlane();
HWND FindDialog();
HWND WaitForDialog(DWORD timeout_ms);

// Waits for the next message box of the controller, returns its text and presses OK.
// Returns "" when none came within the time.
std::string DismissBox(DWORD timeout_ms);
// True when no message box of the controller is open.
bool NoBoxOpen();

// Polls like harness::WaitUntil while answering messages sent to this thread's windows.
bool PumpUntil(const std::function<bool()>& pred, DWORD timeout_ms);
// Pumps this thread's messages for the time.
void PumpFor(DWORD ms);

void PostCommand(HWND dialog, LPARAM code, WPARAM wParam = 0x200);

// A window of class and title "LUMETTA" in the test process: Corlane takes it for the popup.
class PopupRecorder {
  public:
    PopupRecorder();
    ~PopupRecorder();
    PopupRecorder(const PopupRecorder&) = delete;
    PopupRecorder& operator=(const PopupRecorder&) = delete;

    // Each WM_COMMAND wParam as "<id> <level>", in arrival order.
    const std::vector<std::string>& Commands() const;
    // Pumps until count commands have arrived.
    bool WaitForCommands(size_t count, DWORD timeout_ms);

  private:
    HWND hwnd_;
};

// Starts and ends every test with no program of the system running, no simulated notebook
// and no record file.
class CleanState : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
};

std::string Show(int id, int level);

} // namespace corlane
