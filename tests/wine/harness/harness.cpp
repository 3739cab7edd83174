#include "harness.h"

#include "client/parts_win.h"

#include <utility>

namespace harness {

#ifndef HARNESS_BIN_DIR
#error HARNESS_BIN_DIR must name the program folder of the Windows build
#endif

std::string BinDir() {
    return HARNESS_BIN_DIR;
}
std::string SimDir() {
    return HARNESS_SIM_DIR;
}

Process::Process(Process&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), pid_(std::exchange(other.pid_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        if (handle_)
            CloseHandle(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
        pid_ = std::exchange(other.pid_, 0);
    }
    return *this;
}

Process::~Process() {
    if (handle_)
        CloseHandle(handle_);
}

bool Process::WaitExit(DWORD timeout_ms, DWORD* code) const {
    if (!handle_ || WaitForSingleObject(handle_, timeout_ms) != WAIT_OBJECT_0)
        return false;
    if (code)
        GetExitCodeProcess(handle_, code);
    return true;
}

void Process::Terminate() const {
    if (handle_ && TerminateProcess(handle_, 1))
        WaitForSingleObject(handle_, 5000);
}

Process Start(const std::string& exe, const std::string& args, const std::string& cwd) {
    std::string line = "\"" + exe + "\"";
    if (!args.empty())
        line += " " + args;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        cwd.empty() ? nullptr : cwd.c_str(), &si, &pi))
        return Process();
    CloseHandle(pi.hThread);
    return Process(pi.hProcess, pi.dwProcessId);
}

bool WaitUntil(const std::function<bool()>& pred, DWORD timeout_ms, DWORD poll_ms) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    for (;;) {
        if (pred())
            return true;
        if (GetTickCount64() >= deadline)
            return pred();
        Sleep(poll_ms);
    }
}

// The simulator's client already looks processes up and ends them; the tests use the same.
std::vector<DWORD> ProcessIds(const char* image) {
    return sim::parts::ProcessesOf(image);
}

void KillAll(const char* image) {
    sim::parts::TerminateAll(image);
    WaitUntil([image] { return ProcessIds(image).empty(); }, 5000);
}

void KillSystem() {
    for (const char* image : {"Relaine.exe", "Corlane.exe", "Lumetta.exe"})
        KillAll(image);
}

bool CrashSeen() {
    return !ProcessIds("winedbg.exe").empty();
}

HWND WaitForWindow(const char* cls, const char* title, DWORD timeout_ms) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowA(cls, title)) != nullptr; }, timeout_ms);
    return found;
}

DWORD WindowProcessId(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

double NowMs() {
    LARGE_INTEGER now, freq;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&freq);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

} // namespace harness
