// The harness itself: child processes, exit codes and process lookups work under Wine.
#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::string Cmd() {
    char dir[MAX_PATH];
    GetSystemDirectoryA(dir, MAX_PATH);
    return std::string(dir) + "\\cmd.exe";
}

TEST(Harness, ReportsTheExitCodeOfAChild) {
    harness::Process p = harness::Start(Cmd(), "/c exit 7");
    ASSERT_TRUE(p.Started());
    DWORD code = 0;
    ASSERT_TRUE(p.WaitExit(10000, &code));
    EXPECT_EQ(code, 7u);
}

TEST(Harness, FindsAndKillsARunningChildByImageName) {
    harness::Process p = harness::Start(Cmd(), "/c pause");
    ASSERT_TRUE(p.Started());
    ASSERT_TRUE(harness::WaitUntil(
        [&] {
            auto ids = harness::ProcessIds("CMD.EXE");
            return std::find(ids.begin(), ids.end(), p.Id()) != ids.end();
        },
        5000));
    harness::KillAll("cmd.exe");
    EXPECT_TRUE(p.WaitExit(5000));
    EXPECT_TRUE(harness::ProcessIds("cmd.exe").empty());
}

TEST(Harness, WaitUntilGivesUpAtTheDeadline) {
    const double start = harness::NowMs();
    EXPECT_FALSE(harness::WaitUntil([] { return false; }, 100));
    EXPECT_GE(harness::NowMs() - start, 90.0);
}

} // namespace
