// Corlane's brightness record under Wine, with a brightness library that records its levels
// and no driver (so the BIOS level reads as 0): the records written at suspend and at the end
// of a session, the resume restore, the start-up restore with its acceptance window, and the
// monitor brightness watcher's one failure line (WMI notifications fail under Wine).
#include "corlane_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#ifndef CORLANE_RECORDING_LIBRARY
#error CORLANE_RECORDING_LIBRARY must name the library that records its levels
#endif

namespace {

using namespace corlane;
using Bytes = std::vector<uint8_t>;

constexpr LPARAM DEBR = 17, INBR = 18;
constexpr int UP = 208, DOWN = 224;

Bytes Ints(std::vector<int32_t> values) {
    Bytes b;
    for (int32_t v : values) {
        uint32_t u = static_cast<uint32_t>(v);
        b.insert(b.end(), {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)});
    }
    return b;
}

std::string ReadAll(const std::string& path, bool* exists = nullptr) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (exists)
        *exists = file != INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE)
        return "";
    std::string text;
    char chunk[512];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
        text.append(chunk, read);
    CloseHandle(file);
    return text;
}

// The record file's bytes; nullopt-like: exists false when there is none.
Bytes Record(bool* exists) {
    std::string text = ReadAll(RecordPath(), exists);
    return Bytes(text.begin(), text.end());
}

bool RecordExists() {
    return GetFileAttributesA(RecordPath().c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteRecord(const Bytes& bytes) {
    HANDLE file = CreateFileA(RecordPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

class CorlaneRecord : public CleanState {
  protected:
    const std::string installed = harness::BinDir() + "\\BRIGHTNESS.DLL";
    const std::string levels = "C:\\corlane-test\\levels.txt";
    const std::string output = "C:\\corlane-test\\corlane-stdout.txt";

    void SetUp() override {
        CleanState::SetUp();
        MakeWorkFolder();
        CreateDirectoryA("C:\\corlane-test\\ProgramData", nullptr);
        DeleteFileA(levels.c_str());
        DeleteFileA(output.c_str());
        ASSERT_TRUE(CopyFileA(CORLANE_RECORDING_LIBRARY, installed.c_str(), FALSE));
    }
    void TearDown() override {
        harness::KillSystem();
        DeleteFileA(installed.c_str());
        DeleteFileA(levels.c_str());
        DeleteFileA(output.c_str());
        CleanState::TearDown();
    }

    // Starts Corlane in its work folder with its standard output going to a file, answers
    // the two boxes of a start-up without driver and waits until the library got its first
    // level, which comes after the start-up restore has run.
    HWND Start() {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        HANDLE out = CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = out;
        si.hStdError = out;
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        PROCESS_INFORMATION pi = {};
        std::string exe = harness::BinDir() + "\\Corlane.exe";
        std::string line = "\"" + exe + "\"";
        BOOL started = CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr,
                                      WorkFolder().c_str(), &si, &pi);
        CloseHandle(out);
        EXPECT_TRUE(started);
        if (!started)
            return nullptr;
        corlane_ = harness::Process(pi.hProcess, pi.dwProcessId);
        CloseHandle(pi.hThread);
        EXPECT_EQ(DismissBox(15000), BOX_NO_DRIVER);
        EXPECT_EQ(DismissBox(10000), BOX_ASSIGN_FAILED);
        EXPECT_TRUE(PumpUntil([&] { return ReadAll(levels) == "0\n"; }, 10000)) << ReadAll(levels);
        HWND dialog = WaitForDialog(5000);
        EXPECT_NE(dialog, nullptr);
        // A sent message is handled once the dialog's start-up (with its restore) is over.
        DWORD_PTR result = 0;
        EXPECT_TRUE(SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result));
        return dialog;
    }

    // Posts the key steps and returns what the popup was told for them.
    std::vector<std::string> Steps(HWND dialog, std::vector<LPARAM> codes) {
        size_t before = popup_.Commands().size();
        for (LPARAM code : codes)
            PostCommand(dialog, code);
        EXPECT_TRUE(popup_.WaitForCommands(before + codes.size(), 5000));
        return std::vector<std::string>(popup_.Commands().begin() + before,
                                        popup_.Commands().end());
    }

    PopupRecorder popup_;
    harness::Process corlane_;
};

// Suspend and the end of a session store the count (not the BIOS level) in a 4-byte record,
// a negative count as 0, which the count then also becomes.
TEST_F(CorlaneRecord, SuspendAndSessionEndWriteTheCount) {
    HWND dialog = Start();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Steps(dialog, {INBR, INBR, INBR}),
              (std::vector<std::string>{Show(UP, 1), Show(UP, 2), Show(UP, 3)}));
    SendMessageA(dialog, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    bool exists = false;
    EXPECT_EQ(Record(&exists), Ints({3}));
    EXPECT_TRUE(exists);

    EXPECT_EQ(
        Steps(dialog, {DEBR, DEBR, DEBR, DEBR}),
        (std::vector<std::string>{Show(DOWN, 2), Show(DOWN, 1), Show(DOWN, 0), Show(DOWN, 0)}));
    SendMessageA(dialog, WM_QUERYENDSESSION, 0, 0);
    EXPECT_EQ(Record(&exists), Ints({0}));
    // The count is 0 now, not -1: one up step shows 1.
    EXPECT_EQ(Steps(dialog, {INBR}), std::vector<std::string>{Show(UP, 1)});
    SendMessageA(dialog, WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 0);
    EXPECT_EQ(Record(&exists), Ints({1}));
    DeleteFileA(RecordPath().c_str());
}

// Resume hands the BIOS level to the library first, then adopts any stored count and deletes
// the record; a count-and-level record gives its count alone.
TEST_F(CorlaneRecord, ResumeRestoresTheStoredCount) {
    HWND dialog = Start();
    ASSERT_NE(dialog, nullptr);
    WriteRecord(Ints({42, 77}));
    SendMessageA(dialog, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_FALSE(RecordExists());
    EXPECT_EQ(ReadAll(levels), "0\n0\n");
    EXPECT_EQ(Steps(dialog, {DEBR}), std::vector<std::string>{Show(DOWN, 41)});
    // Without a record only the library step runs.
    SendMessageA(dialog, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_EQ(ReadAll(levels), "0\n0\n0\n");
    EXPECT_EQ(Steps(dialog, {DEBR}), std::vector<std::string>{Show(DOWN, 40)});
    // Other power events leave a record alone.
    WriteRecord(Ints({9}));
    SendMessageA(dialog, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    EXPECT_TRUE(RecordExists());
    DeleteFileA(RecordPath().c_str());
}

// A restart adopts a stored count within 9 of the BIOS level (0 here) and deletes the record
// whether or not it adopted it.
TEST_F(CorlaneRecord, StartupAdoptsACountWithinNine) {
    struct Case {
        int32_t stored;
        LPARAM step;
        std::string shown;
    } cases[] = {
        {9, DEBR, Show(DOWN, 8)},
        {10, DEBR, Show(DOWN, 0)},   // refused: 0 steps down to -1, shown as 0
        {-9, INBR, Show(UP, 65527)}, // adopted: below -1 an up step keeps it
        {-10, INBR, Show(UP, 1)},    // refused: 0 steps up to 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        harness::KillSystem();
        DeleteFileA(levels.c_str());
        WriteRecord(Ints({c.stored}));
        HWND dialog = Start();
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(RecordExists());
        EXPECT_EQ(Steps(dialog, {c.step}), std::vector<std::string>{c.shown});
    }
}

// Under Wine the notification query fails: the watcher reports that once on its standard
// output and ends, and the keys go on working.
TEST_F(CorlaneRecord, WatcherReportsItsFailureOnceAndKeysKeepWorking) {
    HWND dialog = Start();
    ASSERT_NE(dialog, nullptr);
    const std::string prefix = "FAILED: pNamespace->ExecNotificationQuery: 0x";
    EXPECT_TRUE(PumpUntil([&] { return ReadAll(output).find(prefix) != std::string::npos; }, 10000))
        << ReadAll(output);
    PumpFor(1500);
    std::string text = ReadAll(output);
    size_t at = text.find(prefix);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(text.find(prefix, at + 1), std::string::npos) << text;
    std::string code = text.substr(at + prefix.size());
    ASSERT_GE(code.size(), 10u) << text;
    EXPECT_EQ(code.find_first_not_of("0123456789abcdef"), 8u) << text;
    EXPECT_EQ(code.substr(8, 2), "\r\n");
    EXPECT_EQ(Steps(dialog, {INBR, DEBR}), (std::vector<std::string>{Show(UP, 1), Show(DOWN, 0)}));
    EXPECT_TRUE(corlane_.Running());
}

} // namespace
