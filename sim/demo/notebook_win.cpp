#include "notebook_win.h"

#include "client/driver_win.h"
#include "client/files_win.h"
#include "client/parts_win.h"

#include <cstdarg>
#include <cstdio>

namespace demo {
namespace {

constexpr const char* DESKTOP_CLASS = "NotebookDemoDesktop";
constexpr uint32_t BAR_COLOUR = 0x0A659C; // 0x00RRGGBB of the popup's bar and captions
constexpr int BAR_ROW = 75;
constexpr int PICTURE_WIDTH = 70;
constexpr int SEGMENTS = 100;

std::string Part(const char* file) {
    return sim::files::OwnFolder() + "\\" + file;
}

// The programs are built next to the simulator's folder, in ..\bin.
std::string BuiltProgram(const char* file) {
    return sim::files::OwnFolder() + "\\..\\bin\\" + file;
}

bool InstallPrograms(std::string* why) {
    CreateDirectoryA("C:\\Program Files", nullptr);
    CreateDirectoryA(INSTALL_FOLDER, nullptr);
    for (const char* program : PROGRAMS) {
        const std::string target = std::string(INSTALL_FOLDER) + "\\" + program;
        if (!sim::files::Place(BuiltProgram(program), target)) {
            *why = "could not install " + target;
            return false;
        }
    }
    return true;
}

const char* NotifyName(uint32_t code) {
    switch (code) {
    case 0xC4:
        return " (mute)";
    case 0xD0:
        return " (show OSD)";
    case 0xD1:
        return " (volume up pressed)";
    case 0xD2:
        return " (volume up released)";
    case 0xD3:
        return " (volume down pressed)";
    case 0xD4:
        return " (volume down released)";
    case 0xD9:
        return " (set brightness)";
    default:
        return "";
    }
}

const char* KeyboardCodeName(int32_t code) {
    switch (code) {
    case 32:
        return "volume up held";
    case 33:
        return "volume up released";
    case 34:
        return "volume down held";
    case 35:
        return "volume down released";
    case 36:
        return "mute";
    default:
        return "?";
    }
}

std::string Format(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

std::string DriverEventText(const SimLogEntry& e) {
    std::string text;
    switch (e.request) {
    case VELKACPI_CALL_METHOD:
        text = Format("BIOS: asked \"%.4s\", answered %d", e.method, e.result);
        break;
    case VELKACPI_GET_NOTIFY_CODE:
        text = Format("driver: Corlane read notify code 0x%X%s", static_cast<unsigned>(e.result),
                      NotifyName(static_cast<uint32_t>(e.result)));
        break;
    case VELKACPI_ASSIGN_EVENT:
        text = "driver: Corlane assigned its notification event";
        break;
    case VELKACPI_INIT:
        text = "driver: Corlane sent the init request";
        break;
    default:
        text = Format("driver: request 0x%X", e.request);
        break;
    }
    if (e.status != 0)
        text += Format(" (failed, status 0x%08X)", e.status);
    return text;
}

LRESULT CALLBACK DesktopProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(200, 210, 220));
    const char* text = "Simulated notebook - Corlane, Lumetta and Relaine under Wine";
    TextOutA(dc, 40, 40, text, lstrlenA(text));
    EndPaint(hwnd, &paint);
    return 0;
}

} // namespace

bool InstallNotebook(std::string* why) {
    if (!sim::driver::Install(Part(sim::parts::DRIVER_FILE))) {
        *why = "the simulated driver did not load";
        return false;
    }
    if (!sim::parts::InstallLibrary(Part(sim::parts::LIBRARY_FILE))) {
        *why = "BRIGHTNESS.DLL could not be placed in system32";
        return false;
    }
    DeleteFileA(RECORD_FILE);
    if (!InstallPrograms(why))
        return false;
    sim::parts::ClearKeyboardCalls();
    if (!sim::parts::StartKeyboard(Part(sim::parts::KEYBOARD_FILE))) {
        *why = "the keyboard program did not start";
        return false;
    }
    return true;
}

bool StartRelaine() {
    std::string exe = std::string(INSTALL_FOLDER) + "\\Relaine.exe";
    std::string line = "\"" + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, INSTALL_FOLDER,
                        &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

void StopEverything() {
    for (const char* program : {"Relaine.exe", "Corlane.exe", "Lumetta.exe"})
        sim::parts::TerminateAll(program);
    sim::parts::CloseKeyboard();
    sim::driver::Stop();
}

bool CrashSeen() {
    return !sim::parts::ProcessesOf("winedbg.exe").empty();
}

HWND CorlaneWindow() {
    return FindWindowA(nullptr, "Corlane");
}

HWND LumettaWindow() {
    return FindWindowA("LUMETTA", "LUMETTA");
}

HWND RelaineWindow() {
    return FindWindowA("RELAINESWITCHING", "RelaineSwitching");
}

DWORD WindowProcess(HWND hwnd) {
    DWORD pid = 0;
    if (hwnd)
        GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

void Pump(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(1);
    } while (GetTickCount64() < end);
}

std::vector<Event> TakeRecords() {
    std::vector<Event> events;
    if (const auto log = sim::driver::ReadLog())
        for (const SimLogEntry& e : *log)
            events.push_back({e.time, DriverEventText(e)});
    for (const auto& call : sim::parts::LibraryCalls())
        events.push_back(
            {call.counter, Format("BRIGHTNESS.DLL: SetBrightnessLevel(%d)", call.level)});
    for (const auto& call : sim::parts::KeyboardCalls())
        events.push_back({call.counter, Format("keyboard program: received %d (%s)", call.lParam,
                                               KeyboardCodeName(call.lParam))});
    ClearRecords();
    return events;
}

void ClearRecords() {
    sim::driver::ClearLog();
    sim::parts::ClearLibraryCalls();
    sim::parts::ClearKeyboardCalls();
}

std::vector<std::pair<std::string, int32_t>> MethodsSoFar() {
    std::vector<std::pair<std::string, int32_t>> methods;
    if (const auto log = sim::driver::ReadLog())
        for (const SimLogEntry& e : *log)
            if (e.request == VELKACPI_CALL_METHOD && e.status == 0)
                methods.emplace_back(std::string(e.method, 4), e.result);
    return methods;
}

std::vector<uint32_t> NotifyCodesReadSoFar() {
    std::vector<uint32_t> codes;
    if (const auto log = sim::driver::ReadLog())
        for (const SimLogEntry& e : *log)
            if (e.request == VELKACPI_GET_NOTIFY_CODE && e.status == 0)
                codes.push_back(static_cast<uint32_t>(e.result));
    return codes;
}

std::vector<int32_t> RecordValues(bool* exists) {
    std::vector<int32_t> values;
    HANDLE file = CreateFileA(RECORD_FILE, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    *exists = file != INVALID_HANDLE_VALUE;
    if (!*exists)
        return values;
    int32_t value;
    DWORD count = 0;
    while (ReadFile(file, &value, sizeof value, &count, nullptr) && count == sizeof value)
        values.push_back(value);
    CloseHandle(file);
    return values;
}

Screenshot CaptureScreen() {
    Screenshot shot;
    shot.width = GetSystemMetrics(SM_CXSCREEN);
    shot.height = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    shot.pixels.assign(pixels, pixels + static_cast<size_t>(shot.width) * shot.height);
    for (uint32_t& p : shot.pixels)
        p &= 0x00FFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

// A 24-bit bottom-up Windows bitmap file.
bool SaveBitmap(const Screenshot& shot, const std::string& path) {
    const int rowBytes = (shot.width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = shot.width;
    info.biHeight = shot.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(rowBytes * shot.height);
    std::vector<BYTE> data(static_cast<size_t>(rowBytes) * shot.height);
    for (int y = 0; y < shot.height; ++y) {
        BYTE* row = &data[static_cast<size_t>(shot.height - 1 - y) * rowBytes];
        for (int x = 0; x < shot.width; ++x) {
            const uint32_t p = shot.At(x, y);
            row[3 * x] = static_cast<BYTE>(p);
            row[3 * x + 1] = static_cast<BYTE>(p >> 8);
            row[3 * x + 2] = static_cast<BYTE>(p >> 16);
        }
    }
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) &&
              WriteFile(out, &info, sizeof info, &written, nullptr) &&
              WriteFile(out, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(out);
    return ok;
}

Desktop::Desktop()
    : brush_(CreateSolidBrush(
          RGB(DESKTOP_COLOUR >> 16, (DESKTOP_COLOUR >> 8) & 0xFF, DESKTOP_COLOUR & 0xFF))) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DesktopProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = brush_;
    wc.lpszClassName = DESKTOP_CLASS;
    RegisterClassA(&wc);
    hwnd_ = CreateWindowExA(0, DESKTOP_CLASS, "Notebook demo desktop", WS_POPUP, 0, 0,
                            GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd_);
    Pump(100);
}

Desktop::~Desktop() {
    DestroyWindow(hwnd_);
    UnregisterClassA(DESKTOP_CLASS, GetModuleHandleA(nullptr));
    DeleteObject(brush_);
}

// Segment i (1 to 100) starts at truncate((2i - 2) * 9.6) on the 1920-pixel band, so the
// bar fills the width in steps of width / 200.
Frame ReadFrame(const Screenshot& shot, const RECT& rect) {
    const int width = rect.right - rect.left;
    const double step = width / 200.0;
    const auto at = [&](int x, int y) { return shot.At(rect.left + x, rect.top + y); };
    Frame frame = {false, Picture::None, 0};
    for (int i = 1; i <= SEGMENTS; ++i)
        frame.segments += at(static_cast<int>((2 * i - 2) * step) + 1, BAR_ROW) == BAR_COLOUR;
    const int pictureX = (width - PICTURE_WIDTH) / 2;
    if (at(pictureX + 35, 34) != DESKTOP_COLOUR)
        frame.picture =
            at(pictureX + 35, 3) != DESKTOP_COLOUR ? Picture::LongRays : Picture::ShortRays;
    int captionPixels = 0;
    for (int y = 0; y < BAR_ROW - 1; ++y)
        for (int x = 0; x < pictureX - 10; ++x)
            captionPixels += at(x, y) == BAR_COLOUR;
    frame.caption = captionPixels > 100;
    return frame;
}

std::string Describe(const Frame& frame) {
    const char* picture = frame.picture == Picture::LongRays    ? "the long-rayed sun (up)"
                          : frame.picture == Picture::ShortRays ? "the short-rayed sun (down)"
                                                                : "no picture";
    return Format("%s, %s, %d of 100 segments lit", frame.caption ? "a caption" : "no caption",
                  picture, frame.segments);
}

} // namespace demo
