#include "core/dispatch.h"

#include "commands.h"

void DispatchOSDCommand(uint32_t wParam, int32_t lParam, BrightnessState& state, BIOSCall& bios,
                        ControllerSeam& seam) {
    if (wParam != OSD_COMMAND_WPARAM)
        return;
    bios.BIOSOutSize = BIOS_OUT_BUFFER_SIZE;
    switch (lParam) {
    case LPARAM_AP00:
        seam.CallBIOSMethod("AP00", bios);
        break;
    case LPARAM_DEBR:
        StepDown(state, bios, seam);
        break;
    case LPARAM_INBR:
        StepUp(state, bios, seam);
        break;
    case LPARAM_SHOW_OSD:
        ShowDeferred(state, bios, seam);
        break;
    case LPARAM_SET_BRIGHTNESS:
        SetBrightnessLevelStep(bios, seam);
        break;
    case LPARAM_TLCD:
        seam.CallBIOSMethod("TLCD", bios);
        break;
    case LPARAM_BRIT_CHANGED:
        BrightnessChanged(state, bios, seam);
        break;
    default: // the keyboard program's codes 32 to 36 and every unlisted code
        break;
    }
}
