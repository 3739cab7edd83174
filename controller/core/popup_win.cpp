#include "core/popup_win.h"

#include <windows.h>

#include <shellapi.h>
#include <tlhelp32.h>

#include "core/globals_win.h"
#include "core/popup_launch.h"

namespace {

constexpr UINT POPUP_ANSWER_MS = 1000; // how long a display command waits for the popup

// A popup path that could not be formed launches nothing.
void LaunchPopup() {
    if (PopupPath[0] != '\0')
        ShellExecuteA(nullptr, "open", PopupPath, "", "", SW_HIDE);
}

HWND FindPopupWindow() {
    return FindWindowA(POPUP_WINDOW_CLASS, POPUP_WINDOW_TITLE);
}

void TerminateProcessById(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId);
    if (!process)
        return;
    DWORD exitCode = 0;
    GetExitCodeProcess(process, &exitCode);
    TerminateProcess(process, exitCode);
    CloseHandle(process);
}

void TerminateFirstPopupProcess() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (IsPopupImage(entry.szExeFile)) {
            TerminateProcessById(entry.th32ProcessID);
            break;
        }
    }
    CloseHandle(snapshot);
}

} // namespace

void EnsurePopupRuns() {
    char module[POPUP_PATH_SIZE] = {};
    // A cut-off program path would name a wrong folder: then no popup path is formed.
    if (GetModuleFileNameA(nullptr, module, sizeof module) < sizeof module)
        FormPopupPath(module, PopupPath, sizeof PopupPath);
    if (FindPopupWindow() || PopupPath[0] == '\0')
        return;
    LaunchPopup();
    Sleep(2000);
}

void RestartPopup() {
    TerminateFirstPopupProcess();
    Sleep(500);
    LaunchPopup();
}

int NotifyPopup(int id, int32_t level) {
    HWND popup = FindPopupWindow();
    if (popup) {
        const uint32_t wParam = PopupCommandWParam(id, level);
        HWND child = GetDlgItem(popup, static_cast<int>(wParam & 0xFFFF));
        // Synchronous, as the popup expects; but a popup that stops answering must not stop
        // the controller with it, so the wait is bounded and skipped once it counts as hung.
        DWORD_PTR result = 0;
        SendMessageTimeoutA(popup, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(child),
                            SMTO_NORMAL | SMTO_ABORTIFHUNG, POPUP_ANSWER_MS, &result);
    }
    return 1;
}
