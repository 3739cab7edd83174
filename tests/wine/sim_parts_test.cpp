// The simulated "BRIGHTNESS.DLL" and keyboard program as the controller meets them: the
// library found by name outside the program folder with its undecorated export, the keyboard
// window found by class and title; and both recording what reached them, in order and time.
#include "harness.h"
#include "simctl_run.h"
#include "simulator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT WM_OSD_COMMAND = 0x0501;

class LibraryTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(sim::InstallLibrary()); }
    void TearDown() override {
        if (module_)
            FreeLibrary(module_);
        sim::RemoveAll();
    }

    using SetBrightnessLevelProc = void(__cdecl*)(int32_t);
    SetBrightnessLevelProc Load() {
        module_ = LoadLibraryA("BRIGHTNESS.DLL");
        if (!module_)
            return nullptr;
        return reinterpret_cast<SetBrightnessLevelProc>(
            reinterpret_cast<void (*)()>(GetProcAddress(module_, "SetBrightnessLevel")));
    }

    HMODULE module_ = nullptr;
};

TEST_F(LibraryTest, IsFoundByNameFromTheSystemFolder) {
    ASSERT_NE(Load(), nullptr);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module_, path, MAX_PATH);
    EXPECT_NE(std::string(path).find("system32"), std::string::npos) << path;
}

TEST_F(LibraryTest, RecordsEveryLevelInOrderWithItsTime) {
    const SetBrightnessLevelProc set = Load();
    ASSERT_NE(set, nullptr);
    EXPECT_TRUE(sim::LibraryCalls().empty());
    const std::vector<int32_t> levels = {50, 0, 100, 60, 60, -1, 150, -2147483647 - 1};
    const double before = harness::NowMs();
    for (int32_t level : levels)
        set(level);
    const double after = harness::NowMs();
    EXPECT_EQ(sim::LibraryLevels(), levels);
    const std::vector<sim::LibraryCall> calls = sim::LibraryCalls();
    ASSERT_EQ(calls.size(), levels.size());
    double previous = before - 50;
    for (const sim::LibraryCall& call : calls) {
        EXPECT_GE(call.timeMs, previous);
        EXPECT_LE(call.timeMs, after + 50);
        previous = call.timeMs;
    }
    sim::ClearLibraryCalls();
    EXPECT_TRUE(sim::LibraryCalls().empty());
    set(42);
    EXPECT_EQ(sim::LibraryLevels(), std::vector<int32_t>{42});
}

TEST_F(LibraryTest, RemovedLibraryIsNotFound) {
    ASSERT_TRUE(sim::RemoveLibrary());
    EXPECT_EQ(LoadLibraryA("BRIGHTNESS.DLL"), nullptr);
}

TEST_F(LibraryTest, SimctlReadsAndClearsTheLevels) {
    const SetBrightnessLevelProc set = Load();
    ASSERT_NE(set, nullptr);
    set(30);
    set(70);
    std::string output;
    ASSERT_EQ(sim::RunSimctl("library levels", &output), 0);
    EXPECT_NE(output.find("level 30\n"), std::string::npos) << output;
    EXPECT_LT(output.find("level 30\n"), output.find("level 70\n")) << output;
    ASSERT_EQ(sim::RunSimctl("library clear"), 0);
    EXPECT_TRUE(sim::LibraryCalls().empty());
}

class KeyboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::CloseKeyboard();
        sim::ClearKeyboardCommands();
    }
    void TearDown() override { sim::RemoveAll(); }
};

TEST_F(KeyboardTest, IsFoundByClassAndTitleAndClosesOnRequest) {
    EXPECT_EQ(sim::KeyboardWindow(), nullptr);
    harness::Process keyboard = sim::StartKeyboard();
    ASSERT_TRUE(keyboard.Started());
    const HWND window = FindWindowA("TTarvikBattForm", "TarvikKeyboard");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(harness::WindowProcessId(window), keyboard.Id());
    sim::CloseKeyboard();
    DWORD code = 1;
    EXPECT_TRUE(keyboard.WaitExit(5000, &code));
    EXPECT_EQ(code, 0u) << "it was terminated instead of closing";
    EXPECT_EQ(sim::KeyboardWindow(), nullptr);
}

TEST_F(KeyboardTest, RecordsEveryCommandInOrderWithItsTime) {
    harness::Process keyboard = sim::StartKeyboard();
    ASSERT_TRUE(keyboard.Started());
    const HWND window = sim::KeyboardWindow();
    const struct {
        WPARAM wParam;
        LPARAM lParam;
    } sent[] = {{0x200, 36}, {0x200, 32}, {0x200, 33}, {0x201, -1}, {0x200, 0x7FFFFFFF}};
    const double before = harness::NowMs();
    for (const auto& s : sent) {
        ASSERT_TRUE(PostMessageA(window, WM_USER, s.wParam, s.lParam)); // not a command
        ASSERT_TRUE(PostMessageA(window, WM_OSD_COMMAND, s.wParam, s.lParam));
    }
    // Each WM_USER is handled before the command posted after it, so once the last command is
    // recorded, a recorded WM_USER would show.
    const size_t count = std::size(sent);
    ASSERT_TRUE(
        harness::WaitUntil([count] { return sim::KeyboardCommands().size() >= count; }, 5000));
    const double after = harness::NowMs();
    const std::vector<sim::KeyboardCommand> got = sim::KeyboardCommands();
    ASSERT_EQ(got.size(), std::size(sent));
    double previous = before - 50;
    for (size_t i = 0; i < got.size(); i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ(got[i].wParam, sent[i].wParam);
        EXPECT_EQ(got[i].lParam, sent[i].lParam);
        EXPECT_GE(got[i].timeMs, previous);
        EXPECT_LE(got[i].timeMs, after + 50);
        previous = got[i].timeMs;
    }
    EXPECT_EQ(sim::KeyboardCodes(), (std::vector<int32_t>{36, 32, 33, -1, 0x7FFFFFFF}));
    sim::ClearKeyboardCommands();
    EXPECT_TRUE(sim::KeyboardCommands().empty());
}

TEST_F(KeyboardTest, SimctlStartsReadsAndClosesIt) {
    ASSERT_EQ(sim::RunSimctl("keyboard start"), 0);
    const HWND window = sim::KeyboardWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PostMessageA(window, WM_OSD_COMMAND, 0x200, 36));
    ASSERT_TRUE(harness::WaitUntil([] { return !sim::KeyboardCommands().empty(); }, 5000));
    std::string output;
    ASSERT_EQ(sim::RunSimctl("keyboard commands", &output), 0);
    EXPECT_NE(output.find("wParam 0x200 lParam 36\n"), std::string::npos) << output;
    ASSERT_EQ(sim::RunSimctl("keyboard close"), 0);
    EXPECT_EQ(sim::KeyboardWindow(), nullptr);
    EXPECT_TRUE(harness::ProcessIds("SimKeyboard.exe").empty());
}

TEST(SimulatorTest, RemoveAllLeavesNoNotebook) {
    ASSERT_TRUE(sim::InstallDriver());
    ASSERT_TRUE(sim::InstallLibrary());
    ASSERT_TRUE(sim::StartKeyboard().Started());
    sim::RemoveAll();
    EXPECT_FALSE(sim::DriverRunning());
    EXPECT_EQ(CreateFileA("\\\\.\\VELKACPI", GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(LoadLibraryA("BRIGHTNESS.DLL"), nullptr);
    EXPECT_EQ(sim::KeyboardWindow(), nullptr);
}

} // namespace
