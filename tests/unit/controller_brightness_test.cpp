// Brightness tracking: the key steps, the deferred show, the brightness-changed re-read, the
// library step and the start-up reading, against a fake driver and popup.
#include "controller_fake_seam.h"

#include "commands.h"
#include "core/brightness.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using Calls = std::vector<std::string>;

std::string Up(int32_t level) {
    return "popup 208 " + std::to_string(level);
}
std::string Down(int32_t level) {
    return "popup 224 " + std::to_string(level);
}

BrightnessState State(int32_t count, int32_t save, uint8_t stepped = 0, uint32_t pending = 0) {
    BrightnessState s;
    s.BRIGHTNESSCount = count;
    s.BRIGHTNESSSave = save;
    s.BIOSStepped = stepped;
    s.OSDPending = pending;
    return s;
}

struct StepCase {
    const char* what;
    int32_t count, save;
    uint8_t stepped;
    int32_t countAfter;
    Calls calls;
    uint8_t steppedAfter;
    uint32_t pendingAfter; // pending starts at 0
};

void PrintTo(const StepCase& c, std::ostream* os) {
    *os << c.what;
}

// Runs one key step from the case's state and compares everything it may change.
void CheckStep(void (*step)(BrightnessState&, BIOSCall&, ControllerSeam&), const StepCase& c) {
    FakeControllerSeam seam;
    BIOSCall bios;
    BrightnessState s = State(c.count, c.save, c.stepped);
    step(s, bios, seam);
    EXPECT_EQ(s.BRIGHTNESSCount, c.countAfter);
    EXPECT_EQ(s.BRIGHTNESSSave, c.save);
    EXPECT_EQ(seam.calls, c.calls);
    EXPECT_EQ(s.BIOSStepped, c.steppedAfter);
    EXPECT_EQ(s.OSDPending, c.pendingAfter);
}

class StepUpTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(StepUpTest, MovesTheCountAndCallsTheBIOSOnlyTenAboveOnATen) {
    CheckStep(StepUp, GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StepUpTest,
    ::testing::Values(
        StepCase{"plain step", 50, 50, 0, 51, {Up(51)}, 0, 0},
        StepCase{"ten above on a ten", 59, 50, 0, 60, {"INBR@512"}, 1, 1},
        StepCase{"ten above, but the last step went to the BIOS", 59, 50, 1, 60, {Up(60)}, 0, 0},
        StepCase{"a ten that is not ten above", 69, 50, 0, 70, {Up(70)}, 0, 0},
        StepCase{"a ten below the BIOS level", 39, 50, 0, 40, {Up(40)}, 0, 0},
        StepCase{"100 to 101", 100, 0, 0, 101, {Up(101)}, 0, 0},
        StepCase{"101 stays", 101, 0, 0, 101, {Up(101)}, 0, 0},
        StepCase{"restored 150 stays", 150, 0, 0, 150, {Up(150)}, 0, 0},
        StepCase{"restored 150 with the BIOS at 140", 150, 140, 0, 150, {"INBR@512"}, 1, 1},
        StepCase{"-1 to 0, which never calls the BIOS", -1, -10, 0, 0, {Up(0)}, 0, 0},
        StepCase{"unknown level always asks the BIOS", -2, 50, 0, -2, {"INBR@512"}, 1, 1},
        StepCase{"unknown level, even right after a BIOS step", -2, -2, 1, -2, {"INBR@512"}, 1, 1},
        StepCase{"far below the range stays", -150, -160, 0, -150, {"INBR@512"}, 1, 1},
        StepCase{"BIOS level at the top of int32",
                 2147483640,
                 INT_MAX,
                 0,
                 2147483640,
                 {Up(2147483640)},
                 0,
                 0},
        StepCase{
            "count at the top of int32", INT_MAX, INT_MAX - 10, 0, INT_MAX, {Up(INT_MAX)}, 0, 0}));

class StepDownTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(StepDownTest, MovesTheCountAndCallsTheBIOSOnlyTenBelowOnATen) {
    CheckStep(StepDown, GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StepDownTest,
    ::testing::Values(
        StepCase{"plain step", 50, 50, 0, 49, {Down(49)}, 0, 0},
        StepCase{"10 from 20 is not reached from 10", 10, 20, 0, 9, {Down(9)}, 0, 0},
        StepCase{"ten below on a ten", 11, 20, 0, 10, {"DEBR@512"}, 1, 1},
        StepCase{"ten below, but the last step went to the BIOS", 11, 20, 1, 10, {Down(10)}, 0, 0},
        StepCase{"0 ten below the BIOS level", 1, 10, 0, 0, {"DEBR@512"}, 1, 1},
        StepCase{"0 to -1 shows 0", 0, 50, 0, -1, {Down(0)}, 0, 0},
        StepCase{"-1 stays and shows 0", -1, 50, 0, -1, {Down(0)}, 0, 0},
        StepCase{"unknown level stays and shows 0", -2, -2, 0, -2, {Down(0)}, 0, 0},
        StepCase{"101 to 100", 101, 0, 0, 100, {Down(100)}, 0, 0},
        StepCase{"restored 150 stays", 150, 0, 0, 150, {Down(150)}, 0, 0},
        StepCase{"restored 150 with the BIOS at 160", 150, 160, 0, 150, {"DEBR@512"}, 1, 1},
        StepCase{"BIOS level at the bottom of int32",
                 -2147483640,
                 INT_MIN,
                 0,
                 -2147483640,
                 {Down(0)},
                 0,
                 0}));

TEST(Brightness, AFailedBIOSStepStillDefersTheShow) {
    FakeControllerSeam seam;
    seam.failing = {"INBR"};
    BIOSCall bios;
    BrightnessState s = State(59, 50);
    StepUp(s, bios, seam);
    EXPECT_EQ(s.BIOSStepped, 1);
    EXPECT_EQ(s.OSDPending, 1u);
    EXPECT_EQ(seam.calls, Calls{"INBR@512"});
}

struct ShowCase {
    const char* what;
    uint32_t pending;
    int32_t lastCode;
    int32_t count;
    Calls calls;
    int32_t saveAfter;
};

void PrintTo(const ShowCase& c, std::ostream* os) {
    *os << c.what;
}

class ShowDeferredTest : public ::testing::TestWithParam<ShowCase> {};

TEST_P(ShowDeferredTest, ReadsTheBIOSLevelAndShowsTheCountInTheLastDirection) {
    const ShowCase& c = GetParam();
    FakeControllerSeam seam;
    seam.results["SOSD"] = 42;
    seam.lastCode = c.lastCode;
    BIOSCall bios;
    BrightnessState s = State(c.count, 7, 1, c.pending);
    ShowDeferred(s, bios, seam);
    EXPECT_EQ(seam.calls, c.calls);
    EXPECT_EQ(s.BRIGHTNESSSave, c.saveAfter);
    EXPECT_EQ(s.BRIGHTNESSCount, c.count);
    EXPECT_EQ(s.OSDPending, 0u);
    EXPECT_EQ(s.BIOSStepped, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShowDeferredTest,
    ::testing::Values(
        ShowCase{"nothing pending", 0, LPARAM_INBR, 60, {}, 7},
        ShowCase{"after an up key", 1, LPARAM_INBR, 60, {"SOSD@512", Up(60)}, 42},
        ShowCase{"after a down key", 1, LPARAM_DEBR, 40, {"SOSD@512", Down(40)}, 42},
        ShowCase{"down key with a negative count", 1, LPARAM_DEBR, -1, {"SOSD@512", Down(0)}, 42},
        ShowCase{"up key with the level unknown", 1, LPARAM_INBR, -2, {"SOSD@512", Up(-2)}, 42},
        ShowCase{"no brightness key made yet", 1, 0, 55, {"SOSD@512"}, 42},
        ShowCase{"the panel key's code", 1, LPARAM_TLCD, 55, {"SOSD@512"}, 42}));

TEST(Brightness, FirstShowAfterStartReadsTheBIOSButTellsNobody) {
    FakeControllerSeam seam;
    seam.results["SOSD"] = 33;
    BIOSCall bios;
    BrightnessState s; // as at program start
    ShowDeferred(s, bios, seam);
    EXPECT_EQ(seam.calls, Calls{"SOSD@512"});
    EXPECT_EQ(s.BRIGHTNESSSave, 33);
    EXPECT_EQ(s.BRIGHTNESSCount, -2);
    ShowDeferred(s, bios, seam);
    EXPECT_EQ(seam.calls, Calls{"SOSD@512"}) << "a second show has nothing pending";
}

TEST(Brightness, UnknownLevelStepsUpThroughTheBIOSAndShowsMinusTwo) {
    FakeControllerSeam seam;
    seam.failing = {"INBR", "SOSD"};
    seam.lastCode = LPARAM_INBR;
    BIOSCall bios;
    BrightnessState s;
    StepUp(s, bios, seam);
    ShowDeferred(s, bios, seam);
    EXPECT_EQ(seam.calls, (Calls{"INBR@512", "SOSD@512", Up(-2)}));
    EXPECT_EQ(s.BRIGHTNESSSave, 0) << "a failed SOSD passes on the untouched buffer";
}

TEST(Brightness, ChangedReReadsBothUnlessARestoredCountIsHeld) {
    for (bool held : {false, true}) {
        FakeControllerSeam seam;
        seam.results = {{"ITLV", 5}, {"SOSD", 70}};
        seam.returnedBytes = 20;
        seam.held = held;
        BIOSCall bios;
        BrightnessState s = State(44, 40, 1, 1);
        BrightnessChanged(s, bios, seam);
        EXPECT_EQ(seam.calls, (Calls{"ITLV@512", "SOSD@20"})) << "SOSD gets what ITLV left";
        EXPECT_EQ(s.BRIGHTNESSSave, 70);
        EXPECT_EQ(s.BRIGHTNESSCount, held ? 44 : 70) << "held " << held;
        EXPECT_EQ(s.BIOSStepped, 1);
        EXPECT_EQ(s.OSDPending, 1u);
    }
}

TEST(Brightness, ChangedWithTheDriverFailingTakesTheOldBuffer) {
    FakeControllerSeam seam;
    seam.failing = {"ITLV", "SOSD"};
    BIOSCall bios = BufferHolding(61, 30);
    BrightnessState s = State(44, 40);
    BrightnessChanged(s, bios, seam);
    EXPECT_EQ(seam.calls, (Calls{"ITLV@30", "SOSD@30"}));
    EXPECT_EQ(s.BRIGHTNESSSave, 61);
    EXPECT_EQ(s.BRIGHTNESSCount, 61);
}

TEST(Brightness, LibraryStepHandsThePCGBLevelOver) {
    FakeControllerSeam seam;
    seam.results["PCGB"] = 80;
    BIOSCall bios = BufferHolding(3, 24);
    BrightnessState s = State(10, 20);
    SetBrightnessLevelStep(bios, seam);
    EXPECT_EQ(seam.calls, (Calls{"PCGB@512", "library 80"})) << "the size is reset to 512 first";
    EXPECT_EQ(s.BRIGHTNESSCount, 10);
    EXPECT_EQ(s.BRIGHTNESSSave, 20);
}

TEST(Brightness, LibraryStepWithAFailedPCGBPassesTheOldResult) {
    FakeControllerSeam seam;
    seam.failing = {"PCGB"};
    BIOSCall bios = BufferHolding(17);
    SetBrightnessLevelStep(bios, seam);
    EXPECT_EQ(seam.calls, (Calls{"PCGB@512", "library 17"}));
}

TEST(Brightness, LibraryStepWithoutTheExportDoesNothing) {
    FakeControllerSeam seam;
    seam.bound = false;
    BIOSCall bios = BufferHolding(17, 24);
    SetBrightnessLevelStep(bios, seam);
    EXPECT_TRUE(seam.calls.empty());
    EXPECT_EQ(bios.BIOSOutSize, 24u);
}

TEST(Brightness, StartupReadingUsesTheSizeThePCGBCallLeft) {
    FakeControllerSeam seam;
    seam.results = {{"PCGB", 66}, {"SOSD", 65}};
    seam.returnedBytes = 20;
    BIOSCall bios;
    BrightnessState s;
    SetBrightnessLevelStep(bios, seam);
    ReadStartupLevel(s, bios, seam);
    EXPECT_EQ(seam.calls, (Calls{"PCGB@512", "library 66", "SOSD@20"}));
    EXPECT_EQ(s.BRIGHTNESSSave, 65);
    EXPECT_EQ(s.BRIGHTNESSCount, 65);
}

TEST(Brightness, StartupWithoutADriverGivesTheLibraryAndBothLevelsZero) {
    FakeControllerSeam seam;
    seam.failing = {"PCGB", "SOSD"};
    BIOSCall bios;
    BrightnessState s;
    SetBrightnessLevelStep(bios, seam);
    ReadStartupLevel(s, bios, seam);
    EXPECT_EQ(seam.calls, (Calls{"PCGB@512", "library 0", "SOSD@512"}));
    EXPECT_EQ(s.BRIGHTNESSSave, 0);
    EXPECT_EQ(s.BRIGHTNESSCount, 0);
}

} // namespace
