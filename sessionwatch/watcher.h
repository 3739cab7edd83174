// Relaine's portable rules: the program table, the kill and launch loops with their order,
// pauses and bound, the reaction to session changes, and the forming of launch paths. The
// platform is reached through WatcherSeam only.
#pragma once

#include <cstddef>
#include <cstdint>

struct ProcessEntry {
    const char* ProcessTitle;   // top-level window title searched for, any letter case
    const char* ProcessExeName; // file launched from Relaine's own folder
};

// The order of the table is the order of killing and of launching.
constexpr ProcessEntry PROCESS_TABLE[] = {
    {"Corlane", "Corlane.exe"},
    {"Lumetta", "Lumetta.exe"},
};

constexpr std::size_t PATH_BUFFER_SIZE = 256; // szExecLocation and szExePath
constexpr unsigned KILL_PAUSE_MS = 500;
constexpr unsigned LAUNCH_PAUSE_MS = 1000;
// Kill attempts per table entry. A window whose process cannot be opened or terminated is
// found again after every attempt; after this many attempts the entry is given up and the
// next one is handled.
constexpr int MAX_KILL_ATTEMPTS = 8;

// Session-change codes (wParam of WM_WTSSESSION_CHANGE) that Relaine acts on.
constexpr unsigned WTS_CODE_CONSOLE_CONNECT = 1;
constexpr unsigned WTS_CODE_CONSOLE_DISCONNECT = 2;

constexpr unsigned ERROR_CODE_ALREADY_EXISTS = 183;

class WatcherSeam {
  public:
    virtual ~WatcherSeam() = default;
    // The first top-level window with that title (any letter case), or null.
    virtual void* FindWindowTitled(const char* title) = 0;
    virtual std::uint32_t WindowProcessId(void* window) = 0;
    // The process opened with all access, or null.
    virtual void* OpenProcessAllAccess(std::uint32_t processId) = 0;
    // False when the exit code could not be read; code is then left alone.
    virtual bool ReadExitCode(void* process, std::uint32_t& code) = 0;
    virtual void TerminateProcessWith(void* process, std::uint32_t exitCode) = 0;
    virtual void CloseProcess(void* process) = 0;
    virtual void Launch(const char* path) = 0;
    virtual void Pause(unsigned ms) = 0;
};

// Kills every process owning a window titled after an entry, entry by entry, pausing after
// each kill; at most MAX_KILL_ATTEMPTS attempts per entry.
void SubProcess_Terminate(WatcherSeam& seam);

// Launches every entry from execLocation, pausing after each launch. An entry whose path
// does not fit PATH_BUFFER_SIZE, or an empty execLocation, launches nothing: a cut-off or
// folder-less path would name some other file.
void SubProcess_Restart(WatcherSeam& seam, const char* execLocation);

// What a session change does: console connect kills and restarts, console disconnect kills,
// every other change does nothing.
void OnSessionChange(WatcherSeam& seam, unsigned changeCode, const char* execLocation);

// Joins folder and name with one backslash into exePath (size bytes, zero-terminated). When
// the result does not fit, exePath is left empty and false is returned.
bool FormExePath(const char* folder, const char* name, char* exePath, std::size_t size);

// True when GetModuleFileName's result (the characters written) is a whole path in a buffer
// of size characters; 0 means failure and size means the path was cut off.
bool ModulePathComplete(std::uint32_t written, std::size_t size);

// The single-instance check's answer: true when another instance may run, that is when the
// mutex could not be created or already existed.
bool AnotherInstanceMayRun(bool gotMutex, unsigned lastError);
