// COSDApp, Corlane's application object: one instance per session, which runs the hidden
// dialog until it ends.
#include <windows.h>

#include "core/dialog_win.h"
#include "core/framework_win.h"

namespace {

constexpr const char* INSTANCE_MUTEX_NAME = "DavazOvurivi Mutex";

class COSDApp : public framework::Application {
  public:
    BOOL InitInstance() override;
};

// The mutex is kept, unnamed in any variable, until the process ends.
BOOL COSDApp::InitInstance() {
    if (OpenMutexA(0, FALSE, INSTANCE_MUTEX_NAME))
        return FALSE;
    CreateMutexA(nullptr, TRUE, INSTANCE_MUTEX_NAME);
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        return FALSE;
    COSDDlg dialog;
    dialog.DoModal();
    return FALSE;
}

COSDApp theApp;

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    framework::Application::Current()->InitInstance();
    return 0;
}
