#include "input/rawinput.h"

#include "commands.h"

namespace {

enum : uint8_t {
    KEY_BREAK = 0,
    KEY_PANEL = 2,
    KEY_BRIGHTNESS_DOWN = 3,
    KEY_BRIGHTNESS_UP = 4,
};

constexpr uint32_t AFTER_MAKE_MS = 30;

uint32_t ReadU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The held value and the code are written before the make is signalled, so the repeat
// worker sees both when it wakes.
void MakeBrightnessKey(int32_t command, RawInputSeam& seam) {
    seam.SetKWBHeld(1);
    seam.SetKWBLastCode(command);
    seam.SignalMake();
    seam.PostToDialog(command);
    seam.Sleep(AFTER_MAKE_MS);
}

void ActOnKeyCode(uint8_t code, RawInputSeam& seam) {
    switch (code) {
    case KEY_BREAK:
        seam.SetKWBHeld(0);
        seam.SignalBreak();
        break;
    case KEY_PANEL:
        seam.SetKWBHeld(1);
        seam.PostToDialog(LPARAM_TLCD);
        break;
    case KEY_BRIGHTNESS_DOWN:
        MakeBrightnessKey(LPARAM_DEBR, seam);
        break;
    case KEY_BRIGHTNESS_UP:
        MakeBrightnessKey(LPARAM_INBR, seam);
        break;
    default:
        break;
    }
}

} // namespace

int DecodeRawInput(const uint8_t* record, std::size_t size, RawInputSeam& seam) {
    if (size < RAW_HEADER_TYPE_SIZE)
        return 0;
    uint32_t type = ReadU32(record);
    if (type == RAW_TYPE_KEYBOARD)
        return 1;
    if (type != RAW_TYPE_HID)
        return 0;
    if (size > RAW_KEY_CODE_OFFSET && record[RAW_REPORT_ID_OFFSET] == BRIGHTNESS_REPORT_ID)
        ActOnKeyCode(record[RAW_KEY_CODE_OFFSET], seam);
    return 1;
}
