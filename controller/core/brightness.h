// The controller's brightness tracking: its own count of the panel level, the level the BIOS
// last reported, and the key steps that move the count and ask the BIOS to step only on the
// tens. Everything runs on the dialog's thread, one command at a time.
#pragma once

#include "acpi.h"

#include <cstdint>

struct BrightnessState {
    int32_t BRIGHTNESSCount = -2; // the tracked level; -2 until the BIOS is read
    int32_t BRIGHTNESSSave = -2;  // the level the BIOS last reported with "SOSD"
    uint32_t OSDPending = 1;      // tell the popup at the next LPARAM_SHOW_OSD
    uint8_t BIOSStepped = 0;      // the last key step called "INBR" or "DEBR"
};

// What the brightness steps need from the rest of the controller.
class ControllerSeam {
  public:
    virtual ~ControllerSeam() = default;
    // Runs the BIOS method through the driver with the shared buffer and its size.
    virtual bool CallBIOSMethod(const char* name, BIOSCall& call) = 0;
    virtual void NotifyPopup(int id, int32_t level) = 0;
    // True while "BRIT NOTCHANGE EVENT" is signalled (a restored count is held).
    virtual bool BritNotChangeHeld() = 0;
    // True once the brightness library's SetBrightnessLevel export has been bound.
    virtual bool BrightnessLibraryBound() = 0;
    virtual void SetBrightnessLevel(int32_t level) = 0;
    // Direction of the last brightness key made on raw input (LPARAM_DEBR or LPARAM_INBR).
    virtual int32_t KWBLastCode() = 0;
};

void StepDown(BrightnessState& state, BIOSCall& bios, ControllerSeam& seam);
void StepUp(BrightnessState& state, BIOSCall& bios, ControllerSeam& seam);
void ShowDeferred(BrightnessState& state, BIOSCall& bios, ControllerSeam& seam);
void BrightnessChanged(BrightnessState& state, BIOSCall& bios, ControllerSeam& seam);
// Hands the BIOS's "PCGB" level to the brightness library, when it is bound.
void SetBrightnessLevelStep(BIOSCall& bios, ControllerSeam& seam);
// Start-up reading: "SOSD" with whatever capacity the previous call left; both values follow.
void ReadStartupLevel(BrightnessState& state, BIOSCall& bios, ControllerSeam& seam);
