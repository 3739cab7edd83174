#include "core/brightness.h"

#include "commands.h"

namespace {

bool MultipleOfTen(int32_t level) {
    return level % 10 == 0;
}

// Level shown for a down step: a negative count shows as 0.
int32_t NotNegative(int32_t level) {
    return level < 0 ? 0 : level;
}

// BIOS levels come from outside; compare in 64 bits so no value can overflow.
bool TenAway(int32_t count, int32_t save, int direction) {
    return static_cast<int64_t>(count) == static_cast<int64_t>(save) + 10 * direction;
}

void ShowOrDefer(BrightnessState& state, ControllerSeam& seam, int id, int32_t level) {
    if (state.BIOSStepped == 1)
        state.OSDPending = 1;
    else
        seam.NotifyPopup(id, level);
}

} // namespace

void StepDown(BrightnessState& state, BIOSCall& bios, ControllerSeam& seam) {
    int32_t& count = state.BRIGHTNESSCount;
    if (static_cast<uint32_t>(count) <= 101u)
        --count;
    if (MultipleOfTen(count) && state.BIOSStepped == 0 &&
        TenAway(count, state.BRIGHTNESSSave, -1)) {
        seam.CallBIOSMethod("DEBR", bios);
        state.BIOSStepped = 1;
    } else {
        state.BIOSStepped = 0;
    }
    ShowOrDefer(state, seam, OSD_BRIGHTNESS_DOWN, NotNegative(count));
}

void StepUp(BrightnessState& state, BIOSCall& bios, ControllerSeam& seam) {
    int32_t& count = state.BRIGHTNESSCount;
    if (count != -2 && static_cast<uint32_t>(count) + 1u <= 101u)
        ++count;
    if (count == -2) {
        seam.CallBIOSMethod("INBR", bios);
        state.BIOSStepped = 1;
    } else if (MultipleOfTen(count) && state.BIOSStepped == 0 && count != 0 &&
               TenAway(count, state.BRIGHTNESSSave, +1)) {
        seam.CallBIOSMethod("INBR", bios);
        state.BIOSStepped = 1;
    } else {
        state.BIOSStepped = 0;
    }
    ShowOrDefer(state, seam, OSD_BRIGHTNESS_UP, count);
}

void ShowDeferred(BrightnessState& state, BIOSCall& bios, ControllerSeam& seam) {
    if (state.OSDPending != 0) {
        seam.CallBIOSMethod("SOSD", bios);
        state.BRIGHTNESSSave = bios.BIOSResult();
        const int32_t count = state.BRIGHTNESSCount;
        switch (seam.KWBLastCode()) {
        case LPARAM_INBR:
            seam.NotifyPopup(OSD_BRIGHTNESS_UP, count);
            break;
        case LPARAM_DEBR:
            seam.NotifyPopup(OSD_BRIGHTNESS_DOWN, NotNegative(count));
            break;
        default:
            break;
        }
    }
    state.OSDPending = 0;
}

void BrightnessChanged(BrightnessState& state, BIOSCall& bios, ControllerSeam& seam) {
    seam.CallBIOSMethod("ITLV", bios);
    seam.CallBIOSMethod("SOSD", bios);
    state.BRIGHTNESSSave = bios.BIOSResult();
    if (!seam.BritNotChangeHeld())
        state.BRIGHTNESSCount = bios.BIOSResult();
}

void SetBrightnessLevelStep(BIOSCall& bios, ControllerSeam& seam) {
    if (!seam.BrightnessLibraryBound())
        return;
    bios.BIOSOutSize = BIOS_OUT_BUFFER_SIZE;
    seam.CallBIOSMethod("PCGB", bios);
    seam.SetBrightnessLevel(bios.BIOSResult());
}

void ReadStartupLevel(BrightnessState& state, BIOSCall& bios, ControllerSeam& seam) {
    seam.CallBIOSMethod("SOSD", bios);
    state.BRIGHTNESSSave = bios.BIOSResult();
    state.BRIGHTNESSCount = bios.BIOSResult();
}
