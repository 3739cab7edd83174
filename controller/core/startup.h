// The order of the dialog's start-up and what goes on after each failure. Each step is one
// call of the seam; the platform does the work.
#pragma once

constexpr const char* CONTROLLER_TITLE = "Corlane";

constexpr const char* MSG_NO_DRIVER = "Can't Open ACPI kernel Mode Driver";
constexpr const char* MSG_NO_FENMAR_EVENT = "Can't create Event object for FENMAR ACPI driver";
constexpr const char* MSG_ASSIGN_FAILED = "IOCTL_OSTRELEC_ASSIGN_EVENT fail";
constexpr const char* MSG_NO_LIBRARY = "Can't Load BRIGHTNESS.DLL For Brightness Control!";
constexpr const char* MSG_NO_EXPORT = "Can't Get ProcAddress for Brightness Control!";

class StartupSeam {
  public:
    virtual ~StartupSeam() = default;
    virtual void BaseInitDialog() = 0;
    virtual void StoreDialogHandle() = 0;
    virtual void SetIcons() = 0;
    virtual void SetTitle(const char* title) = 0;
    virtual void HideWindow() = 0;
    virtual void SaveCurrentDirectory() = 0;
    virtual void CleanLegacyFolder() = 0;
    virtual void RegisterRawInput() = 0;
    virtual bool OpenACPIDriver() = 0;
    virtual void SendACPIInit() = 0;
    virtual void CreateUnusedEvents() = 0; // "C9 EVENT" to "CC EVENT"
    virtual void CreateKWBEvents() = 0;    // "KWB BREAK EVENT", then "KWB MAKE EVENT"
    virtual void StartRepeatWorkers() = 0;
    virtual bool CreateFenmarEvent() = 0;
    virtual void StartHotKeyThread() = 0;
    virtual bool AssignFenmarEvent() = 0;
    virtual void EnsurePopupRuns() = 0; // forms the popup path, launches it when missing
    virtual bool LoadBrightnessLibrary() = 0;
    virtual bool FindSetBrightnessLevel() = 0;
    virtual void SetBrightnessLevelStep() = 0;
    virtual void StartBrightnessWatcher() = 0;
    virtual void ReadStartupLevel() = 0;
    virtual void StartBrightnessRecord() = 0;
    // A modal OK box with the exclamation icon; returns when it is closed.
    virtual void ShowMessage(const char* text) = 0;
};

// The dialog's start-up. True after a complete start-up; false when the brightness library
// or its export is missing, which leaves out the watcher, the start-up reading and the record.
bool RunStartup(StartupSeam& seam);
