// The hotkey thread: the notify-code table and one wake-up with its failures.
#include "input/hotkey.h"

#include "acpi.h"
#include "commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

class FakeHotKey : public HotKeySeam {
  public:
    bool waitOk = true;
    bool readOk = true;
    uint32_t code = 0;
    Log log;

    bool WaitForNotification() override {
        log.push_back("wait");
        return waitOk;
    }
    bool GetNotifyCode(uint32_t& out) override {
        log.push_back("read");
        if (readOk)
            out = code;
        return readOk;
    }
    void ShowNotifyCodeFailure() override { log.push_back("box"); }
    void FindKeyboardWindow() override { log.push_back("find keyboard"); }
    void PostToDialog(int32_t c) override { log.push_back("dialog " + std::to_string(c)); }
    void PostToKeyboard(int32_t c) override { log.push_back("keyboard " + std::to_string(c)); }
    void Trace(const char* line) override { log.push_back(line); }
    void TraceNotifyCode(uint32_t c) override { log.push_back("code " + std::to_string(c)); }
};

TEST(NotifyCodeTableTest, PostsAndVolumeStates) {
    struct Case {
        uint32_t code;
        Log log;
        uint8_t vol1, vol2;
    } cases[] = {
        {0xC4, {"[HotKeyThread] ACPI_NC_MUTE", "keyboard 36"}, VOL_IDLE, VOL_IDLE},
        {0xD0, {"[HotKeyThread] ACPI_NC_SHOW_OSD", "dialog 25"}, VOL_IDLE, VOL_IDLE},
        {0xD9, {"[HotKeyThread] ACPI_NC_SET_BRIGHTNESS", "dialog 160"}, VOL_IDLE, VOL_IDLE},
        {0xD1, {}, VOL_PRESSED, VOL_IDLE},
        {0xD2, {}, VOL_RELEASED, VOL_IDLE},
        {0xD3, {}, VOL_IDLE, VOL_PRESSED},
        {0xD4, {}, VOL_IDLE, VOL_RELEASED},
        {0x00, {}, VOL_IDLE, VOL_IDLE},
        {0xC5, {}, VOL_IDLE, VOL_IDLE},
        {0xD5, {}, VOL_IDLE, VOL_IDLE},
        {0xDA, {}, VOL_IDLE, VOL_IDLE},
        {0xFFFFFFD0, {}, VOL_IDLE, VOL_IDLE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        FakeHotKey seam;
        VolumeKey vol1, vol2;
        ActOnNotifyCode(c.code, vol1, vol2, seam);
        EXPECT_EQ(seam.log, c.log);
        EXPECT_EQ(vol1.State(), c.vol1);
        EXPECT_EQ(vol2.State(), c.vol2);
    }
}

TEST(NotifyCodeTableTest, PressOfAHeldKeyChangesNothing) {
    FakeHotKey seam;
    VolumeKey vol1, vol2;
    ActOnNotifyCode(ACPI_NC_VOL2_PRESS, vol1, vol2, seam);
    vol2.Tick();
    ASSERT_EQ(vol2.State(), VOL_HELD);
    ActOnNotifyCode(ACPI_NC_VOL2_PRESS, vol1, vol2, seam);
    EXPECT_EQ(vol2.State(), VOL_HELD);
    EXPECT_EQ(vol2.Prev(), VOL_PRESSED);
}

TEST(HotKeyPassTest, ReadsOneCodeThenFindsTheKeyboardThenActs) {
    for (uint32_t code : {uint32_t(ACPI_NC_MUTE), 0xC5u}) {
        FakeHotKey seam;
        VolumeKey vol1, vol2;
        seam.code = code;
        EXPECT_TRUE(HotKeyPass(vol1, vol2, seam));
        Log expected = {"wait", "read", "code " + std::to_string(code), "find keyboard"};
        if (code == ACPI_NC_MUTE)
            expected.insert(expected.end(), {"[HotKeyThread] ACPI_NC_MUTE", "keyboard 36"});
        EXPECT_EQ(seam.log, expected);
    }
}

// A failed request shows its box once, changes nothing, and the thread waits again.
TEST(HotKeyPassTest, FailedRequestShowsOneBoxPerFailure) {
    FakeHotKey seam;
    VolumeKey vol1, vol2;
    seam.readOk = false;
    seam.code = ACPI_NC_VOL1_PRESS;
    EXPECT_TRUE(HotKeyPass(vol1, vol2, seam));
    EXPECT_TRUE(HotKeyPass(vol1, vol2, seam));
    EXPECT_EQ(seam.log, (Log{"wait", "read", "box", "wait", "read", "box"}));
    EXPECT_EQ(vol1.State(), VOL_IDLE);
}

// A failed wait neither asks the driver nor shows a box, and ends the thread's loop.
TEST(HotKeyPassTest, FailedWaitEndsTheLoopQuietly) {
    FakeHotKey seam;
    VolumeKey vol1, vol2;
    seam.waitOk = false;
    seam.code = ACPI_NC_SHOW_OSD;
    EXPECT_FALSE(HotKeyPass(vol1, vol2, seam));
    EXPECT_EQ(seam.log, (Log{"wait"}));
}

} // namespace
