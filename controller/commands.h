// The controller's private command message and the one table of its command codes, plus the
// ids of the display commands it sends to the popup.
#pragma once

#include <cstdint>

// WM_USER + 0x101. Every poster uses PostMessageA with wParam OSD_COMMAND_WPARAM and the
// command code in lParam.
constexpr unsigned WM_OSD_COMMAND = 0x0501;
constexpr uint32_t OSD_COMMAND_WPARAM = 0x200;

// Command codes (lParam of WM_OSD_COMMAND).
enum : int32_t {
    LPARAM_AP00 = 16,            // dialog: BIOS method "AP00"
    LPARAM_DEBR = 17,            // dialog: brightness down step
    LPARAM_INBR = 18,            // dialog: brightness up step
    LPARAM_SHOW_OSD = 25,        // dialog: show the deferred brightness level
    LPARAM_VOL1_HELD = 32,       // keyboard program (the dialog ignores 32 to 36)
    LPARAM_VOL1_RELEASED = 33,   // keyboard program
    LPARAM_VOL2_HELD = 34,       // keyboard program
    LPARAM_VOL2_RELEASED = 35,   // keyboard program
    LPARAM_MUTE = 36,            // keyboard program
    LPARAM_SET_BRIGHTNESS = 160, // dialog: hand the BIOS level to the brightness library
    LPARAM_TLCD = 162,           // dialog: BIOS method "TLCD"
    LPARAM_BRIT_CHANGED = 163,   // dialog: re-read the BIOS level
};

// Display command ids of the popup (low word of the WM_COMMAND wParam).
enum : int {
    OSD_VOLUME_UP = 48,
    OSD_VOLUME_DOWN = 49,
    OSD_MUTE_ON = 50,
    OSD_MUTE_OFF = 51,
    OSD_BRIGHTNESS_UP = 208,
    OSD_BRIGHTNESS_DOWN = 224,
};
