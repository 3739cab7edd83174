// Lumetta, the on-screen display: a hidden, top-most, colour-keyed band above the taskbar
// that draws the display it is told to draw and hides itself half a second later.
#include <windows.h>

#include "countdown.h"
#include "frame.h"
#include "layout.h"
#include "resource.h"

namespace {

constexpr int NAME_CHARS = 100;
typedef BOOL(WINAPI* SetLayeredWindowAttributesFn)(HWND, COLORREF, BYTE, DWORD);

// The program's state: one of each for the whole run.
struct Popup {
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    HANDLE osdEvent = nullptr;
    HBITMAP brightnessUp = nullptr;
    HBITMAP brightnessDown = nullptr;
    PopupLayout layout;
    HideCountdown countdown;
    uint32_t LastCommand = 0;
    const char16_t* CaptionText = u"";
    LCID lcid = 0;
} g;

const WCHAR* Wide(const char16_t* text) {
    return reinterpret_cast<const WCHAR*>(text);
}

int Length(const char16_t* text) {
    int n = 0;
    while (text[n])
        ++n;
    return n;
}

class WindowsHideTimer : public HideTimerPlatform {
  public:
    WaitResult WaitForCommand(int32_t ms) override {
        if (!g.osdEvent)
            return WaitResult::Failed;
        switch (WaitForSingleObject(g.osdEvent, static_cast<DWORD>(ms))) {
        case WAIT_OBJECT_0:
            return WaitResult::Signalled;
        case WAIT_TIMEOUT:
            return WaitResult::TimedOut;
        default:
            return WaitResult::Failed;
        }
    }
    void Sleep(int32_t ms) override { ::Sleep(static_cast<DWORD>(ms)); }
    void ShowPopup() override { ShowWindow(g.window, SW_SHOW); }
    void HidePopup() override { ShowWindow(g.window, SW_HIDE); }
};

DWORD WINAPI HideTimerThread(LPVOID) {
    WindowsHideTimer platform;
    for (;;)
        HideTimerStep(g.countdown, platform);
}

void FillArea(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    HRGN region = CreateRectRgn(left, top, right, bottom);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRgn(dc, region, brush);
    DeleteObject(brush);
    DeleteObject(region);
}

void DrawCaption(HDC dc, const FrameMetrics& m) {
    HFONT font =
        CreateFontW(m.FontHeight, 22, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"Arial");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetTextColor(dc, BarColour);
    SetBkColor(dc, KeyColour);
    SetBkMode(dc, TRANSPARENT);
    HBRUSH brush = CreateSolidBrush(BarColour);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    const int length = Length(g.CaptionText);
    if (length > 0) {
        BeginPath(dc);
        TextOutW(dc, m.TextX, m.TextY, Wide(g.CaptionText), length);
        EndPath(dc);
        FillPath(dc);
    }
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

// One frame, composed off-screen and copied to the window in one block; the picture goes
// straight to the window afterwards.
void DrawOSD(HDC paintDC, HDC iconDC, HBITMAP picture, int32_t level) {
    const PopupLayout& L = g.layout;
    const FrameMetrics m = ComputeFrameMetrics(L, GetDeviceCaps(paintDC, LOGPIXELSY));
    HDC frameDC = CreateCompatibleDC(nullptr);
    HBITMAP frame = CreateCompatibleBitmap(paintDC, L.WindowWidth, L.WindowHeight);
    HGDIOBJ oldFrame = SelectObject(frameDC, frame);

    FillArea(frameDC, 0, 0, L.WindowWidth, L.WindowHeight, KeyColour);
    for (int32_t i = 1; i <= L.SegmentCount; ++i) {
        const SegmentRect r = SegmentRectangle(L, m.BarTop, i);
        FillArea(frameDC, r.left, r.top, r.right, r.bottom, SegmentColour(i, level));
    }
    DrawCaption(frameDC, m);
    BitBlt(paintDC, 0, 0, L.WindowWidth, L.WindowHeight, frameDC, 0, 0, SRCCOPY);

    SelectObject(frameDC, oldFrame);
    DeleteObject(frame);
    DeleteDC(frameDC);

    if (picture) {
        HGDIOBJ oldPicture = SelectObject(iconDC, picture);
        BitBlt(paintDC, L.IconX, 0, L.IconWidth, L.IconHeight, iconDC, 0, 0, SRCCOPY);
        SelectObject(iconDC, oldPicture);
    }
}

HBITMAP PictureBitmap(Picture picture) {
    switch (picture) {
    case Picture::BrightnessUp:
        return g.brightnessUp;
    case Picture::BrightnessDown:
        return g.brightnessDown;
    case Picture::None:
        break;
    }
    return nullptr;
}

void Paint(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, TRUE);
    PAINTSTRUCT ps;
    HDC paintDC = BeginPaint(hwnd, &ps);
    HDC iconDC = CreateCompatibleDC(paintDC);
    const DisplayFrame frame = FrameForCommand(g.LastCommand, g.lcid);
    if (frame.draw) {
        g.CaptionText = frame.caption;
        DrawOSD(paintDC, iconDC, PictureBitmap(frame.picture), frame.level);
    }
    DeleteDC(iconDC);
    EndPaint(hwnd, &ps);
}

void EraseBackground(HWND hwnd) {
    RECT update;
    GetUpdateRect(hwnd, &update, FALSE);
    HDC dc = GetDC(hwnd);
    HBRUSH brush = CreateSolidBrush(KeyColour);
    FillRect(dc, &update, brush);
    DeleteObject(brush);
    ReleaseDC(hwnd, dc);
}

void RecordDisplayCommand(HWND hwnd, WPARAM command) {
    g.LastCommand = static_cast<uint32_t>(command);
    g.countdown.Restart(); // before the wake-up, so the worker starts with its short step
    if (g.osdEvent)
        SetEvent(g.osdEvent);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INTERNALPAINT);
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

LRESULT CALLBACK PopupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    g.lcid = GetSystemDefaultLCID();
    switch (message) {
    case WM_CREATE: {
        HINSTANCE instance = reinterpret_cast<CREATESTRUCTW*>(lParam)->hInstance;
        g.brightnessUp = LoadBitmapW(instance, MAKEINTRESOURCEW(IDB_BRIGHTNESS_UP));
        g.brightnessDown = LoadBitmapW(instance, MAKEINTRESOURCEW(IDB_BRIGHTNESS_DOWN));
        g.layout.IconX = ComputeIconX(g.layout.WindowWidth);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_ERASEBKGND:
        EraseBackground(hwnd);
        return 0;
    case WM_COMMAND: {
        const uint16_t id = LOWORD(wParam);
        if (IsDisplayCommand(id)) {
            RecordDisplayCommand(hwnd, wParam);
            return 0;
        }
        if (id == IDM_ABOUT) {
            DialogBoxParamW(g.instance, MAKEINTRESOURCEW(IDD_ABOUTBOX), hwnd, AboutProc, 0);
            return 0;
        }
        if (id == IDM_EXIT) {
            DestroyWindow(hwnd);
            return 0;
        }
        break;
    }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A second instance brings forward a window that an older release used, and leaves the
// running popup alone.
bool AnotherInstanceRuns() {
    CreateMutexW(nullptr, FALSE, L"LUMETTA"); // kept until the process ends
    const DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED)
        return false;
    if (HWND old = FindWindowW(L"#32770", L"FENMARSOD")) {
        ShowWindow(old, SW_RESTORE);
        SetForegroundWindow(old);
    }
    return true;
}

void RegisterPopupClass(const WCHAR* className) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = PopupProc;
    wc.hInstance = g.instance;
    wc.hIcon = LoadIconW(g.instance, MAKEINTRESOURCEW(IDI_LUMETTA));
    wc.hIconSm = LoadIconW(g.instance, MAKEINTRESOURCEW(IDI_SMALL));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(KeyColour);
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
}

PopupLayout LayoutForScreen() {
    RECT bar;
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", L"");
    const bool haveBar = taskbar && GetWindowRect(taskbar, &bar);
    const ScreenRect rect = {bar.left, bar.top, bar.right, bar.bottom};
    return ComputeLayout(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                         haveBar ? &rect : nullptr);
}

void MakeColourKeyed(HWND hwnd) {
    SetWindowLongW(hwnd, GWL_EXSTYLE, GetWindowLongW(hwnd, GWL_EXSTYLE) ^ WS_EX_LAYERED);
    HMODULE user32 = LoadLibraryW(L"User32.DLL");
    if (!user32)
        return;
    auto setLayered = reinterpret_cast<SetLayeredWindowAttributesFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
    if (setLayered)
        setLayered(hwnd, KeyColour, 255, LWA_COLORKEY | LWA_ALPHA); // module stays loaded
    else
        FreeLibrary(user32);
}

int RunMessageLoop() {
    HACCEL accelerators = LoadAcceleratorsW(g.instance, MAKEINTRESOURCEW(IDC_LUMETTA));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!TranslateAcceleratorW(msg.hwnd, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    if (AnotherInstanceRuns())
        return 0;
    WCHAR title[NAME_CHARS], className[NAME_CHARS];
    LoadStringW(instance, IDS_APP_TITLE, title, NAME_CHARS);
    LoadStringW(instance, IDC_LUMETTA, className, NAME_CHARS);
    g.instance = instance;
    RegisterPopupClass(className);
    g.layout = LayoutForScreen();

    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, className, title, WS_POPUP, 0,
                                g.layout.WindowY, g.layout.WindowWidth, g.layout.WindowHeight,
                                nullptr, nullptr, instance, nullptr);
    if (!hwnd)
        return 0;
    g.window = hwnd;
    ShowWindow(hwnd, SW_HIDE);
    MakeColourKeyed(hwnd);

    g.osdEvent = CreateEventW(nullptr, FALSE, FALSE, L"OSD EVENT");
    CreateThread(nullptr, 0, HideTimerThread, nullptr, 0, nullptr); // runs with the process
    UpdateWindow(hwnd);
    return RunMessageLoop();
}
