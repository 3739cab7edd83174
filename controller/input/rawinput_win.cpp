// The raw input reader: the three HID collections the dialog registers for, and the reading
// of each WM_INPUT record into the decoder.
#include "input/rawinput.h"

#include "commands.h"
#include "core/globals_win.h"
#include "input/sources_win.h"

#include <vector>

namespace {

class PlatformRawInput : public RawInputSeam {
  public:
    void SetKWBHeld(int32_t value) override { KWBHeld = value; }
    void SetKWBLastCode(int32_t value) override { KWBLastCode = value; }
    void SignalMake() override { SetEvent(gKWBMakeEvent); }
    void SignalBreak() override { SetEvent(gKWBBreakEvent); }
    void PostToDialog(int32_t command) override {
        PostMessageA(gHWND_DIALOG, WM_OSD_COMMAND, OSD_COMMAND_WPARAM, command);
    }
    void Sleep(uint32_t ms) override { ::Sleep(ms); }
};

void RegisterCollection(HWND dialog, USHORT usagePage, USHORT usage) {
    RAWINPUTDEVICE device = {usagePage, usage, RIDEV_INPUTSINK, dialog};
    RegisterRawInputDevices(&device, 1, sizeof device);
}

} // namespace

void RegisterRawInput(HWND dialog) {
    RegisterCollection(dialog, 0xFF01, 0x04);
    RegisterCollection(dialog, 0x0009, 0x01);
    RegisterCollection(dialog, 0xFFBC, 0x89);
}

// A handle that is no raw input handle (a WM_KEYDOWN lParam) makes GetRawInputData fail: then
// nothing is read and nothing posted. Only the bytes the second call delivered are decoded.
void ReadRawInput(LPARAM rawInput) {
    HRAWINPUT handle = reinterpret_cast<HRAWINPUT>(rawInput);
    UINT size = 0;
    if (GetRawInputData(handle, RID_INPUT, nullptr, &size, sizeof(RAWINPUTHEADER)) != 0 ||
        size == 0)
        return;
    std::vector<uint8_t> record(size);
    UINT received =
        GetRawInputData(handle, RID_INPUT, record.data(), &size, sizeof(RAWINPUTHEADER));
    if (received == static_cast<UINT>(-1) || received > record.size())
        return;
    PlatformRawInput seam;
    DecodeRawInput(record.data(), received, seam);
}
