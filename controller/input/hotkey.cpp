#include "input/hotkey.h"

#include "acpi.h"
#include "commands.h"

void ActOnNotifyCode(uint32_t code, VolumeKey& vol1, VolumeKey& vol2, HotKeySeam& seam) {
    switch (code) {
    case ACPI_NC_MUTE:
        seam.Trace("[HotKeyThread] ACPI_NC_MUTE");
        seam.PostToKeyboard(LPARAM_MUTE);
        break;
    case ACPI_NC_SHOW_OSD:
        seam.Trace("[HotKeyThread] ACPI_NC_SHOW_OSD");
        seam.PostToDialog(LPARAM_SHOW_OSD);
        break;
    case ACPI_NC_VOL1_PRESS:
        vol1.Press();
        break;
    case ACPI_NC_VOL1_RELEASE:
        vol1.Release();
        break;
    case ACPI_NC_VOL2_PRESS:
        vol2.Press();
        break;
    case ACPI_NC_VOL2_RELEASE:
        vol2.Release();
        break;
    case ACPI_NC_SET_BRIGHTNESS:
        seam.Trace("[HotKeyThread] ACPI_NC_SET_BRIGHTNESS");
        seam.PostToDialog(LPARAM_SET_BRIGHTNESS);
        break;
    default:
        break;
    }
}

bool HotKeyPass(VolumeKey& vol1, VolumeKey& vol2, HotKeySeam& seam) {
    if (!seam.WaitForNotification())
        return false;
    uint32_t code = 0;
    if (!seam.GetNotifyCode(code)) {
        seam.ShowNotifyCodeFailure();
        return true;
    }
    seam.TraceNotifyCode(code);
    seam.FindKeyboardWindow();
    ActOnNotifyCode(code, vol1, vol2, seam);
    return true;
}
