// The dialog's command door: which WM_OSD_COMMAND runs what, and what it leaves alone.
#include "controller_fake_seam.h"

#include "commands.h"
#include "core/dispatch.h"

#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;

struct Fixture {
    FakeControllerSeam seam;
    BIOSCall bios = BufferHolding(9, 24);
    BrightnessState state;

    Fixture() {
        state.BRIGHTNESSCount = 50;
        state.BRIGHTNESSSave = 50;
        state.OSDPending = 0;
        seam.results = {{"SOSD", 60}, {"PCGB", 61}, {"ITLV", 1}};
        seam.returnedBytes = 20;
        seam.lastCode = LPARAM_INBR;
    }
    void Post(int32_t code, uint32_t wParam = 0x200) {
        DispatchOSDCommand(wParam, code, state, bios, seam);
    }
};

TEST(Dispatch, CommandsWithAnotherWParamAreIgnored) {
    for (uint32_t wParam : {0x201u, 0x0u, 0x1200u}) {
        Fixture f;
        f.Post(LPARAM_INBR, wParam);
        EXPECT_TRUE(f.seam.calls.empty());
        EXPECT_EQ(f.state.BRIGHTNESSCount, 50);
        EXPECT_EQ(f.bios.BIOSOutSize, 24u) << "the size is not touched";
    }
}

TEST(Dispatch, UnlistedAndKeyboardCodesOnlyResetTheSize) {
    for (int32_t code : {0, 15, 19, 24, 26, 32, 33, 34, 35, 36, 161, 164, -1, 0x7FFFFFFF}) {
        Fixture f;
        f.Post(code);
        EXPECT_TRUE(f.seam.calls.empty()) << code;
        EXPECT_EQ(f.state.BRIGHTNESSCount, 50) << code;
        EXPECT_EQ(f.state.BRIGHTNESSSave, 50) << code;
        EXPECT_EQ(f.bios.BIOSOutSize, 512u) << code;
    }
}

struct CommandCase {
    int32_t code;
    Calls calls;
    int32_t countAfter;
};

TEST(Dispatch, EachCommandRunsItsStepWithAFreshSize) {
    const CommandCase cases[] = {
        {LPARAM_AP00, {"AP00@512"}, 50},
        {LPARAM_TLCD, {"TLCD@512"}, 50},
        {LPARAM_DEBR, {"popup 224 49"}, 49},
        {LPARAM_INBR, {"popup 208 51"}, 51},
        {LPARAM_SET_BRIGHTNESS, {"PCGB@512", "library 61"}, 50},
        {LPARAM_BRIT_CHANGED, {"ITLV@512", "SOSD@20"}, 60},
    };
    for (const CommandCase& c : cases) {
        Fixture f;
        f.Post(c.code);
        EXPECT_EQ(f.seam.calls, c.calls) << c.code;
        EXPECT_EQ(f.state.BRIGHTNESSCount, c.countAfter) << c.code;
    }
}

TEST(Dispatch, ShowOSDRunsOnlyWhatIsPending) {
    Fixture f;
    f.Post(LPARAM_SHOW_OSD);
    EXPECT_TRUE(f.seam.calls.empty());
    f.state.OSDPending = 1;
    f.Post(LPARAM_SHOW_OSD);
    EXPECT_EQ(f.seam.calls, (Calls{"SOSD@512", "popup 208 50"}));
    EXPECT_EQ(f.state.BRIGHTNESSSave, 60);
}

TEST(Dispatch, MethodCommandsWithoutADriverChangeNothing) {
    for (int32_t code : {LPARAM_AP00, LPARAM_TLCD}) {
        Fixture f;
        f.seam.failing = {"AP00", "TLCD"};
        f.Post(code);
        EXPECT_EQ(f.bios.BIOSResult(), 9);
        EXPECT_EQ(f.state.BRIGHTNESSCount, 50);
        EXPECT_EQ(f.state.BRIGHTNESSSave, 50);
        EXPECT_EQ(f.state.OSDPending, 0u);
    }
}

// Fifty to sixty and back, as the keys and the BIOS bring it.
TEST(Dispatch, WorkedSequenceFromFiftyToSixtyAndBack) {
    Fixture f;
    Calls expected;
    for (int level = 51; level <= 59; ++level) {
        f.Post(LPARAM_INBR);
        EXPECT_EQ(f.state.BRIGHTNESSCount, level);
        expected.push_back("popup 208 " + std::to_string(level));
    }
    f.Post(LPARAM_INBR);
    EXPECT_EQ(f.state.BRIGHTNESSCount, 60);
    EXPECT_EQ(f.state.BIOSStepped, 1);
    EXPECT_EQ(f.state.OSDPending, 1u);
    f.Post(LPARAM_SHOW_OSD);
    EXPECT_EQ(f.state.BRIGHTNESSSave, 60);
    EXPECT_EQ(f.state.OSDPending, 0u);
    f.Post(LPARAM_DEBR);
    EXPECT_EQ(f.state.BRIGHTNESSCount, 59);
    EXPECT_EQ(f.state.BIOSStepped, 0);
    expected.insert(expected.end(), {"INBR@512", "SOSD@512", "popup 208 60", "popup 224 59"});
    EXPECT_EQ(f.seam.calls, expected);
}

} // namespace
