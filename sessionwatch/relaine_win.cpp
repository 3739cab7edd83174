// Relaine, the session watcher: one hidden window that launches Corlane and Lumetta at start,
// kills them when the console session is disconnected and kills and restarts them when it is
// connected again.
#include <windows.h>
#include <wtsapi32.h>

#include "res/resource.h"
#include "watcher.h"
#include "watcher_win.h"

namespace {

constexpr const char* INSTANCE_MUTEX_NAME = "Global\\TAMSO2 RelaineSwitching.exe";
constexpr int MAX_LOADSTRING = 100;

// The process-wide state of the program.
struct Relaine {
    HINSTANCE hInst = nullptr;
    char szTitle[MAX_LOADSTRING] = {};
    char szWindowClass[MAX_LOADSTRING] = {};
    char szExecLocation[PATH_BUFFER_SIZE] = {};
    HANDLE hInstanceMutex = nullptr;
};

Relaine gRelaine;

INT_PTR CALLBACK About(HWND hDlg, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(hDlg, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

void PaintGreeting(HWND hWnd) {
    char text[MAX_LOADSTRING] = {};
    LoadStringA(gRelaine.hInst, IDS_HELLO, text, MAX_LOADSTRING);
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    RECT rect;
    GetClientRect(hWnd, &rect);
    DrawTextA(hdc, text, -1, &rect, DT_CENTER);
    EndPaint(hWnd, &ps);
}

LRESULT OnCommand(HWND hWnd, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDM_ABOUT:
        DialogBoxParamA(gRelaine.hInst, MAKEINTRESOURCEA(IDD_ABOUTBOX), hWnd, About, 0);
        return 0;
    case IDM_EXIT:
        DestroyWindow(hWnd);
        return 0;
    }
    return DefWindowProcA(hWnd, WM_COMMAND, wParam, lParam);
}

LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_WTSSESSION_CHANGE: {
        PlatformWatcher watcher;
        OnSessionChange(watcher, static_cast<unsigned>(wParam), gRelaine.szExecLocation);
        return 0;
    }
    case WM_COMMAND:
        return OnCommand(hWnd, wParam, lParam);
    case WM_PAINT:
        PaintGreeting(hWnd);
        return 0;
    case WM_DESTROY:
        WTSUnRegisterSessionNotification(hWnd);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

void MyRegisterClass(HINSTANCE hInstance) {
    WNDCLASSEXA wcex = {};
    wcex.cbSize = sizeof wcex;
    wcex.style = CS_HREDRAW | CS_VREDRAW;
    wcex.lpfnWndProc = WndProc;
    wcex.hInstance = hInstance;
    wcex.hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_RELAINE));
    wcex.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    wcex.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wcex.lpszMenuName = MAKEINTRESOURCEA(IDC_RELAINE);
    wcex.lpszClassName = gRelaine.szWindowClass;
    wcex.hIconSm = LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_SMALL));
    RegisterClassExA(&wcex);
}

// True when another instance may run. The first instance keeps the mutex until it ends.
bool CheckSingleInstance() {
    gRelaine.hInstanceMutex = CreateMutexA(nullptr, FALSE, INSTANCE_MUTEX_NAME);
    const bool another = AnotherInstanceMayRun(gRelaine.hInstanceMutex != nullptr, GetLastError());
    if (another && gRelaine.hInstanceMutex) {
        CloseHandle(gRelaine.hInstanceMutex);
        gRelaine.hInstanceMutex = nullptr;
    }
    return another;
}

// Brings the running instance's window forward; false when there is none on this desktop.
bool ActivateRunningInstance() {
    HWND running = FindWindowA(gRelaine.szWindowClass, gRelaine.szTitle);
    if (!running)
        return false;
    if (IsIconic(running))
        ShowWindow(running, SW_RESTORE);
    SetForegroundWindow(running);
    return true;
}

// Creates the hidden window and registers it for session changes. False when the program
// is to end: another instance's window was found or no window could be created.
bool InitInstance(HINSTANCE hInstance, bool anotherInstance) {
    gRelaine.hInst = hInstance;
    if (anotherInstance && ActivateRunningInstance())
        return false;
    HWND hWnd = CreateWindowExA(WS_EX_TOOLWINDOW, gRelaine.szWindowClass, gRelaine.szTitle,
                                WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0, nullptr,
                                nullptr, hInstance, nullptr);
    if (!hWnd)
        return false;
    ShowWindow(hWnd, SW_HIDE);
    UpdateWindow(hWnd);
    WTSRegisterSessionNotification(hWnd, NOTIFY_FOR_THIS_SESSION);
    return true;
}

int RunMessageLoop(HACCEL hAccelTable) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!TranslateAcceleratorA(msg.hwnd, hAccelTable, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    LoadStringA(hInstance, IDS_APP_TITLE, gRelaine.szTitle, MAX_LOADSTRING);
    LoadStringA(hInstance, IDC_RELAINE, gRelaine.szWindowClass, MAX_LOADSTRING);
    MyRegisterClass(hInstance);
    if (!InitInstance(hInstance, CheckSingleInstance()))
        return 0;
    HACCEL hAccelTable = LoadAcceleratorsA(hInstance, MAKEINTRESOURCEA(IDC_RELAINE));
    GetExecuteLocation(gRelaine.szExecLocation, sizeof gRelaine.szExecLocation);
    PlatformWatcher watcher;
    SubProcess_Restart(watcher, gRelaine.szExecLocation);
    const int exitCode = RunMessageLoop(hAccelTable);
    if (gRelaine.hInstanceMutex) {
        CloseHandle(gRelaine.hInstanceMutex);
        gRelaine.hInstanceMutex = nullptr;
    }
    return exitCode;
}
