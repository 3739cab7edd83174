#include "simulator.h"

#include "client/driver_win.h"
#include "client/parts_win.h"
#include "client/records_win.h"

namespace sim {

namespace {

constexpr DWORD KEYBOARD_WAIT_MS = 5000;

std::string Part(const char* file) {
    return harness::SimDir() + "\\" + file;
}

} // namespace

bool InstallDriver() {
    return driver::Install(Part(parts::DRIVER_FILE));
}
bool StartDriver() {
    return driver::Start();
}
bool StopDriver() {
    return driver::Stop();
}
bool DriverRunning() {
    return driver::Running();
}
bool ResetDriver() {
    return driver::Reset();
}

bool SetLevel(int32_t level) {
    return driver::SetLevel(level);
}

std::optional<int32_t> Level() {
    const auto status = driver::Status();
    if (!status)
        return std::nullopt;
    return status->level;
}

bool QueueNotifyCode(uint32_t code) {
    return driver::QueueNotifyCode(code);
}

std::optional<uint32_t> QueuedCount() {
    const auto status = driver::Status();
    if (!status)
        return std::nullopt;
    return status->queued;
}

bool EventAssigned(uint32_t* path) {
    const auto status = driver::Status();
    if (!status || status->assignCount == 0)
        return false;
    if (path)
        *path = status->eventPath;
    return true;
}

bool WaitForEventAssigned(DWORD timeout_ms) {
    return harness::WaitUntil([] { return EventAssigned(); }, timeout_ms);
}

bool FailRequest(uint32_t request, uint32_t times) {
    return driver::SetFailure(request, nullptr, times);
}

bool FailMethod(const char* method, uint32_t times) {
    return driver::SetFailure(CALL_METHOD, method, times);
}

std::vector<DriverCall> DriverLog() {
    std::vector<DriverCall> calls;
    const auto log = driver::ReadLog();
    if (!log)
        return calls;
    for (const SimLogEntry& e : *log) {
        std::string method(e.method, sizeof e.method);
        method.resize(method.find('\0') == std::string::npos ? method.size() : method.find('\0'));
        calls.push_back({e.request, method, e.result, e.status, e.processId, record::ToMs(e.time)});
    }
    return calls;
}

bool ClearDriverLog() {
    return driver::ClearLog();
}

std::vector<std::string> MethodsCalled() {
    std::vector<std::string> names;
    for (const DriverCall& call : DriverLog())
        if (call.request == CALL_METHOD)
            names.push_back(call.method);
    return names;
}

bool InstallLibrary() {
    return parts::InstallLibrary(Part(parts::LIBRARY_FILE));
}
bool RemoveLibrary() {
    return parts::RemoveLibrary();
}

std::vector<LibraryCall> LibraryCalls() {
    std::vector<LibraryCall> calls;
    for (const auto& call : parts::LibraryCalls())
        calls.push_back({call.level, record::ToMs(call.counter)});
    return calls;
}

std::vector<int32_t> LibraryLevels() {
    std::vector<int32_t> levels;
    for (const auto& call : parts::LibraryCalls())
        levels.push_back(call.level);
    return levels;
}

void ClearLibraryCalls() {
    parts::ClearLibraryCalls();
}

harness::Process StartKeyboard() {
    harness::Process process = harness::Start(Part(parts::KEYBOARD_FILE));
    if (process.Started() && !parts::WaitForKeyboardWindow(KEYBOARD_WAIT_MS)) {
        process.Terminate();
        return harness::Process();
    }
    return process;
}

HWND KeyboardWindow() {
    return parts::KeyboardWindow();
}
void CloseKeyboard() {
    parts::CloseKeyboard();
}

std::vector<KeyboardCommand> KeyboardCommands() {
    std::vector<KeyboardCommand> commands;
    for (const auto& call : parts::KeyboardCalls())
        commands.push_back({call.wParam, call.lParam, record::ToMs(call.counter)});
    return commands;
}

std::vector<int32_t> KeyboardCodes() {
    std::vector<int32_t> codes;
    for (const auto& call : parts::KeyboardCalls())
        codes.push_back(call.lParam);
    return codes;
}

void ClearKeyboardCommands() {
    parts::ClearKeyboardCalls();
}

void RemoveAll() {
    CloseKeyboard();
    StopDriver();
    RemoveLibrary();
    ClearLibraryCalls();
    ClearKeyboardCommands();
}

} // namespace sim
