#include "core/brightness_win.h"

#include "core/globals_win.h"
#include "core/popup_win.h"
#include "input/acpi_win.h"

namespace {

class PlatformSeam : public ControllerSeam {
  public:
    bool CallBIOSMethod(const char* name, BIOSCall& call) override {
        return ::CallBIOSMethod(name, call.BIOSOutBuffer, call.BIOSOutSize);
    }
    void NotifyPopup(int id, int32_t level) override { ::NotifyPopup(id, level); }
    // Without the event the wait fails, which counts as not held.
    bool BritNotChangeHeld() override {
        return WaitForSingleObject(gBritNotChangeEvent, 0) == WAIT_OBJECT_0;
    }
    bool BrightnessLibraryBound() override { return gSetBrightnessLevel != nullptr; }
    void SetBrightnessLevel(int32_t level) override { gSetBrightnessLevel(level); }
    int32_t KWBLastCode() override { return ::KWBLastCode.load(); }
};

} // namespace

ControllerSeam& ControllerPlatform() {
    static PlatformSeam seam;
    return seam;
}

void RunSetBrightnessLevelStep() {
    SetBrightnessLevelStep(gBIOS, ControllerPlatform());
}
