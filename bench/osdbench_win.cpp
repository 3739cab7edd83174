// Figures of the running system under Wine, one mode per run:
//   frame       the popup's paint path (portable layout and frames + GDI, as the popup
//               draws) on a 1920 x 114 colour-keyed window against one block copy
//   latency     the real popup: display command to window shown, and to hidden again
//   throughput  the real controller with the simulated driver and the real popup: posted
//               brightness commands per second, each with its popup notification
//   idle-start  the whole system started through Relaine, left running
//   memory      handles, working set and private bytes of each program, from the
//               system's process list (Wine fills it from the server and /proc)
//   stop        every program ended, the simulator removed
// Output: "name value" lines on standard output.
#include "corlane_support.h"
#include "frame.h"
#include "harness.h"
#include "layout.h"
#include "simulator.h"
#include "soak_support.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr UINT WM_OSD_COMMAND = 0x0501;
constexpr WPARAM OSD_COMMAND_WPARAM = 0x200;
constexpr LPARAM LPARAM_DEBR = 17, LPARAM_INBR = 18, LPARAM_SET_BRIGHTNESS = 160;
const char* const PROGRAMS[] = {"Corlane.exe", "Lumetta.exe", "Relaine.exe"};

void Print(const std::string& name, double value) {
    std::printf("%s %.4f\n", name.c_str(), value);
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    const size_t at = static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[at];
}

void PrintSpread(const std::string& name, const std::vector<double>& v) {
    Print(name + ".p50", Percentile(v, 0.5));
    Print(name + ".p95", Percentile(v, 0.95));
    Print(name + ".max", Percentile(v, 1.0));
    Print(name + ".n", static_cast<double>(v.size()));
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

// --- frame -------------------------------------------------------------------------------

void FillArea(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    HRGN region = CreateRectRgn(left, top, right, bottom);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRgn(dc, region, brush);
    DeleteObject(brush);
    DeleteObject(region);
}

void FillCaption(HDC dc, const FrameMetrics& m, const char16_t* caption) {
    int length = 0;
    while (caption[length])
        ++length;
    if (length == 0)
        return;
    HFONT font =
        CreateFontW(m.FontHeight, 22, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"Arial");
    HGDIOBJ oldFont = SelectObject(dc, font);
    HBRUSH brush = CreateSolidBrush(BarColour);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    SetBkMode(dc, TRANSPARENT);
    BeginPath(dc);
    TextOutW(dc, m.TextX, m.TextY, reinterpret_cast<const WCHAR*>(caption), length);
    EndPath(dc);
    FillPath(dc);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

// The popup's paint: the frame composed off-screen with one region and one brush per
// segment, one block copy to the window, then the picture.
void PaintFrame(HDC windowDC, const PopupLayout& L, const DisplayFrame& frame, HDC pictureDC) {
    const FrameMetrics m = ComputeFrameMetrics(L, GetDeviceCaps(windowDC, LOGPIXELSY));
    HDC frameDC = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDC, L.WindowWidth, L.WindowHeight);
    HGDIOBJ old = SelectObject(frameDC, bitmap);
    FillArea(frameDC, 0, 0, L.WindowWidth, L.WindowHeight, KeyColour);
    for (int32_t i = 1; i <= L.SegmentCount; ++i) {
        const SegmentRect r = SegmentRectangle(L, m.BarTop, i);
        FillArea(frameDC, r.left, r.top, r.right, r.bottom, SegmentColour(i, frame.level));
    }
    FillCaption(frameDC, m, frame.caption);
    BitBlt(windowDC, 0, 0, L.WindowWidth, L.WindowHeight, frameDC, 0, 0, SRCCOPY);
    SelectObject(frameDC, old);
    DeleteObject(bitmap);
    DeleteDC(frameDC);
    if (frame.picture != Picture::None)
        BitBlt(windowDC, L.IconX, 0, L.IconWidth, L.IconHeight, pictureDC, 0, 0, SRCCOPY);
}

HWND CreateBandWindow(const PopupLayout& L) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"OSDBENCHBAND";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_LAYERED, wc.lpszClassName,
                                L"", WS_POPUP, 0, L.WindowY, L.WindowWidth, L.WindowHeight, nullptr,
                                nullptr, wc.hInstance, nullptr);
    SetLayeredWindowAttributes(hwnd, KeyColour, 255, LWA_COLORKEY | LWA_ALPHA);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    PumpMessages();
    return hwnd;
}

double Millis(LARGE_INTEGER from, LARGE_INTEGER to) {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

template <typename Work> double TimeOnce(Work work) {
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    work();
    GdiFlush();
    QueryPerformanceCounter(&t1);
    return Millis(t0, t1);
}

int RunFrame() {
    const PopupLayout L = [] {
        PopupLayout layout = ComputeLayout(1920, 1080, nullptr);
        layout.IconX = ComputeIconX(layout.WindowWidth);
        return layout;
    }();
    HWND hwnd = CreateBandWindow(L);
    HDC windowDC = GetDC(hwnd);
    HDC pictureDC = CreateCompatibleDC(windowDC);
    HBITMAP picture = CreateCompatibleBitmap(windowDC, L.IconWidth, L.IconHeight);
    HGDIOBJ oldPicture = SelectObject(pictureDC, picture);
    HDC sourceDC = CreateCompatibleDC(windowDC);
    HBITMAP source = CreateCompatibleBitmap(windowDC, L.WindowWidth, L.WindowHeight);
    HGDIOBJ oldSource = SelectObject(sourceDC, source);

    const DisplayFrame brightness = FrameForCommand(OSD_BRIGHTNESS_UP | (50u << 16), 0x0409);
    const DisplayFrame volume = FrameForCommand(OSD_VOLUME_UP | (50u << 16), 0x0409);
    std::vector<double> paintBrightness, paintVolume, copy;
    for (int i = 0; i < 300; ++i) {
        paintBrightness.push_back(
            TimeOnce([&] { PaintFrame(windowDC, L, brightness, pictureDC); }));
        paintVolume.push_back(TimeOnce([&] { PaintFrame(windowDC, L, volume, pictureDC); }));
        copy.push_back(TimeOnce([&] {
            BitBlt(windowDC, 0, 0, L.WindowWidth, L.WindowHeight, sourceDC, 0, 0, SRCCOPY);
        }));
        PumpMessages();
    }
    Print("frame.width", L.WindowWidth);
    Print("frame.height", L.WindowHeight);
    PrintSpread("frame.paint_brightness", paintBrightness);
    PrintSpread("frame.paint_volume", paintVolume);
    PrintSpread("frame.copy", copy);

    SelectObject(sourceDC, oldSource);
    DeleteObject(source);
    DeleteDC(sourceDC);
    SelectObject(pictureDC, oldPicture);
    DeleteObject(picture);
    DeleteDC(pictureDC);
    ReleaseDC(hwnd, windowDC);
    DestroyWindow(hwnd);
    return 0;
}

// --- latency -----------------------------------------------------------------------------

HWND StartPopup() {
    harness::Start(harness::BinDir() + "\\Lumetta.exe");
    return harness::WaitForWindow("LUMETTA", "LUMETTA", 10000);
}

// Polls every millisecond; returns the time on the shared clock when pred became true, or
// a negative value after the timeout.
template <typename Pred> double TimeWhen(Pred pred, double timeoutMs) {
    const double deadline = harness::NowMs() + timeoutMs;
    while (harness::NowMs() < deadline) {
        if (pred())
            return harness::NowMs();
        Sleep(1);
    }
    return -1;
}

int RunLatency() {
    harness::KillSystem();
    HWND popup = StartPopup();
    if (!popup)
        return 1;
    std::vector<double> shown, hidden;
    for (int i = 0; i < 200; ++i) {
        const WPARAM command =
            (i % 2 ? OSD_BRIGHTNESS_DOWN : OSD_BRIGHTNESS_UP) | ((i % 101) << 16);
        const double sent = harness::NowMs();
        SendMessageW(popup, WM_COMMAND, command, 0);
        const double last = harness::NowMs();
        const double up = TimeWhen([&] { return IsWindowVisible(popup) != FALSE; }, 2000);
        const double down = TimeWhen([&] { return IsWindowVisible(popup) == FALSE; }, 3000);
        if (up >= 0)
            shown.push_back(up - sent);
        if (down >= 0)
            hidden.push_back(down - last);
    }
    PrintSpread("latency.shown", shown);
    PrintSpread("latency.hidden", hidden);
    harness::KillSystem();
    return 0;
}

// --- throughput --------------------------------------------------------------------------

// Posts like a busy input source: when the queue refuses a message, a moment later again.
void PostPersistently(HWND dialog, LPARAM code) {
    while (!PostMessageA(dialog, WM_OSD_COMMAND, OSD_COMMAND_WPARAM, code))
        Sleep(1);
}

int RunThroughput() {
    harness::KillSystem();
    if (!sim::InstallDriver() || !sim::InstallLibrary())
        return 1;
    HWND popup = StartPopup();
    harness::Process corlane = corlane::StartCorlane();
    HWND dialog = corlane::WaitForDialog(10000);
    if (!popup || !dialog)
        return 1;
    Sleep(1000); // start-up settles: the first notifications and the library call
    sim::ClearLibraryCalls();
    constexpr int COMMANDS = 10000;
    const double start = harness::NowMs();
    for (int i = 0; i < COMMANDS; ++i) // runs of 20 up and 20 down: BIOS steps on the tens
        PostPersistently(dialog, (i / 20) % 2 ? LPARAM_DEBR : LPARAM_INBR);
    PostPersistently(dialog, LPARAM_SET_BRIGHTNESS); // the library call marks the end
    harness::WaitUntil([] { return !sim::LibraryCalls().empty(); }, 120000, 20);
    const std::vector<sim::LibraryCall> calls = sim::LibraryCalls();
    if (calls.empty())
        return 1;
    const double elapsed = calls.front().timeMs - start;
    Print("throughput.commands", COMMANDS);
    Print("throughput.seconds", elapsed / 1000.0);
    Print("throughput.per_second", COMMANDS / (elapsed / 1000.0));
    Print("throughput.bios_steps", static_cast<double>(sim::MethodsCalled().size()));
    Print("throughput.crashed", harness::CrashSeen() ? 1 : 0);
    harness::KillSystem();
    sim::RemoveAll();
    return 0;
}

// --- idle --------------------------------------------------------------------------------

int RunIdleStart() {
    harness::KillSystem();
    if (!sim::InstallDriver() || !sim::InstallLibrary())
        return 1;
    corlane::MakeWorkFolder();
    harness::Start(harness::BinDir() + "\\Relaine.exe", "", corlane::WorkFolder());
    const bool up = harness::WaitUntil(
        [] {
            return corlane::FindDialog() && FindWindowA("LUMETTA", "LUMETTA") &&
                   FindWindowA("RELAINESWITCHING", nullptr);
        },
        15000, 20);
    Print("idle.started", up ? 1 : 0);
    return up ? 0 : 1;
}

int RunMemory() {
    for (const char* image : PROGRAMS) {
        const std::vector<DWORD> ids = harness::ProcessIds(image);
        if (ids.empty())
            continue;
        const soak::Usage usage = soak::UsageOf(ids.front());
        Print(std::string("memory.list_handles.") + image, usage.handles);
        Print(std::string("memory.list_working_set_kb.") + image,
              static_cast<double>(usage.workingSet) / 1024.0);
        Print(std::string("memory.list_private_kb.") + image,
              static_cast<double>(usage.privateBytes) / 1024.0);
    }
    return 0;
}

int RunStop() {
    harness::KillSystem();
    sim::RemoveAll();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "frame")
        return RunFrame();
    if (mode == "latency")
        return RunLatency();
    if (mode == "throughput")
        return RunThroughput();
    if (mode == "idle-start")
        return RunIdleStart();
    if (mode == "memory")
        return RunMemory();
    if (mode == "stop")
        return RunStop();
    std::fprintf(stderr, "usage: osdbench frame|latency|throughput|idle-start|memory|stop\n");
    return 2;
}
