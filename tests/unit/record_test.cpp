// The brightness record: its writers, the three restores, the power events and the hold.
#include "core/record.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// A record file in memory with the file operations' outcomes under the test's control.
class FakeRecord : public RecordSeam {
  public:
    std::optional<Bytes> file; // absent when there is no record
    bool createFails = false;
    bool openFails = false;
    int32_t pcgb = 0;
    std::vector<int32_t> library; // levels handed to the library's export
    int steps = 0;                // SetBrightnessLevel steps
    int holds = 0;                // SetEvent on "BRIT NOTCHANGE EVENT"
    bool open = false;
    std::vector<std::string> order;

    bool CreateRecord() override {
        order.push_back("create");
        if (createFails)
            return false;
        file = Bytes{};
        open = true;
        pos_ = 0;
        return true;
    }
    bool OpenRecord() override {
        order.push_back("open");
        if (openFails || !file)
            return false;
        open = true;
        pos_ = 0;
        return true;
    }
    uint32_t ReadRecord(uint8_t* buffer, uint32_t size) override {
        EXPECT_TRUE(open);
        uint32_t n = 0;
        while (n < size && pos_ < file->size())
            buffer[n++] = (*file)[pos_++];
        return n;
    }
    void WriteRecord(const uint8_t* data, uint32_t size) override {
        EXPECT_TRUE(open);
        file->insert(file->end(), data, data + size);
    }
    void CloseRecord() override {
        EXPECT_TRUE(open);
        open = false;
        order.push_back("close");
    }
    void DeleteRecord() override {
        EXPECT_FALSE(open); // share mode 0: deleted only after closing
        file.reset();
        order.push_back("delete");
    }
    void SignalHold() override {
        ++holds;
        order.push_back("hold");
    }
    int32_t ReadPCGBLevel() override {
        order.push_back("pcgb");
        return pcgb;
    }
    void LibrarySetBrightnessLevel(int32_t level) override {
        library.push_back(level);
        order.push_back("library");
    }
    void SetBrightnessLevelStep() override {
        ++steps;
        order.push_back("step");
    }

  private:
    std::size_t pos_ = 0;
};

Bytes Ints(std::vector<int32_t> values) {
    Bytes b;
    for (int32_t v : values) {
        uint32_t u = static_cast<uint32_t>(v);
        b.insert(b.end(), {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)});
    }
    return b;
}

BrightnessState State(int32_t count, int32_t save) {
    BrightnessState s;
    s.BRIGHTNESSCount = count;
    s.BRIGHTNESSSave = save;
    return s;
}

// --- writers ---

TEST(RecordWriteTest, CountRecordClampsANegativeCount) {
    struct Case {
        int32_t count;
        int32_t written;
    } cases[] = {{57, 57}, {0, 0}, {-1, 0}, {-2, 0}, {150, 150}, {0x01020304, 0x01020304}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        FakeRecord seam;
        seam.file = Ints({1, 2}); // replaced, not appended to
        BrightnessRecord record;
        BrightnessState state = State(c.count, 50);
        record.WriteCountRecord(state, seam);
        EXPECT_EQ(seam.file, Ints({c.written}));
        EXPECT_EQ(state.BRIGHTNESSCount, c.written);
        EXPECT_FALSE(seam.open);
    }
}

TEST(RecordWriteTest, LittleEndianBytes) {
    FakeRecord seam;
    BrightnessRecord record;
    BrightnessState state = State(0x01020304, 0);
    seam.pcgb = 0x0A0B0C0D;
    record.WriteCountAndLevelRecord(state, seam);
    EXPECT_EQ(seam.file, (Bytes{4, 3, 2, 1, 0x0D, 0x0C, 0x0B, 0x0A}));
}

TEST(RecordWriteTest, CountAndLevelRecordAtMonitorOff) {
    FakeRecord seam;
    BrightnessRecord record;
    BrightnessState state = State(-1, 40);
    seam.pcgb = 63;
    record.WriteCountAndLevelRecord(state, seam);
    EXPECT_EQ(seam.file, Ints({0, 63}));
    EXPECT_EQ(state.BRIGHTNESSCount, 0);
    EXPECT_EQ(record.iValue(), 63);
}

// A record that cannot be created: nothing written and the count not clamped; at monitor-off
// the PCGB level is read all the same.
TEST(RecordWriteTest, RecordThatCannotBeCreated) {
    for (bool monitorOff : {false, true}) {
        SCOPED_TRACE(monitorOff);
        FakeRecord seam;
        seam.createFails = true;
        seam.pcgb = 33;
        BrightnessRecord record;
        BrightnessState state = State(-1, 40);
        if (monitorOff)
            record.WriteCountAndLevelRecord(state, seam);
        else
            record.WriteCountRecord(state, seam);
        EXPECT_FALSE(seam.file.has_value());
        EXPECT_EQ(state.BRIGHTNESSCount, -1);
        EXPECT_EQ(record.iValue(), monitorOff ? 33 : 0);
        EXPECT_EQ(seam.order, monitorOff ? (std::vector<std::string>{"pcgb", "create"})
                                         : (std::vector<std::string>{"create"}));
    }
}

// --- readers ---

struct ReadCase {
    const char* name;
    std::optional<Bytes> file;
    int32_t countAfter;
    std::vector<int32_t> library;
    bool held;
    bool fileLeft;
};

void CheckReader(const ReadCase& c, const FakeRecord& seam, const BrightnessState& state) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(state.BRIGHTNESSCount, c.countAfter);
    EXPECT_EQ(seam.library, c.library);
    EXPECT_EQ(seam.holds, c.held ? 1 : 0);
    EXPECT_EQ(seam.file.has_value(), c.fileLeft);
    EXPECT_FALSE(seam.open);
}

// Start-up: BRIGHTNESSSave 50, count 50 from the SOSD reading.
TEST(RecordReadTest, StartupAcceptanceWindow) {
    const ReadCase cases[] = {
        {"+9 adopted", Ints({59}), 59, {}, true, false},
        {"-9 adopted", Ints({41}), 41, {}, true, false},
        {"+10 refused, consumed", Ints({60}), 50, {}, true, false},
        {"-10 refused, consumed", Ints({40}), 50, {}, true, false},
        {"same", Ints({50}), 50, {}, true, false},
        {"far off", Ints({-1}), 50, {}, true, false},
        {"count-and-level: level ignored", Ints({45, 90}), 45, {}, true, false},
        {"no record", std::nullopt, 50, {}, false, false},
        {"empty record stays", Bytes{}, 50, {}, false, true},
    };
    for (const ReadCase& c : cases) {
        FakeRecord seam;
        seam.file = c.file;
        BrightnessRecord record;
        BrightnessState state = State(50, 50);
        record.RestoreAtStartup(state, seam);
        CheckReader(c, seam, state);
        EXPECT_EQ(seam.steps, 0);
    }
}

TEST(RecordReadTest, StartupWindowAtTheEndsOfTheRange) {
    struct Case {
        int32_t save, stored, count;
    } cases[] = {
        {INT32_MAX, INT32_MAX - 9, INT32_MAX - 9},
        {INT32_MAX, INT32_MIN, INT32_MAX},
        {INT32_MIN, INT32_MIN + 9, INT32_MIN + 9},
        {INT32_MIN, INT32_MAX, INT32_MIN},
    };
    for (const Case& c : cases) {
        FakeRecord seam;
        seam.file = Ints({c.stored});
        BrightnessRecord record;
        BrightnessState state = State(c.save, c.save);
        record.RestoreAtStartup(state, seam);
        EXPECT_EQ(state.BRIGHTNESSCount, c.count);
    }
}

// Resume: the SetBrightnessLevel step comes first, always; any stored count is adopted.
TEST(RecordReadTest, Resume) {
    const ReadCase cases[] = {
        {"count far from the BIOS level", Ints({95}), 95, {}, true, false},
        {"count-and-level: count only", Ints({12, 80}), 12, {}, true, false},
        {"no record", std::nullopt, 50, {}, false, false},
        {"empty record stays", Bytes{}, 50, {}, false, true},
        {"largest stored count", Ints({101}), 101, {}, true, false},
        {"smallest stored count", Ints({0}), 0, {}, true, false},
        // Counts no writer stores: dropped, the count stays steppable.
        {"huge count dropped", Ints({INT32_MAX}), 50, {}, false, false},
        {"count above the range dropped", Ints({102}), 50, {}, false, false},
        {"negative count dropped", Ints({-1}), 50, {}, false, false},
        {"3 bytes of a huge count dropped", Bytes{0xFF, 0xFF, 0x7F}, 50, {}, false, false},
    };
    for (const ReadCase& c : cases) {
        FakeRecord seam;
        seam.file = c.file;
        BrightnessRecord record;
        BrightnessState state = State(50, 50);
        record.RestoreAtResume(state, seam);
        CheckReader(c, seam, state);
        EXPECT_EQ(seam.steps, 1);
        EXPECT_EQ(seam.order.front(), "step");
    }
}

TEST(RecordReadTest, MonitorOn) {
    const ReadCase cases[] = {
        {"count-and-level", Ints({30, 70}), 30, {70}, true, false},
        {"count record kept", Ints({30}), 30, {30}, false, true},
        {"no record: nothing", std::nullopt, 50, {}, false, false},
        // An empty record holds no count: nothing is restored and the library is not called.
        {"empty record: nothing", Bytes{}, 50, {}, false, true},
        {"huge count: dropped, nothing else", Ints({INT32_MAX, 70}), 50, {}, false, false},
        {"negative count: dropped", Ints({-5}), 50, {}, false, false},
    };
    for (const ReadCase& c : cases) {
        FakeRecord seam;
        seam.file = c.file;
        BrightnessRecord record;
        BrightnessState state = State(50, 50);
        record.RestoreAtMonitorOn(state, seam);
        CheckReader(c, seam, state);
    }
}

// A stale iValue from the monitor-off level never reaches the count through an empty record.
TEST(RecordReadTest, EmptyRecordAtMonitorOnIgnoresAStaleValue) {
    FakeRecord seam;
    BrightnessRecord record;
    BrightnessState state = State(20, 20);
    seam.pcgb = 77;
    seam.createFails = true;
    record.WriteCountAndLevelRecord(state, seam); // iValue is now 77
    seam.file = Bytes{};
    record.RestoreAtMonitorOn(state, seam);
    EXPECT_EQ(state.BRIGHTNESSCount, 20);
    EXPECT_TRUE(seam.library.empty());
}

// A record cut short keeps the bytes it has over the value iValue held.
TEST(RecordReadTest, PartialSecondIntAtMonitorOn) {
    FakeRecord seam;
    seam.file = Bytes{30, 0, 0, 0, 0x46};
    BrightnessRecord record;
    BrightnessState state = State(50, 50);
    record.RestoreAtMonitorOn(state, seam);
    EXPECT_EQ(state.BRIGHTNESSCount, 30);
    EXPECT_EQ(seam.library, (std::vector<int32_t>{0x46}));
    EXPECT_EQ(seam.holds, 1);
}

TEST(RecordReadTest, OpenFailureIsNoRecord) {
    FakeRecord seam;
    seam.file = Ints({30, 70});
    seam.openFails = true;
    BrightnessRecord record;
    BrightnessState state = State(50, 50);
    record.RestoreAtStartup(state, seam);
    record.RestoreAtMonitorOn(state, seam);
    record.RestoreAtResume(state, seam);
    EXPECT_EQ(state.BRIGHTNESSCount, 50);
    EXPECT_EQ(seam.holds, 0);
    EXPECT_TRUE(seam.library.empty());
    EXPECT_TRUE(seam.file.has_value());
}

// --- power events in sequence ---

uint32_t Off = MONITOR_OFF, On = MONITOR_ON, Two = 2;

TEST(RecordPowerTest, MonitorOffThenSuspendLosesTheLevel) {
    FakeRecord seam;
    BrightnessRecord record;
    BrightnessState state = State(42, 40);
    seam.pcgb = 60;
    record.OnPowerEvent(POWER_SETTING_CHANGE, &Off, state, seam);
    EXPECT_EQ(seam.file, Ints({42, 60}));
    record.OnPowerEvent(POWER_SUSPEND, nullptr, state, seam);
    EXPECT_EQ(seam.file, Ints({42}));
    state.BRIGHTNESSCount = 10;
    record.OnPowerEvent(POWER_RESUME_AUTOMATIC, nullptr, state, seam);
    EXPECT_EQ(state.BRIGHTNESSCount, 42);
    EXPECT_FALSE(seam.file.has_value());
}

TEST(RecordPowerTest, MonitorOffThenOn) {
    FakeRecord seam;
    BrightnessRecord record;
    BrightnessState state = State(42, 40);
    seam.pcgb = 60;
    record.OnPowerEvent(POWER_SETTING_CHANGE, &Off, state, seam);
    state.BRIGHTNESSCount = 7;
    record.OnPowerEvent(POWER_SETTING_CHANGE, &On, state, seam);
    EXPECT_EQ(state.BRIGHTNESSCount, 42);
    EXPECT_EQ(seam.library, (std::vector<int32_t>{60}));
    EXPECT_FALSE(seam.file.has_value());
}

// A session end that did not happen leaves a count record: monitor-on restores it and keeps
// it, the next start-up consumes it.
TEST(RecordPowerTest, CountRecordSurvivesMonitorOnUntilStartup) {
    FakeRecord seam;
    BrightnessRecord record;
    BrightnessState state = State(44, 40);
    record.WriteCountRecord(state, seam);
    state.BRIGHTNESSCount = 1;
    record.OnPowerEvent(POWER_SETTING_CHANGE, &On, state, seam);
    EXPECT_EQ(state.BRIGHTNESSCount, 44);
    EXPECT_EQ(seam.file, Ints({44}));
    BrightnessState restarted = State(40, 40);
    record.RestoreAtStartup(restarted, seam);
    EXPECT_EQ(restarted.BRIGHTNESSCount, 44);
    EXPECT_FALSE(seam.file.has_value());
}

TEST(RecordPowerTest, EventsThatDoNothing) {
    struct Case {
        const char* name;
        uint32_t event;
        const uint32_t* data;
    } cases[] = {
        {"monitor data 2", POWER_SETTING_CHANGE, &Two},
        {"setting without data", POWER_SETTING_CHANGE, nullptr},
        {"PBT_APMRESUMESUSPEND", 0x0007, nullptr},
        {"PBT_APMRESUMECRITICAL", 0x0006, nullptr},
        {"PBT_APMPOWERSTATUSCHANGE", 0x000A, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRecord seam;
        seam.file = Ints({30, 70});
        BrightnessRecord record;
        BrightnessState state = State(50, 50);
        record.OnPowerEvent(c.event, c.data, state, seam);
        EXPECT_TRUE(seam.order.empty());
        EXPECT_EQ(state.BRIGHTNESSCount, 50);
    }
}

TEST(RecordPowerTest, SuspendQueriesWriteCountRecords) {
    for (uint32_t event : {uint32_t(POWER_QUERY_SUSPEND), uint32_t(POWER_SUSPEND)}) {
        FakeRecord seam;
        BrightnessRecord record;
        BrightnessState state = State(-1, 50);
        record.OnPowerEvent(event, nullptr, state, seam);
        EXPECT_EQ(seam.file, Ints({0}));
    }
}

// --- the hold: BritNotChangeThread on a simulated clock ---

// "BRIT NOTCHANGE EVENT" with restores scheduled at given times; the worker's waits and
// sleeps move the clock.
class HoldClock : public HoldSeam {
  public:
    explicit HoldClock(std::vector<uint32_t> restores) : restores_(restores) {}
    std::vector<std::pair<uint32_t, uint32_t>> holds; // (signalled at, reset at)

    void WaitHold() override {
        if (!signalled_ && !restores_.empty())
            now_ = restores_.front();
        Apply();
    }
    void Sleep(uint32_t ms) override {
        now_ += ms;
        Apply();
    }
    void ResetHold() override {
        signalled_ = false;
        holds.push_back({since_, now_});
    }
    bool Pending() const { return !restores_.empty() || signalled_; }

  private:
    void Apply() {
        while (!restores_.empty() && restores_.front() <= now_) {
            if (!signalled_)
                since_ = restores_.front();
            signalled_ = true;
            restores_.erase(restores_.begin());
        }
    }
    std::vector<uint32_t> restores_;
    uint32_t now_ = 0;
    uint32_t since_ = 0;
    bool signalled_ = false;
};

TEST(HoldTest, TenSecondsFromTheFirstRestore) {
    struct Case {
        const char* name;
        std::vector<uint32_t> restores;
        std::vector<std::pair<uint32_t, uint32_t>> holds;
    } cases[] = {
        {"one restore", {1000}, {{1000, 11000}}},
        {"two restores 5 s apart", {1000, 6000}, {{1000, 11000}}},
        {"restore just after the reset", {1000, 11001}, {{1000, 11000}, {11001, 21001}}},
        {"restore at the reset", {0, 10000}, {{0, 10000}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HoldClock clock(c.restores);
        while (clock.Pending())
            BritNotChangePass(clock);
        EXPECT_EQ(clock.holds, c.holds);
    }
}

} // namespace
