#include "core/dialog_win.h"

#include "commands.h"
#include "core/brightness_win.h"
#include "core/dispatch.h"
#include "core/globals_win.h"
#include "core/legacy_win.h"
#include "core/library_win.h"
#include "core/popup_win.h"
#include "core/startup.h"
#include "input/acpi_win.h"
#include "input/sources_win.h"

namespace {

constexpr int IDD_CORLANE = 102;
constexpr int IDR_MAINFRAME = 128;

constexpr const char* UNUSED_EVENT_NAMES[] = {"C9 EVENT", "CA EVENT", "CB EVENT", "CC EVENT"};

HANDLE CreateAutoResetEvent(const char* name) {
    return CreateEventA(nullptr, FALSE, FALSE, name);
}

} // namespace

// The start-up steps on the real platform, for the dialog being initialised.
class DialogStartup : public StartupSeam {
  public:
    explicit DialogStartup(COSDDlg& dialog) : dialog_(dialog), hwnd_(dialog.Window()) {}

    void BaseInitDialog() override { dialog_.Dialog::OnInitDialog(); }
    void StoreDialogHandle() override { gHWND_DIALOG = hwnd_; }
    void SetIcons() override {
        SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(dialog_.icon_));
        SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(dialog_.icon_));
    }
    void SetTitle(const char* title) override { SetWindowTextA(hwnd_, title); }
    void HideWindow() override { ShowWindow(hwnd_, SW_HIDE); }
    void SaveCurrentDirectory() override { GetCurrentDirectoryA(MAX_PATH, savedDirectory_); }
    void CleanLegacyFolder() override { ::CleanLegacyFolder(savedDirectory_); }
    void RegisterRawInput() override { ::RegisterRawInput(hwnd_); }
    bool OpenACPIDriver() override { return ::OpenACPIDriver(); }
    void SendACPIInit() override { ::SendACPIInit(); }
    void CreateUnusedEvents() override {
        for (int i = 0; i < 4; ++i)
            gUnusedEvents[i] = CreateAutoResetEvent(UNUSED_EVENT_NAMES[i]);
    }
    void CreateKWBEvents() override {
        gKWBBreakEvent = CreateAutoResetEvent("KWB BREAK EVENT");
        gKWBMakeEvent = CreateAutoResetEvent("KWB MAKE EVENT");
    }
    void StartRepeatWorkers() override { ::StartRepeatWorkers(); }
    bool CreateFenmarEvent() override {
        gFenmarEvent = CreateAutoResetEvent(FENMAR_EVENT_NAME);
        return gFenmarEvent != nullptr;
    }
    void StartHotKeyThread() override { ::StartHotKeyThread(&gFenmarEvent); }
    bool AssignFenmarEvent() override { return AssignDriverEvent(gFenmarEvent); }
    void EnsurePopupRuns() override { ::EnsurePopupRuns(); }
    bool LoadBrightnessLibrary() override { return ::LoadBrightnessLibrary(); }
    bool FindSetBrightnessLevel() override { return ::FindSetBrightnessLevel(); }
    void SetBrightnessLevelStep() override { RunSetBrightnessLevelStep(); }
    void StartBrightnessWatcher() override { ::StartBrightnessWatcher(); }
    void ReadStartupLevel() override {
        ::ReadStartupLevel(gBrightness, gBIOS, ControllerPlatform());
    }
    void StartBrightnessRecord() override {
        dialog_.powerNotification_ = ::StartBrightnessRecord(hwnd_);
    }
    void ShowMessage(const char* text) override {
        framework::ShowMessage(text, MB_ICONEXCLAMATION, hwnd_);
    }

  private:
    COSDDlg& dialog_;
    HWND hwnd_;
    char savedDirectory_[MAX_PATH] = {};
};

COSDDlg::COSDDlg()
    : Dialog(IDD_CORLANE),
      icon_(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

COSDDlg::~COSDDlg() {
    if (powerNotification_)
        UnregisterPowerSettingNotification(powerNotification_);
}

BOOL COSDDlg::OnInitDialog() {
    DialogStartup startup(*this);
    return RunStartup(startup) ? TRUE : FALSE;
}

// Every message passes here first, on the dialog's thread, and then goes on unchanged to the
// message map and the default dialog processing.
LRESULT COSDDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_OSD_COMMAND:
        DispatchOSDCommand(static_cast<uint32_t>(wParam), static_cast<int32_t>(lParam), gBrightness,
                           gBIOS, ControllerPlatform());
        break;
    case WM_INPUT:
    case WM_KEYDOWN: // keystroke data, not a raw input handle: the reader's query fails on it
        ReadRawInput(lParam);
        break;
    case WM_QUERYENDSESSION:
        OnQueryEndSession();
        break;
    case WM_POWERBROADCAST:
        OnPowerBroadcast(wParam, lParam);
        break;
    default:
        break;
    }
    return Dialog::WindowProc(message, wParam, lParam);
}

bool COSDDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_PAINT:
        OnPaint(wParam, lParam);
        result = 0;
        return true;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(icon_);
        return true;
    case WM_COPYDATA: // the data is not looked at
        result = Default(message, wParam, lParam);
        return true;
    case WM_DISPLAYCHANGE:
        result = OnDisplayChange(wParam, lParam);
        return true;
    default:
        return false;
    }
}

// Draws the icon when minimised; in every case the window is hidden again afterwards.
void COSDDlg::OnPaint(WPARAM wParam, LPARAM lParam) {
    HWND hwnd = Window();
    if (IsIconic(hwnd)) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        SendMessageA(hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        const int iconWidth = GetSystemMetrics(SM_CXICON);
        const int iconHeight = GetSystemMetrics(SM_CYICON);
        RECT client;
        GetClientRect(hwnd, &client);
        DrawIcon(dc, (client.right - client.left - iconWidth + 1) / 2,
                 (client.bottom - client.top - iconHeight + 1) / 2, icon_);
        EndPaint(hwnd, &paint);
    } else {
        Default(WM_PAINT, wParam, lParam);
    }
    ShowWindow(hwnd, SW_HIDE);
}

LRESULT COSDDlg::OnDisplayChange(WPARAM, LPARAM) {
    RestartPopup();
    return 0;
}
