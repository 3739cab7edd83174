// Corlane, Lumetta and Relaine with parts missing or failing: no popup program, a record
// folder that is missing or takes no file, a driver that fails every request, the keyboard
// program absent or closed while a volume key is held, a hung popup, and corrupt records.
// Each time nothing may be lost that the rest of the system could keep, and the rest works.
#include "corlane_support.h"
#include "harness.h"
#include "simulator.h"
#include "soak_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#ifndef FAULT_HUNG_POPUP
#error FAULT_HUNG_POPUP names the program of a popup that stops answering
#endif

namespace {

using namespace corlane;
using soak::LPARAM_BRIT_CHANGED;
using soak::LPARAM_DEBR;
using soak::LPARAM_INBR;
using soak::LPARAM_SET_BRIGHTNESS;

constexpr WPARAM POWER_SUSPEND = 4, POWER_RESUME_AUTOMATIC = 0x12;
constexpr int UP = soak::OSD_BRIGHTNESS_UP;
const std::string PROGRAM_DATA = "C:\\corlane-test\\ProgramData";

class Fault : public CleanState {
  protected:
    void SetUp() override {
        CleanState::SetUp();
        ASSERT_TRUE(sim::InstallDriver());
        ASSERT_TRUE(sim::InstallLibrary());
        MakeWorkFolder();
        CreateDirectoryA(PROGRAM_DATA.c_str(), nullptr);
    }
    void TearDown() override {
        EXPECT_FALSE(harness::CrashSeen());
        harness::KillSystem();
        harness::KillAll("fault_hung_popup.exe");
        sim::RemoveAll();
        SetFileAttributesA(RecordPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(RecordPath().c_str());
        RemoveDirectoryA(RecordPath().c_str());
        CleanState::TearDown();
    }

    // Starts Corlane from exe (the build's by default) and waits until its start-up is over:
    // the library has had its first level.
    void StartCorlaneAndWait(const std::string& exe = harness::BinDir() + "\\Corlane.exe") {
        corlane_ = harness::Start(exe, "", WorkFolder());
        ASSERT_TRUE(corlane_.Started());
        dialog_ = WaitForDialog(15000);
        ASSERT_NE(dialog_, nullptr);
        ASSERT_TRUE(PumpUntil([] { return !sim::LibraryCalls().empty(); }, 10000));
        // A sent message is handled once the dialog's start-up, with its restore, is over.
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutA(dialog_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result));
    }

    // Every command posted before has been handled once its library call arrives.
    bool WaitHandled(DWORD timeout_ms = 10000) {
        const size_t calls = sim::LibraryCalls().size();
        PostCommand(dialog_, LPARAM_SET_BRIGHTNESS);
        return PumpUntil([&] { return sim::LibraryCalls().size() > calls; }, timeout_ms);
    }

    bool SendPower(WPARAM event) {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(dialog_, WM_POWERBROADCAST, event, 0, SMTO_NORMAL, 10000,
                                   &result) != 0;
    }

    std::vector<uint8_t> Record(bool* exists) { return soak::ReadFileBytes(RecordPath(), exists); }

    // The last display the popup stand-in was told.
    std::string LastShown() { return popup_->Commands().empty() ? "" : popup_->Commands().back(); }

    // One up step, shown at once: the popup is told the count.
    void ExpectUpStepShows(int level) {
        const size_t before = popup_->Commands().size();
        PostCommand(dialog_, LPARAM_INBR);
        ASSERT_TRUE(popup_->WaitForCommands(before + 1, 5000));
        EXPECT_EQ(LastShown(), Show(UP, level));
    }

    void ExpectSuspendStores(int32_t count) {
        ASSERT_TRUE(SendPower(POWER_SUSPEND));
        bool exists = false;
        const std::vector<uint8_t> record = Record(&exists);
        ASSERT_TRUE(exists);
        ASSERT_EQ(record.size(), 4u);
        EXPECT_EQ(soak::IntAt(record, 0), count);
    }

    // The popup Corlane finds, standing in for Lumetta; a test may take it away.
    std::unique_ptr<PopupRecorder> popup_ = std::make_unique<PopupRecorder>();
    harness::Process corlane_;
    HWND dialog_ = nullptr;
};

// --- the popup program is missing ----------------------------------------------------------

const std::string LONE_FOLDER = "C:\\corlane-test\\lone";

TEST_F(Fault, WithoutLumettaExeRelaineAndCorlaneRunAndTheCountIsKept) {
    CreateDirectoryA(LONE_FOLDER.c_str(), nullptr);
    for (const char* name : {"Relaine.exe", "Corlane.exe"})
        ASSERT_TRUE(CopyFileA((harness::BinDir() + "\\" + name).c_str(),
                              (LONE_FOLDER + "\\" + name).c_str(), FALSE));
    popup_.reset(); // no popup window at all: Corlane looks for Lumetta.exe
    harness::Process relaine = harness::Start(LONE_FOLDER + "\\Relaine.exe", "", WorkFolder());
    ASSERT_TRUE(PumpUntil([] { return FindDialog() != nullptr; }, 15000));
    dialog_ = FindDialog();
    ASSERT_TRUE(PumpUntil([] { return !sim::LibraryCalls().empty(); }, 10000));
    EXPECT_TRUE(harness::ProcessIds("Lumetta.exe").empty());
    for (int i = 0; i < 10; ++i)
        PostCommand(dialog_, LPARAM_INBR);
    ASSERT_TRUE(WaitHandled());
    // The tenth step went to the BIOS; the driver's show notification reads the new level.
    EXPECT_TRUE(PumpUntil([] { return sim::Level() == 60; }, 5000));
    ExpectSuspendStores(60);
    EXPECT_TRUE(relaine.Running());
    harness::KillSystem();
    for (const char* name : {"Relaine.exe", "Corlane.exe"})
        DeleteFileA((LONE_FOLDER + "\\" + name).c_str());
    RemoveDirectoryA(LONE_FOLDER.c_str());
}

// --- the record cannot be written --------------------------------------------------------

// A record file, not a folder in its place.
bool RecordFileExists() {
    const DWORD attributes = GetFileAttributesA(RecordPath().c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

struct UnwritableRecord {
    const char* name;
    void (*make)();
    void (*mend)();
};

const UnwritableRecord UNWRITABLE[] = {
    {"folder missing", [] { RemoveDirectoryA(PROGRAM_DATA.c_str()); },
     [] { CreateDirectoryA(PROGRAM_DATA.c_str(), nullptr); }},
    // Tests run as root, where Wine lets a read-only folder or file take the record all the
    // same: a folder standing where the record goes refuses it as a read-only folder would.
    {"record path taken by a folder", [] { CreateDirectoryA(RecordPath().c_str(), nullptr); },
     [] { RemoveDirectoryA(RecordPath().c_str()); }},
};

TEST_F(Fault, AnUnwritableRecordLosesNothingOnceItCanBeWrittenAgain) {
    StartCorlaneAndWait();
    int32_t count = sim::INITIAL_LEVEL;
    for (const UnwritableRecord& u : UNWRITABLE) {
        SCOPED_TRACE(u.name);
        u.make();
        ExpectUpStepShows(++count);
        ASSERT_TRUE(SendPower(POWER_SUSPEND));
        EXPECT_FALSE(RecordFileExists());
        EXPECT_TRUE(corlane_.Running());
        ExpectUpStepShows(++count);
        u.mend();
        ExpectSuspendStores(count);
        ASSERT_TRUE(SendPower(POWER_RESUME_AUTOMATIC));
        EXPECT_FALSE(RecordFileExists()) << "resume takes the record back";
    }
}

// --- the driver fails every request ------------------------------------------------------

TEST_F(Fault, ADriverFailingEveryRequestLeavesTheCountAndTheRecordWorking) {
    for (uint32_t request : {sim::ASSIGN_EVENT, sim::CALL_METHOD, sim::GET_NOTIFY_CODE, sim::INIT})
        ASSERT_TRUE(sim::FailRequest(request));
    corlane_ = StartCorlane();
    EXPECT_EQ(DismissBox(15000), BOX_ASSIGN_FAILED);
    dialog_ = WaitForDialog(5000);
    ASSERT_NE(dialog_, nullptr);
    ASSERT_TRUE(PumpUntil([] { return !sim::LibraryCalls().empty(); }, 10000));
    // The level read at start failed: the count starts at 0 and nine steps are shown.
    for (int level = 1; level <= 9; ++level)
        ExpectUpStepShows(level);
    ASSERT_TRUE(WaitHandled());
    ExpectSuspendStores(9);
    EXPECT_TRUE(NoBoxOpen()) << "no notification came, so no notify-code box";
    const std::vector<sim::DriverCall> log = sim::DriverLog();
    ASSERT_FALSE(log.empty());
    for (const sim::DriverCall& call : log)
        EXPECT_FALSE(call.Succeeded()) << call.request << " " << call.method;
    EXPECT_EQ(sim::Level(), sim::INITIAL_LEVEL);
}

// --- the keyboard program ----------------------------------------------------------------

constexpr uint32_t NC_MUTE = 0xC4, NC_VOL1_PRESS = 0xD1, NC_VOL1_RELEASE = 0xD2;
constexpr int32_t LPARAM_VOL1_HELD = 32, LPARAM_MUTE = 36;

bool KeyboardGot(int32_t code) {
    for (int32_t c : sim::KeyboardCodes())
        if (c == code)
            return true;
    return false;
}

TEST_F(Fault, KeyboardProgramAbsentOrClosedMidHoldThenBackGetsTheNextKeys) {
    StartCorlaneAndWait();
    ASSERT_TRUE(sim::QueueNotifyCode(NC_MUTE)); // absent: lost, and nothing else happens
    ASSERT_TRUE(sim::QueueNotifyCode(NC_VOL1_PRESS));
    ASSERT_TRUE(PumpUntil([] { return sim::QueuedCount() == 0u; }, 5000));
    PumpFor(300);
    ASSERT_TRUE(sim::QueueNotifyCode(NC_VOL1_RELEASE));
    ASSERT_TRUE(PumpUntil([] { return sim::QueuedCount() == 0u; }, 5000));

    harness::Process keyboard = sim::StartKeyboard();
    ASSERT_TRUE(keyboard.Started());
    sim::ClearKeyboardCommands();
    ASSERT_TRUE(sim::QueueNotifyCode(NC_VOL1_PRESS));
    ASSERT_TRUE(PumpUntil([] { return KeyboardGot(LPARAM_VOL1_HELD); }, 5000));
    sim::CloseKeyboard(); // while the key is held
    PumpFor(300);
    ASSERT_TRUE(sim::QueueNotifyCode(NC_VOL1_RELEASE));
    ASSERT_TRUE(PumpUntil([] { return sim::QueuedCount() == 0u; }, 5000));
    EXPECT_TRUE(corlane_.Running());
    ExpectUpStepShows(sim::INITIAL_LEVEL + 1);

    keyboard = sim::StartKeyboard();
    ASSERT_TRUE(keyboard.Started());
    sim::ClearKeyboardCommands();
    ASSERT_TRUE(sim::QueueNotifyCode(NC_MUTE));
    EXPECT_TRUE(PumpUntil([] { return KeyboardGot(LPARAM_MUTE); }, 5000));
    sim::CloseKeyboard();
}

// --- a hung popup ------------------------------------------------------------------------

// A popup that stops answering must not stop the controller: its commands and power events
// go on, and the count reaches the record before sleep.
TEST_F(Fault, AHungPopupDoesNotStopTheController) {
    popup_.reset(); // the hung popup's window takes its place
    harness::Process hung = harness::Start(FAULT_HUNG_POPUP);
    ASSERT_TRUE(hung.Started());
    ASSERT_NE(harness::WaitForWindow("LUMETTA", "LUMETTA", 10000), nullptr);
    StartCorlaneAndWait();
    PostCommand(dialog_, LPARAM_INBR); // the popup hangs in this display
    PostCommand(dialog_, LPARAM_INBR);
    EXPECT_TRUE(WaitHandled(15000));
    ExpectSuspendStores(sim::INITIAL_LEVEL + 2);
    hung.Terminate();
    EXPECT_TRUE(hung.WaitExit(5000));
}

// --- corrupt records ---------------------------------------------------------------------

struct CorruptRecord {
    const char* name;
    std::vector<uint8_t> bytes;
    int32_t countAfterStart; // with the BIOS at 50
};

std::vector<uint8_t> Hundred() {
    std::vector<uint8_t> bytes = soak::Ints({45});
    for (int i = 4; i < 100; ++i)
        bytes.push_back(static_cast<uint8_t>(i * 37));
    return bytes;
}

// A short record fills the low bytes of the value read: {55, 0, 0} reads as 55.
const CorruptRecord CORRUPT[] = {
    {"3 bytes", {55, 0, 0}, 55},
    {"100 bytes", Hundred(), 45},
    {"huge values", soak::Ints({0x7FFFFFFF, INT32_MIN}), 50},
    {"huge negative", soak::Ints({INT32_MIN}), 50},
};

TEST_F(Fault, CorruptRecordsAtStartAreConsumedAndTheCountStaysNearTheBIOS) {
    for (const CorruptRecord& c : CORRUPT) {
        SCOPED_TRACE(c.name);
        soak::WriteFileBytes(RecordPath(), c.bytes);
        StartCorlaneAndWait();
        bool exists = true;
        Record(&exists);
        EXPECT_FALSE(exists) << "the record is consumed";
        ExpectUpStepShows(c.countAfterStart + 1);
        ExpectSuspendStores(c.countAfterStart + 1);
        harness::KillSystem();
        DeleteFileA(RecordPath().c_str());
        sim::ClearLibraryCalls();
    }
}

// Resume takes a stored count that a writer could have stored and holds it against BIOS
// readings for 10 s; a short record that still reads as such a count is put right by the
// first BIOS reading after that, and the keys work again.
TEST_F(Fault, ShortRecordAtResumeIsConsumedAndTheBIOSReadingPutsTheCountRight) {
    StartCorlaneAndWait();
    for (const CorruptRecord& c : {CORRUPT[0]}) {
        SCOPED_TRACE(c.name);
        soak::WriteFileBytes(RecordPath(), c.bytes);
        ASSERT_TRUE(SendPower(POWER_RESUME_AUTOMATIC));
        bool exists = true;
        Record(&exists);
        EXPECT_FALSE(exists) << "the record is consumed";
        PumpFor(10500); // the hold of a restored count ends
        EXPECT_TRUE(corlane_.Running());
        PostCommand(dialog_, LPARAM_BRIT_CHANGED);
        ExpectUpStepShows(sim::INITIAL_LEVEL + 1);
        PostCommand(dialog_, LPARAM_DEBR);
        ASSERT_TRUE(WaitHandled());
    }
}

// A count that no writer stores (huge, negative) is dropped at resume: the record goes and
// the keys step on at once from the count before.
TEST_F(Fault, DamagedCountsAtResumeAreDroppedAndTheKeysGoOn) {
    StartCorlaneAndWait();
    for (const CorruptRecord& c : {CORRUPT[2], CORRUPT[3]}) {
        SCOPED_TRACE(c.name);
        soak::WriteFileBytes(RecordPath(), c.bytes);
        ASSERT_TRUE(SendPower(POWER_RESUME_AUTOMATIC));
        bool exists = true;
        Record(&exists);
        EXPECT_FALSE(exists) << "the record is removed";
        ExpectUpStepShows(sim::INITIAL_LEVEL + 1);
        PostCommand(dialog_, LPARAM_DEBR);
        ASSERT_TRUE(WaitHandled());
    }
}

} // namespace
