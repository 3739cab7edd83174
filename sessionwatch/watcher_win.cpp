#include "watcher_win.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

void* PlatformWatcher::FindWindowTitled(const char* title) {
    return FindWindowA(nullptr, title);
}

std::uint32_t PlatformWatcher::WindowProcessId(void* window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(static_cast<HWND>(window), &processId);
    return processId;
}

void* PlatformWatcher::OpenProcessAllAccess(std::uint32_t processId) {
    return OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId);
}

bool PlatformWatcher::ReadExitCode(void* process, std::uint32_t& code) {
    DWORD read = 0;
    if (!GetExitCodeProcess(process, &read))
        return false;
    code = read;
    return true;
}

void PlatformWatcher::TerminateProcessWith(void* process, std::uint32_t exitCode) {
    TerminateProcess(process, exitCode);
}

void PlatformWatcher::CloseProcess(void* process) {
    CloseHandle(process);
}

void PlatformWatcher::Launch(const char* path) {
    ShellExecuteA(nullptr, "open", path, "", "", SW_SHOW);
}

void PlatformWatcher::Pause(unsigned ms) {
    Sleep(ms);
}

void GetExecuteLocation(char* location, std::size_t size) {
    const DWORD written = GetModuleFileNameA(nullptr, location, static_cast<DWORD>(size));
    if (!ModulePathComplete(written, size)) {
        location[0] = '\0';
        return;
    }
    PathRemoveFileSpecA(location);
}
