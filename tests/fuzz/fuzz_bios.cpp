// The handling of BIOS method results over arbitrary driver answers: the input is a series
// of dialog commands, each followed by what the driver answers to the method calls the
// command makes (success or failure, the byte count, the value at offset 16). Properties:
// no call is passed a capacity larger than the shared buffer, only the known methods are
// called, the popup gets only brightness displays and never a negative level for a down
// step, and BIOSResult reads the value the driver left at offset 16.
#include "acpi.h"
#include "core/dispatch.h"
#include "fuzz_check.h"

#include "commands.h"

#include <cstdint>
#include <cstring>

namespace {

class Input {
  public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint32_t U32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= uint32_t(Byte()) << (8 * i);
        return v;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

bool KnownMethod(const char* name) {
    for (const char* known : {"PCGB", "SOSD", "ITLV", "INBR", "DEBR", "TLCD", "AP00"})
        if (std::strncmp(name, known, 4) == 0)
            return true;
    return false;
}

int32_t LittleEndianAt16(const BIOSCall& call) {
    const uint8_t* p = call.BIOSOutBuffer + BIOS_RESULT_OFFSET;
    return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                                uint32_t(p[3]) << 24);
}

class DriverSeam : public ControllerSeam {
  public:
    explicit DriverSeam(Input& input) : input_(input) {}

    bool CallBIOSMethod(const char* name, BIOSCall& call) override {
        FUZZ_CHECK(KnownMethod(name));
        FUZZ_CHECK(call.BIOSOutSize <= BIOS_OUT_BUFFER_SIZE);
        const uint8_t answer = input_.Byte();
        const uint32_t value = input_.U32();
        if (answer & 1)
            return false; // a failed request leaves the buffer and the size alone
        const uint32_t returned = (answer >> 1) % (call.BIOSOutSize + 1);
        if (returned >= BIOS_RESULT_OFFSET + 4)
            for (int i = 0; i < 4; ++i)
                call.BIOSOutBuffer[BIOS_RESULT_OFFSET + i] = uint8_t(value >> (8 * i));
        call.BIOSOutSize = returned;
        FUZZ_CHECK(call.BIOSResult() == LittleEndianAt16(call));
        return true;
    }
    void NotifyPopup(int id, int32_t level) override {
        FUZZ_CHECK(id == OSD_BRIGHTNESS_UP || id == OSD_BRIGHTNESS_DOWN);
        if (id == OSD_BRIGHTNESS_DOWN)
            FUZZ_CHECK(level >= 0);
    }
    bool BritNotChangeHeld() override { return input_.Byte() & 1; }
    bool BrightnessLibraryBound() override { return input_.Byte() & 1; }
    void SetBrightnessLevel(int32_t) override {}
    int32_t KWBLastCode() override { return input_.Byte() & 1 ? LPARAM_INBR : LPARAM_DEBR; }

  private:
    Input& input_;
};

constexpr int32_t COMMANDS[] = {
    LPARAM_AP00,           LPARAM_DEBR, LPARAM_INBR,         LPARAM_SHOW_OSD,
    LPARAM_SET_BRIGHTNESS, LPARAM_TLCD, LPARAM_BRIT_CHANGED, LPARAM_MUTE};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input input(data, size);
    DriverSeam seam(input);
    BrightnessState state;
    BIOSCall bios;
    bios.BIOSOutSize = input.U32() % (BIOS_OUT_BUFFER_SIZE + 1); // what an earlier call left
    ReadStartupLevel(state, bios, seam);
    while (!input.Empty()) {
        const uint8_t pick = input.Byte();
        const uint32_t wParam = pick & 0x80 ? pick : OSD_COMMAND_WPARAM;
        DispatchOSDCommand(wParam, COMMANDS[pick % 8], state, bios, seam);
        FUZZ_CHECK(bios.BIOSResult() == LittleEndianAt16(bios));
    }
    return 0;
}
