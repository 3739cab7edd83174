// The raw input decoder over arbitrary records: it reads nothing past the record (the
// sanitizers watch), and whatever it decodes leaves the brightness key state consistent.
#include "fuzz_check.h"
#include "input/rawinput.h"

#include "commands.h"

#include <cstdint>
#include <vector>

namespace {

class CheckingSeam : public RawInputSeam {
  public:
    void SetKWBHeld(int32_t value) override {
        FUZZ_CHECK(value == 0 || value == 1);
        held = value;
    }
    void SetKWBLastCode(int32_t value) override {
        FUZZ_CHECK(value == LPARAM_INBR || value == LPARAM_DEBR);
        lastCode = value;
    }
    void SignalMake() override {
        // The repeat worker reads both values when it wakes: they must be in place.
        FUZZ_CHECK(held == 1 && lastCode != 0);
        ++makes;
    }
    void SignalBreak() override {
        FUZZ_CHECK(held == 0);
        ++breaks;
    }
    void PostToDialog(int32_t command) override {
        FUZZ_CHECK(command == LPARAM_INBR || command == LPARAM_DEBR || command == LPARAM_TLCD);
        ++posts;
    }
    void Sleep(uint32_t ms) override { FUZZ_CHECK(ms > 0 && ms <= 100); }

    int32_t held = -1;
    int32_t lastCode = 0;
    int makes = 0, breaks = 0, posts = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact copy, so that a read one byte past the record is caught.
    std::vector<uint8_t> record(data, data + size);
    CheckingSeam seam;
    const int result = DecodeRawInput(record.data(), record.size(), seam);
    FUZZ_CHECK(result == 0 || result == 1);
    // One record carries one report: at most one make, break or post.
    FUZZ_CHECK(seam.makes + seam.breaks <= 1 && seam.posts <= 1);
    if (result == 0)
        FUZZ_CHECK(seam.held == -1 && seam.posts == 0);
    return 0;
}
