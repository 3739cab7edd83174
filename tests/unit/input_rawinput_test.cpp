// The raw input decoder on a table of records.
#include "input/rawinput.h"

#include "commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;
using Bytes = std::vector<uint8_t>;

class FakeRawInput : public RawInputSeam {
  public:
    Log log;
    void SetKWBHeld(int32_t v) override { log.push_back("held " + std::to_string(v)); }
    void SetKWBLastCode(int32_t v) override { log.push_back("last " + std::to_string(v)); }
    void SignalMake() override { log.push_back("make"); }
    void SignalBreak() override { log.push_back("break"); }
    void PostToDialog(int32_t c) override { log.push_back("post " + std::to_string(c)); }
    void Sleep(uint32_t ms) override { log.push_back("sleep " + std::to_string(ms)); }
};

// A record as a 32-bit process receives it: header (type, size, device, wParam), the HID
// size and count, then the reports.
Bytes Record(uint32_t type, std::vector<Bytes> reports = {}) {
    Bytes r(24, 0);
    r[0] = uint8_t(type);
    r[1] = uint8_t(type >> 8);
    r[2] = uint8_t(type >> 16);
    r[3] = uint8_t(type >> 24);
    r[16] = reports.empty() ? 0 : uint8_t(reports[0].size());
    r[20] = uint8_t(reports.size());
    for (const Bytes& report : reports)
        r.insert(r.end(), report.begin(), report.end());
    return r;
}

Bytes Hid(uint8_t id, uint8_t code) {
    return Record(RAW_TYPE_HID, {{id, code}});
}

const Log MAKE_DOWN = {"held 1", "last 17", "make", "post 17", "sleep 30"};
const Log MAKE_UP = {"held 1", "last 18", "make", "post 18", "sleep 30"};

TEST(RawInputTest, RecordsAndTheirEffects) {
    struct Case {
        const char* name;
        Bytes record;
        int result;
        Log log;
    } cases[] = {
        {"release", Hid(8, 0), 1, {"held 0", "break"}},
        {"code 1", Hid(8, 1), 1, {}},
        {"panel key", Hid(8, 2), 1, {"held 1", "post 162"}},
        {"brightness down", Hid(8, 3), 1, MAKE_DOWN},
        {"brightness up", Hid(8, 4), 1, MAKE_UP},
        {"code 5", Hid(8, 5), 1, {}},
        {"code 255", Hid(8, 255), 1, {}},
        {"report 7", Hid(7, 4), 1, {}},
        {"report 9", Hid(9, 3), 1, {}},
        {"report 0", Hid(0, 0), 1, {}},
        {"three reports, first one counts", Record(RAW_TYPE_HID, {{8, 4}, {8, 0}, {8, 3}}), 1,
         MAKE_UP},
        {"three reports, first not 8", Record(RAW_TYPE_HID, {{1, 4}, {8, 4}, {8, 3}}), 1, {}},
        {"keyboard", Record(RAW_TYPE_KEYBOARD, {{8, 4}}), 1, {}},
        {"mouse", Record(0, {{8, 4}}), 0, {}},
        {"unknown type", Record(3, {{8, 4}}), 0, {}},
        {"type in the upper bytes", Record(0x102, {{8, 4}}), 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRawInput seam;
        EXPECT_EQ(DecodeRawInput(c.record.data(), c.record.size(), seam), c.result);
        EXPECT_EQ(seam.log, c.log);
    }
}

// Records cut short at every length: nothing beyond the received bytes is read (the copy
// on the heap has exactly that size, so a sanitizer sees any read past it) and nothing is
// done unless the key code byte arrived.
TEST(RawInputTest, ShortRecordsReadNothingBeyondTheirSize) {
    Bytes full = Hid(8, 4);
    for (std::size_t size = 0; size <= full.size(); ++size) {
        SCOPED_TRACE(size);
        FakeRawInput seam;
        Bytes copy(full.begin(), full.begin() + size);
        int result = DecodeRawInput(copy.data(), copy.size(), seam);
        EXPECT_EQ(result, size < 4 ? 0 : 1);
        EXPECT_EQ(seam.log, size == full.size() ? MAKE_UP : Log{});
    }
}

TEST(RawInputTest, DownThenUpWithoutReleaseLeavesUp) {
    FakeRawInput seam;
    Bytes down = Hid(8, 3), up = Hid(8, 4);
    DecodeRawInput(down.data(), down.size(), seam);
    DecodeRawInput(up.data(), up.size(), seam);
    Log expected = MAKE_DOWN;
    expected.insert(expected.end(), MAKE_UP.begin(), MAKE_UP.end());
    EXPECT_EQ(seam.log, expected);
}

} // namespace
