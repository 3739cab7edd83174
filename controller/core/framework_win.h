// The small application and dialog framework the controller runs on: an application object
// whose InitInstance runs at start, a modal dialog from a template whose every message first
// reaches a virtual WindowProc, then the message map and then the default dialog processing;
// worker thread start and the start-up message boxes.
#pragma once

#include <windows.h>

namespace framework {

// Title of every message box the controller shows. Deliberately not "Corlane": the dialog is
// found by that title, and a box with it could be taken for the dialog.
constexpr const char* MESSAGE_BOX_TITLE = "Notebook Hotkeys";

// An OK message box, modal on the calling thread; icon is MB_ICONEXCLAMATION or 0.
void ShowMessage(const char* text, UINT icon, HWND owner = nullptr);

// Starts a worker thread at once with normal priority and the default stack; the returned
// handle is the caller's to keep.
HANDLE BeginThread(LPTHREAD_START_ROUTINE worker, void* parameter);

// The one application object of the process; the program entry runs its InitInstance.
class Application {
  public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    virtual BOOL InitInstance() = 0;
    static Application* Current();
};

// A modal dialog from a dialog template of the program's resources.
class Dialog {
  public:
    explicit Dialog(int templateId);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog until it ends; returns the EndDialog result.
    INT_PTR DoModal();
    HWND Window() const { return hwnd_; }

  protected:
    // Every message of the window comes here first. The base runs the message map
    // (OnMessage) and, for what the map leaves, the default dialog processing.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The message map: true when the message was handled, its result in result.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // WM_INITDIALOG. The result tells the dialog manager whether to set the default focus.
    virtual BOOL OnInitDialog();
    // The default dialog processing of the message.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Attach(HWND hwnd);

    int templateId_;
    HWND hwnd_ = nullptr;
    WNDPROC defaultProc_ = nullptr;
};

} // namespace framework
