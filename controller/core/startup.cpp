#include "core/startup.h"

namespace {

// Everything up to the binding of the brightness library; no failure here stops start-up.
void ConnectAndStartWorkers(StartupSeam& seam) {
    seam.BaseInitDialog();
    seam.StoreDialogHandle();
    seam.SetIcons();
    seam.SetTitle(CONTROLLER_TITLE);
    seam.HideWindow();
    seam.SaveCurrentDirectory();
    seam.CleanLegacyFolder();
    seam.RegisterRawInput();
    if (!seam.OpenACPIDriver())
        seam.ShowMessage(MSG_NO_DRIVER);
    seam.SendACPIInit();
    seam.CreateUnusedEvents();
    seam.CreateKWBEvents();
    seam.StartRepeatWorkers();
    if (!seam.CreateFenmarEvent())
        seam.ShowMessage(MSG_NO_FENMAR_EVENT);
    seam.StartHotKeyThread();
    if (!seam.AssignFenmarEvent())
        seam.ShowMessage(MSG_ASSIGN_FAILED);
    seam.EnsurePopupRuns();
}

} // namespace

bool RunStartup(StartupSeam& seam) {
    ConnectAndStartWorkers(seam);
    if (!seam.LoadBrightnessLibrary()) {
        seam.ShowMessage(MSG_NO_LIBRARY);
        return false;
    }
    if (!seam.FindSetBrightnessLevel()) {
        seam.ShowMessage(MSG_NO_EXPORT);
        return false;
    }
    seam.SetBrightnessLevelStep();
    seam.StartBrightnessWatcher();
    seam.ReadStartupLevel();
    seam.StartBrightnessRecord();
    return true;
}
