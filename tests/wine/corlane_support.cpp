#include "corlane_support.h"

#include "simulator.h"

namespace corlane {

namespace {

std::vector<std::string> gCommands;

LRESULT CALLBACK RecorderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        gCommands.push_back(Show(LOWORD(wParam), HIWORD(wParam)));
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void MakeFolders(const std::string& path) {
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

} // namespace

std::string WorkFolder() {
    return "C:\\corlane-test\\run\\a\\b";
}
std::string RecordPath() {
    return "C:\\corlane-test\\ProgramData\\Brightness.ini";
}

void MakeWorkFolder() {
    MakeFolders(WorkFolder());
}

harness::Process StartCorlane() {
    MakeWorkFolder();
    return harness::Start(harness::BinDir() + "\\Corlane.exe", "", WorkFolder());
}

HWND FindDialog() {
    return FindWindowA("#32770", DIALOG_TITLE);
}

HWND WaitForDialog(DWORD timeout_ms) {
    HWND found = nullptr;
    PumpUntil([&] { return (found = FindDialog()) != nullptr; }, timeout_ms);
    return found;
}

std::string DismissBox(DWORD timeout_ms) {
    HWND box = nullptr;
    if (!PumpUntil([&] { return (box = FindWindowA("#32770", BOX_TITLE)) != nullptr; }, timeout_ms))
        return "";
    char text[256] = {};
    PumpUntil([&] { return GetDlgItemTextA(box, 0xFFFF, text, sizeof text) > 0; }, 2000);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    PumpUntil([&] { return !IsWindow(box); }, 5000);
    return text;
}

bool NoBoxOpen() {
    return FindWindowA("#32770", BOX_TITLE) == nullptr;
}

bool PumpUntil(const std::function<bool()>& pred, DWORD timeout_ms) {
    return harness::WaitUntil(
        [&] {
            PumpMessages();
            return pred();
        },
        timeout_ms);
}

void PumpFor(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end) {
        PumpMessages();
        Sleep(5);
    }
}

void PostCommand(HWND dialog, LPARAM code, WPARAM wParam) {
    PostMessageA(dialog, 0x0501, wParam, code);
}

PopupRecorder::PopupRecorder() {
    gCommands.clear();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RecorderProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "LUMETTA";
    RegisterClassA(&wc);
    hwnd_ = CreateWindowA("LUMETTA", "LUMETTA", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                          wc.hInstance, nullptr);
}

PopupRecorder::~PopupRecorder() {
    DestroyWindow(hwnd_);
    UnregisterClassA("LUMETTA", GetModuleHandleA(nullptr));
}

const std::vector<std::string>& PopupRecorder::Commands() const {
    return gCommands;
}

bool PopupRecorder::WaitForCommands(size_t count, DWORD timeout_ms) {
    return PumpUntil([&] { return gCommands.size() >= count; }, timeout_ms);
}

void CleanState::SetUp() {
    harness::KillSystem();
    sim::RemoveAll();
    DeleteFileA(RecordPath().c_str());
    ASSERT_FALSE(harness::CrashSeen());
}

void CleanState::TearDown() {
    EXPECT_FALSE(harness::CrashSeen()) << "a program crashed";
    harness::KillSystem();
    sim::RemoveAll();
    EXPECT_EQ(GetFileAttributesA(RecordPath().c_str()), INVALID_FILE_ATTRIBUTES)
        << "a record file was left";
    DeleteFileA(RecordPath().c_str());
}

std::string Show(int id, int level) {
    return std::to_string(id) + " " + std::to_string(level);
}

} // namespace corlane
