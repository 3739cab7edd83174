#include "client/parts_win.h"

#include "client/files_win.h"
#include "client/records_win.h"
#include "records.h"

#include <tlhelp32.h>

namespace sim::parts {

namespace {

constexpr DWORD KEYBOARD_WAIT_MS = 5000;

bool WaitFor(bool (*condition)(), DWORD timeout_ms) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    while (!condition()) {
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(5);
    }
    return true;
}

BOOL CALLBACK CloseIfKeyboard(HWND hwnd, LPARAM) {
    char cls[64] = {}, title[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    GetWindowTextA(hwnd, title, sizeof title);
    if (lstrcmpA(cls, KEYBOARD_CLASS) == 0 && lstrcmpA(title, KEYBOARD_TITLE) == 0)
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return TRUE;
}

} // namespace

std::vector<DWORD> ProcessesOf(const char* image) {
    std::vector<DWORD> ids;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return ids;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snap, &entry); more; more = Process32Next(snap, &entry))
        if (lstrcmpiA(entry.szExeFile, image) == 0)
            ids.push_back(entry.th32ProcessID);
    CloseHandle(snap);
    return ids;
}

void TerminateAll(const char* image) {
    for (DWORD pid : ProcessesOf(image)) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        if (!process)
            continue;
        TerminateProcess(process, 1);
        WaitForSingleObject(process, KEYBOARD_WAIT_MS);
        CloseHandle(process);
    }
}

std::string InstalledLibraryPath() {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system) + "\\" + LIBRARY_FILE;
}

bool InstallLibrary(const std::string& source) {
    return files::Place(source, InstalledLibraryPath()) && ClearLibraryCalls();
}

bool RemoveLibrary() {
    return files::Remove(InstalledLibraryPath());
}

std::vector<LevelCall> LibraryCalls() {
    std::vector<LevelCall> calls;
    for (const auto& line : record::Read(LEVELS_RECORD))
        if (line.size() == 2)
            calls.push_back({static_cast<int32_t>(line[0]), line[1]});
    return calls;
}

bool ClearLibraryCalls() {
    return record::Clear(LEVELS_RECORD);
}

HWND KeyboardWindow() {
    return FindWindowA(KEYBOARD_CLASS, KEYBOARD_TITLE);
}

bool WaitForKeyboardWindow(DWORD timeout_ms) {
    return WaitFor([] { return KeyboardWindow() != nullptr; }, timeout_ms);
}

bool StartKeyboard(const std::string& exe) {
    std::string line = "\"" + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return WaitForKeyboardWindow(KEYBOARD_WAIT_MS);
}

void CloseKeyboard() {
    EnumWindows(CloseIfKeyboard, 0);
    const auto gone = [] { return ProcessesOf(KEYBOARD_FILE).empty(); };
    if (WaitFor(gone, KEYBOARD_WAIT_MS))
        return;
    TerminateAll(KEYBOARD_FILE);
    WaitFor(gone, KEYBOARD_WAIT_MS);
}

std::vector<KeyboardCall> KeyboardCalls() {
    std::vector<KeyboardCall> calls;
    for (const auto& line : record::Read(KEYBOARD_RECORD))
        if (line.size() == 3)
            calls.push_back(
                {static_cast<uint32_t>(line[0]), static_cast<int32_t>(line[1]), line[2]});
    return calls;
}

bool ClearKeyboardCalls() {
    return record::Clear(KEYBOARD_RECORD);
}

} // namespace sim::parts
