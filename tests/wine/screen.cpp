#include "screen.h"

namespace screen {
namespace {

LRESULT CALLBACK BackdropProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

const char* BackdropClass() {
    static const char* name = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = BackdropProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ScreenTestBackdrop";
        RegisterClassA(&wc);
        return "ScreenTestBackdrop";
    }();
    return name;
}

} // namespace

Backdrop::Backdrop(const RECT& rect, COLORREF colour) : brush_(CreateSolidBrush(colour)) {
    hwnd_ = CreateWindowExA(0, BackdropClass(), "backdrop", WS_POPUP, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    SetClassLongPtrA(hwnd_, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush_));
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd_);
    Pump(100);
}

Backdrop::~Backdrop() {
    DestroyWindow(hwnd_);
    DeleteObject(brush_);
}

void Pump(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (GetTickCount64() < end);
}

Capture Grab(const RECT& rect) {
    Capture c;
    c.width = rect.right - rect.left;
    c.height = rect.bottom - rect.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = c.width;
    info.bmiHeader.biHeight = -c.height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screenDC = GetDC(nullptr);
    HDC memDC = CreateCompatibleDC(screenDC);
    HBITMAP dib = CreateDIBSection(screenDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memDC, dib);
    BitBlt(memDC, 0, 0, c.width, c.height, screenDC, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const DWORD* px = static_cast<const DWORD*>(bits);
    c.pixels.resize(static_cast<size_t>(c.width * c.height));
    for (size_t i = 0; i < c.pixels.size(); ++i)
        c.pixels[i] = RGB((px[i] >> 16) & 0xFF, (px[i] >> 8) & 0xFF, px[i] & 0xFF);
    SelectObject(memDC, old);
    DeleteObject(dib);
    DeleteDC(memDC);
    ReleaseDC(nullptr, screenDC);
    return c;
}

Capture GrabSettled(const RECT& rect, DWORD timeout_ms) {
    const ULONGLONG end = GetTickCount64() + timeout_ms;
    Capture last = Grab(rect);
    while (GetTickCount64() < end) {
        Pump(30);
        Capture next = Grab(rect);
        if (next == last)
            return next;
        last = next;
    }
    return last;
}

} // namespace screen
