// Long runs of the real programs under Wine: ten thousand display commands to Lumetta, ten
// thousand commands to Corlane with the simulated driver, twenty console disconnect and
// connect cycles through Relaine. Each ends with no crash, no process left behind, the
// handle count and memory of the program near where they started and, for Lumetta, a
// whole frame on screen: a paint that leaked its brushes or regions would have run out of
// GDI objects long before the end.
#include "corlane_support.h"
#include "harness.h"
#include "screen.h"
#include "simulator.h"
#include "soak_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int COMMANDS = 10000;
constexpr ULONG HANDLE_SLACK = 16;
constexpr SIZE_T MEMORY_SLACK = 8u << 20;
constexpr COLORREF BACKDROP = RGB(0, 200, 0);
constexpr COLORREF BAR = RGB(10, 101, 156);
constexpr RECT BAND = {0, 926, 1920, 926 + 114};
constexpr UINT WM_WTSSESSION_CHANGE_MESSAGE = 0x02B1;
constexpr WPARAM CONSOLE_CONNECT = 1, CONSOLE_DISCONNECT = 2;
constexpr WPARAM POWER_SUSPEND = 4, POWER_RESUME_AUTOMATIC = 0x12;

void ExpectNearBaseline(const soak::Usage& before, const soak::Usage& after) {
    ASSERT_TRUE(before.found && after.found);
    EXPECT_LE(after.handles, before.handles + HANDLE_SLACK);
    EXPECT_LE(after.privateBytes, before.privateBytes + MEMORY_SLACK);
}

void ExpectNothingLeft() {
    harness::KillSystem();
    for (const char* image : {"Relaine.exe", "Corlane.exe", "Lumetta.exe"})
        EXPECT_TRUE(harness::ProcessIds(image).empty()) << image;
}

class Soak : public testing::Test {
  protected:
    void SetUp() override { harness::KillSystem(); }
    void TearDown() override {
        EXPECT_FALSE(harness::CrashSeen());
        ExpectNothingLeft();
        sim::RemoveAll();
    }
};

// Segment i starts at truncate((2i-2) * 9.6) on a 1920-pixel band; the bar is at y 75 to 103.
void ExpectBrightnessFrame(const screen::Capture& c, int level) {
    ASSERT_EQ(c.width, 1920);
    for (int i = 1; i <= 100; ++i) {
        const int left = static_cast<int>((2 * i - 2) * 9.6000003814697265625);
        EXPECT_EQ(c.At(left + 4, 90), i <= level ? BAR : BACKDROP) << "segment " << i;
    }
    EXPECT_NE(c.At(925 + 35, 34), BACKDROP) << "the sun picture";
}

TEST_F(Soak, LumettaPaintsTenThousandCommandsAndStillDrawsAWholeFrame) {
    harness::Process lumetta = harness::Start(harness::BinDir() + "\\Lumetta.exe");
    HWND popup = harness::WaitForWindow("LUMETTA", "LUMETTA", 10000);
    ASSERT_NE(popup, nullptr);
    auto hidden = [&] { return !IsWindowVisible(popup); };
    SendMessageA(popup, WM_COMMAND, MAKEWPARAM(soak::OSD_BRIGHTNESS_UP, 50), 0);
    SendMessageA(popup, WM_PAINT, 0, 0);
    ASSERT_TRUE(harness::WaitUntil(hidden, 3000));
    const soak::Usage before = soak::UsageOf(lumetta.Id());

    const WORD ids[] = {48, 49, 50, 51, soak::OSD_BRIGHTNESS_UP, soak::OSD_BRIGHTNESS_DOWN};
    for (int i = 0; i < COMMANDS; ++i) {
        SendMessageA(popup, WM_COMMAND, MAKEWPARAM(ids[i % 6], i % 101), 0);
        SendMessageA(popup, WM_PAINT, 0, 0); // one whole paint per command
    }
    ASSERT_TRUE(lumetta.Running());
    ASSERT_TRUE(harness::WaitUntil(hidden, 3000));
    ExpectNearBaseline(before, soak::UsageOf(lumetta.Id()));

    screen::Backdrop backdrop(BAND, BACKDROP); // made while the popup is hidden
    screen::Pump(100);
    SendMessageA(popup, WM_COMMAND, MAKEWPARAM(soak::OSD_BRIGHTNESS_UP, 50), 0);
    ASSERT_TRUE(harness::WaitUntil([&] { return IsWindowVisible(popup) != FALSE; }, 2000));
    screen::Pump(60);
    ExpectBrightnessFrame(screen::GrabSettled(BAND, 400), 50);
}

// Corlane with the simulated driver and a stand-in popup that records what it is told. The
// count moves in runs of eight steps between 50 and 58, never ten from the BIOS level, so
// every step is shown at once and the test knows the count; BIOS method commands and
// readings of the unchanged BIOS level come in between. After each batch the count is
// stored at suspend (a 4-byte record of the count) and taken back at resume.
class CorlaneSoak : public Soak {
  protected:
    void SetUp() override {
        Soak::SetUp();
        ASSERT_TRUE(sim::InstallDriver());
        ASSERT_TRUE(sim::InstallLibrary());
        corlane::MakeWorkFolder();
        CreateDirectoryA("C:\\corlane-test\\ProgramData", nullptr);
        DeleteFileA(corlane::RecordPath().c_str());
        corlane_ = corlane::StartCorlane();
        dialog_ = corlane::WaitForDialog(15000);
        ASSERT_NE(dialog_, nullptr);
        ASSERT_TRUE(corlane::PumpUntil([] { return !sim::LibraryCalls().empty(); }, 10000));
    }
    void TearDown() override {
        DeleteFileA(corlane::RecordPath().c_str());
        Soak::TearDown();
    }

    // Every command before it has been handled once the library call it makes arrives.
    void WaitHandled() {
        const size_t calls = sim::LibraryCalls().size();
        soak::PostPersistently(dialog_, soak::LPARAM_SET_BRIGHTNESS);
        ASSERT_TRUE(corlane::PumpUntil([&] { return sim::LibraryCalls().size() > calls; }, 30000));
    }

    void Step(bool up, int32_t& count) {
        soak::PostPersistently(dialog_, up ? soak::LPARAM_INBR : soak::LPARAM_DEBR);
        count += up ? 1 : -1;
        expected_.push_back(
            corlane::Show(up ? soak::OSD_BRIGHTNESS_UP : soak::OSD_BRIGHTNESS_DOWN, count));
    }

    void ExpectRecordOfCount(int32_t count) {
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutA(dialog_, WM_POWERBROADCAST, POWER_SUSPEND, 0, SMTO_NORMAL,
                                        10000, &result));
        bool exists = false;
        const std::vector<uint8_t> record = soak::ReadFileBytes(corlane::RecordPath(), &exists);
        ASSERT_TRUE(exists);
        ASSERT_EQ(record.size(), 4u);
        EXPECT_EQ(soak::IntAt(record, 0), count);
        ASSERT_TRUE(SendMessageTimeoutA(dialog_, WM_POWERBROADCAST, POWER_RESUME_AUTOMATIC, 0,
                                        SMTO_NORMAL, 10000, &result));
        soak::ReadFileBytes(corlane::RecordPath(), &exists);
        EXPECT_FALSE(exists) << "resume takes the record back";
    }

    harness::Process corlane_;
    HWND dialog_ = nullptr;
    corlane::PopupRecorder popup_;
    std::vector<std::string> expected_;
};

TEST_F(CorlaneSoak, TenThousandCommandsAreAllShownAndTheRecordAlwaysHoldsTheCount) {
    const soak::Usage before = soak::UsageOf(corlane_.Id());
    int32_t count = sim::INITIAL_LEVEL;
    constexpr int BATCH = 500;
    for (int sent = 0; sent < COMMANDS; sent += BATCH) {
        for (int i = 0; i < BATCH; ++i) {
            const int n = sent + i;
            if (n % 25 == 0)
                soak::PostPersistently(dialog_, n % 50 ? soak::LPARAM_TLCD : soak::LPARAM_SHOW_OSD);
            else if (n % 16 == 0 && count == sim::INITIAL_LEVEL)
                soak::PostPersistently(dialog_, soak::LPARAM_BRIT_CHANGED);
            else
                Step((n / 8) % 2 == 0, count);
        }
        WaitHandled();
        ASSERT_TRUE(popup_.WaitForCommands(expected_.size(), 30000));
        ExpectRecordOfCount(count);
        ASSERT_TRUE(corlane_.Running());
    }
    ASSERT_EQ(popup_.Commands(), expected_);
    ExpectNearBaseline(before, soak::UsageOf(corlane_.Id()));
    EXPECT_EQ(sim::Level(), sim::INITIAL_LEVEL) << "no step reached the BIOS";
}

HWND RelaineWindow() {
    return FindWindowA("RELAINESWITCHING", nullptr);
}

bool OneEach() {
    return harness::ProcessIds("Corlane.exe").size() == 1 &&
           harness::ProcessIds("Lumetta.exe").size() == 1 && corlane::FindDialog() &&
           FindWindowA("LUMETTA", "LUMETTA");
}

bool NoneOfThem() {
    return harness::ProcessIds("Corlane.exe").empty() && harness::ProcessIds("Lumetta.exe").empty();
}

bool SendSessionChange(WPARAM change) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(RelaineWindow(), WM_WTSSESSION_CHANGE_MESSAGE, change, 0,
                               SMTO_NORMAL, 20000, &result) != 0;
}

void ExpectRecordIsAStoredCount(const std::string& path) {
    bool exists = false;
    const std::vector<uint8_t> record = soak::ReadFileBytes(path, &exists);
    if (!exists)
        return;
    ASSERT_TRUE(record.size() == 0 || record.size() == 4 || record.size() == 8) << record.size();
    if (record.size() >= 4) {
        EXPECT_GE(soak::IntAt(record, 0), 0);
        EXPECT_LE(soak::IntAt(record, 0), 101);
    }
}

TEST_F(Soak, RelaineRestartsTheSystemOverTwentyDisconnectAndConnectCycles) {
    ASSERT_TRUE(sim::InstallDriver());
    ASSERT_TRUE(sim::InstallLibrary());
    corlane::MakeWorkFolder();
    harness::Process relaine =
        harness::Start(harness::BinDir() + "\\Relaine.exe", "", corlane::WorkFolder());
    ASSERT_TRUE(harness::WaitUntil(OneEach, 15000, 20));
    ASSERT_NE(RelaineWindow(), nullptr);
    const soak::Usage before = soak::UsageOf(relaine.Id());
    for (int cycle = 0; cycle < 20; ++cycle) {
        SCOPED_TRACE(cycle);
        ASSERT_TRUE(SendSessionChange(CONSOLE_DISCONNECT));
        ASSERT_TRUE(harness::WaitUntil(NoneOfThem, 10000, 20));
        ASSERT_TRUE(SendSessionChange(CONSOLE_CONNECT));
        ASSERT_TRUE(harness::WaitUntil(OneEach, 15000, 20));
        ASSERT_TRUE(relaine.Running());
        ExpectRecordIsAStoredCount(corlane::RecordPath());
    }
    ExpectNearBaseline(before, soak::UsageOf(relaine.Id()));
}

} // namespace
