// Helpers shared by the Wine tests: starting and stopping the real programs, waiting for
// conditions with a deadline, and looking at processes and windows the way a peer would.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace harness {

// Folders of the Windows build, in the form the programs see them.
std::string BinDir(); // Corlane.exe, Lumetta.exe, Relaine.exe
std::string SimDir(); // the simulator's parts

// A started child process; the handle is closed (the process is left running) on destruction.
class Process {
  public:
    Process() = default;
    Process(HANDLE handle, DWORD pid) : handle_(handle), pid_(pid) {}
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    bool Started() const { return handle_ != nullptr; }
    DWORD Id() const { return pid_; }
    HANDLE Handle() const { return handle_; }
    // True when the process ended within the time; its exit code goes to *code.
    bool WaitExit(DWORD timeout_ms, DWORD* code = nullptr) const;
    bool Running() const { return WaitExit(0) == false; }
    void Terminate() const;

  private:
    HANDLE handle_ = nullptr;
    DWORD pid_ = 0;
};

// Starts exe (a full path) with the arguments, in cwd (empty: this process's folder).
Process Start(const std::string& exe, const std::string& args = "", const std::string& cwd = "");

// Polls pred every poll_ms until it is true or timeout_ms have passed; returns its last value.
bool WaitUntil(const std::function<bool()>& pred, DWORD timeout_ms, DWORD poll_ms = 5);

// Process ids whose image name equals image without regard to case ("Lumetta.exe").
std::vector<DWORD> ProcessIds(const char* image);
// Terminates every process of that image and waits until none is left (up to 5 s).
void KillAll(const char* image);
// Terminates every program of the system that a test may have left running.
void KillSystem();
// True while Wine's crash handler runs, which means some process crashed.
bool CrashSeen();

HWND WaitForWindow(const char* cls, const char* title, DWORD timeout_ms);
DWORD WindowProcessId(HWND hwnd);

// Milliseconds on the clock that every Wine process shares.
double NowMs();

} // namespace harness
