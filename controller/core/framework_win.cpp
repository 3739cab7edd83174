#include "core/framework_win.h"

namespace framework {

namespace {
Application* gApplication = nullptr;
// The dialog whose window is being created on this thread, until its first message.
thread_local Dialog* tCreating = nullptr;
} // namespace

void ShowMessage(const char* text, UINT icon, HWND owner) {
    MessageBoxA(owner, text, MESSAGE_BOX_TITLE, MB_OK | icon);
}

HANDLE BeginThread(LPTHREAD_START_ROUTINE worker, void* parameter) {
    return CreateThread(nullptr, 0, worker, parameter, 0, nullptr);
}

Application::Application() {
    gApplication = this;
}

Application::~Application() {
    gApplication = nullptr;
}

Application* Application::Current() {
    return gApplication;
}

Dialog::Dialog(int templateId) : templateId_(templateId) {}

Dialog::~Dialog() = default;

INT_PTR Dialog::DoModal() {
    tCreating = this;
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_),
                                           nullptr, DialogProc, reinterpret_cast<LPARAM>(this));
    tCreating = nullptr;
    return result;
}

LRESULT Dialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnMessage(message, wParam, lParam, result))
        return result;
    return Default(message, wParam, lParam);
}

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

BOOL Dialog::OnInitDialog() {
    return TRUE;
}

LRESULT Dialog::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(defaultProc_, hwnd_, message, wParam, lParam);
}

// The dialog's window procedure is replaced at the first message its dialog procedure sees
// (WM_SETFONT, before WM_INITDIALOG), so that every later message passes WindowProc first.
void Dialog::Attach(HWND hwnd) {
    hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
    defaultProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self && tCreating) {
        self = tCreating;
        tCreating = nullptr;
        self->Attach(hwnd);
    }
    if (!self)
        return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        return self->OnInitDialog();
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(hwnd, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

LRESULT CALLBACK Dialog::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    const LRESULT result = self->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->defaultProc_));
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

} // namespace framework
