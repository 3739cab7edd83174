// The raw input reader's decoder: one raw-input record as received (bytes in), its effects
// on the brightness key state through the seam (actions out).
#pragma once

#include <cstddef>
#include <cstdint>

class RawInputSeam {
  public:
    virtual ~RawInputSeam() = default;
    virtual void SetKWBHeld(int32_t value) = 0;
    virtual void SetKWBLastCode(int32_t value) = 0;
    virtual void SignalMake() = 0;  // "KWB MAKE EVENT"
    virtual void SignalBreak() = 0; // "KWB BREAK EVENT"
    virtual void PostToDialog(int32_t command) = 0;
    virtual void Sleep(uint32_t ms) = 0;
};

enum : uint32_t {
    RAW_TYPE_KEYBOARD = 1,
    RAW_TYPE_HID = 2,
};

// Layout of the record as a 32-bit process receives it: the header type at offset 0, the
// first HID report from offset 24 (report ID, then the key code).
constexpr std::size_t RAW_HEADER_TYPE_SIZE = 4;
constexpr std::size_t RAW_REPORT_ID_OFFSET = 24;
constexpr std::size_t RAW_KEY_CODE_OFFSET = 25;
constexpr uint8_t BRIGHTNESS_REPORT_ID = 8;

// Decodes the first report of a record of size bytes. Returns 1 for a keyboard or HID
// record, 0 for any other type or a record too short to hold its type. Nothing beyond size
// is read; a HID record too short for the two report bytes does nothing.
int DecodeRawInput(const uint8_t* record, std::size_t size, RawInputSeam& seam);
