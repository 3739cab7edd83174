#include "watcher.h"

#include <cstring>

namespace {

// Kills the owner of one found window: open, read the exit code, terminate with it, pause,
// close. exitCode keeps its value when it cannot be read.
void KillWindowOwner(WatcherSeam& seam, void* window, std::uint32_t& exitCode) {
    void* process = seam.OpenProcessAllAccess(seam.WindowProcessId(window));
    if (process) {
        seam.ReadExitCode(process, exitCode);
        seam.TerminateProcessWith(process, exitCode);
    }
    seam.Pause(KILL_PAUSE_MS);
    if (process)
        seam.CloseProcess(process);
}

void TerminateEntry(WatcherSeam& seam, const ProcessEntry& entry, std::uint32_t& exitCode) {
    int attempts = 0;
    for (void* window = seam.FindWindowTitled(entry.ProcessTitle);
         window && attempts < MAX_KILL_ATTEMPTS;
         window = seam.FindWindowTitled(entry.ProcessTitle), ++attempts)
        KillWindowOwner(seam, window, exitCode);
}

} // namespace

void SubProcess_Terminate(WatcherSeam& seam) {
    std::uint32_t exitCode = 0;
    for (const ProcessEntry& entry : PROCESS_TABLE)
        TerminateEntry(seam, entry, exitCode);
}

void SubProcess_Restart(WatcherSeam& seam, const char* execLocation) {
    for (const ProcessEntry& entry : PROCESS_TABLE) {
        char szExePath[PATH_BUFFER_SIZE];
        if (!FormExePath(execLocation, entry.ProcessExeName, szExePath, sizeof szExePath))
            continue;
        seam.Launch(szExePath);
        seam.Pause(LAUNCH_PAUSE_MS);
    }
}

void OnSessionChange(WatcherSeam& seam, unsigned changeCode, const char* execLocation) {
    if (changeCode == WTS_CODE_CONSOLE_CONNECT) {
        SubProcess_Terminate(seam);
        SubProcess_Restart(seam, execLocation);
    } else if (changeCode == WTS_CODE_CONSOLE_DISCONNECT) {
        SubProcess_Terminate(seam);
    }
}

bool FormExePath(const char* folder, const char* name, char* exePath, std::size_t size) {
    exePath[0] = '\0';
    const std::size_t folderLength = std::strlen(folder);
    if (folderLength == 0)
        return false;
    const bool hasBackslash = folder[folderLength - 1] == '\\';
    const std::size_t joined = folderLength + (hasBackslash ? 0 : 1) + std::strlen(name);
    if (joined + 1 > size)
        return false;
    std::memcpy(exePath, folder, folderLength);
    std::size_t at = folderLength;
    if (!hasBackslash)
        exePath[at++] = '\\';
    std::memcpy(exePath + at, name, std::strlen(name) + 1);
    return true;
}

bool ModulePathComplete(std::uint32_t written, std::size_t size) {
    return written > 0 && written < size;
}

bool AnotherInstanceMayRun(bool gotMutex, unsigned lastError) {
    return !gotMutex || lastError == ERROR_CODE_ALREADY_EXISTS;
}
