// Corlane's start-up under Wine with neither the driver nor the brightness library: the
// message boxes, the hidden dialog, one instance per session, closing, the legacy folder
// clean-up and commands from other programs.
#include "corlane_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace corlane;

class CorlaneStartup : public CleanState {};

// Answers the three boxes of a start-up without driver and library.
void DismissStartupBoxes() {
    EXPECT_EQ(DismissBox(15000), BOX_NO_DRIVER);
    EXPECT_EQ(DismissBox(10000), BOX_ASSIGN_FAILED);
    EXPECT_EQ(DismissBox(10000), BOX_NO_LIBRARY);
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, "x", 1, &written, nullptr);
    CloseHandle(file);
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + "\\" + name);
            else
                DeleteFileA((folder + "\\" + name).c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

TEST_F(CorlaneStartup, WithoutDriverAndLibraryShowsThreeBoxesInOrderAndKeepsRunning) {
    PopupRecorder popup;
    harness::Process corlane = StartCorlane();
    ASSERT_TRUE(corlane.Started());
    DismissStartupBoxes();
    EXPECT_EQ(DismissBox(1500), "") << "no further box";
    EXPECT_TRUE(corlane.Running());
    HWND dialog = FindDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(harness::WindowProcessId(dialog), corlane.Id());
}

TEST_F(CorlaneStartup, DialogIsAHiddenPopupFoundByItsTitle) {
    PopupRecorder popup;
    harness::Process corlane = StartCorlane();
    DismissStartupBoxes();
    HWND dialog = WaitForDialog(5000);
    ASSERT_NE(dialog, nullptr);
    const LONG style = GetWindowLongA(dialog, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(dialog); }, 5000));
    bool shown = false;
    for (int i = 0; i < 20; ++i) {
        PumpFor(50);
        shown = shown || IsWindowVisible(dialog);
    }
    EXPECT_FALSE(shown) << "the dialog stays hidden";
}

TEST_F(CorlaneStartup, EveryPaintHidesTheDialogAgain) {
    PopupRecorder popup;
    harness::Process corlane = StartCorlane();
    DismissStartupBoxes();
    HWND dialog = WaitForDialog(5000);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(dialog); }, 5000));
    for (int round = 0; round < 3; ++round) {
        ShowWindow(dialog, SW_SHOWNOACTIVATE);
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
        EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(dialog); }, 5000)) << round;
    }
    EXPECT_TRUE(corlane.Running());
}

TEST_F(CorlaneStartup, SecondInstanceEndsAtOnceWithoutAnyWindow) {
    PopupRecorder popup;
    harness::Process first = StartCorlane();
    DismissStartupBoxes();
    ASSERT_NE(WaitForDialog(5000), nullptr);
    harness::Process second = StartCorlane();
    ASSERT_TRUE(second.Started());
    DWORD code = 1;
    EXPECT_TRUE(second.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(NoBoxOpen()) << "the second instance shows nothing";
    EXPECT_TRUE(first.Running());
    EXPECT_EQ(harness::ProcessIds("Corlane.exe").size(), 1u);
    EXPECT_EQ(harness::WindowProcessId(FindDialog()), first.Id());
}

TEST_F(CorlaneStartup, AnExistingInstanceMutexKeepsCorlaneFromRunning) {
    HANDLE mutex = CreateMutexA(nullptr, TRUE, "DavazOvurivi Mutex");
    ASSERT_NE(mutex, nullptr);
    harness::Process corlane = StartCorlane();
    DWORD code = 1;
    EXPECT_TRUE(corlane.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(FindDialog(), nullptr);
    EXPECT_TRUE(NoBoxOpen());
    CloseHandle(mutex);
}

TEST_F(CorlaneStartup, WithoutTheDriverEventItShowsItsBoxAndGoesOn) {
    // A mutex of the same name makes creating the event fail.
    HANDLE squatter = CreateMutexA(nullptr, FALSE, "FENMAR EVENT");
    ASSERT_NE(squatter, nullptr);
    PopupRecorder popup;
    harness::Process corlane = StartCorlane();
    EXPECT_EQ(DismissBox(15000), BOX_NO_DRIVER);
    EXPECT_EQ(DismissBox(10000), "Can't create Event object for FENMAR ACPI driver");
    EXPECT_EQ(DismissBox(10000), BOX_ASSIGN_FAILED);
    EXPECT_EQ(DismissBox(10000), BOX_NO_LIBRARY);
    EXPECT_TRUE(corlane.Running());
    CloseHandle(squatter);
}

TEST_F(CorlaneStartup, CreatesItsNamedEvents) {
    const char* names[] = {"C9 EVENT",        "CA EVENT",       "CB EVENT",    "CC EVENT",
                           "KWB BREAK EVENT", "KWB MAKE EVENT", "FENMAR EVENT"};
    PopupRecorder popup;
    harness::Process corlane = StartCorlane();
    DismissStartupBoxes();
    for (const char* name : names) {
        HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, name);
        EXPECT_NE(event, nullptr) << name;
        if (event) {
            EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT))
                << name << " starts unsignalled";
            CloseHandle(event);
        }
    }
}

TEST_F(CorlaneStartup, CloseEndsTheProcessAndANewOneStartsAfterwards) {
    PopupRecorder popup;
    harness::Process first = StartCorlane();
    DismissStartupBoxes();
    HWND dialog = WaitForDialog(5000);
    ASSERT_NE(dialog, nullptr);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(first.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(FindDialog(), nullptr);
    EXPECT_EQ(OpenMutexA(SYNCHRONIZE, FALSE, "DavazOvurivi Mutex"), nullptr)
        << "the mutex ends with the process";

    harness::Process again = StartCorlane();
    EXPECT_EQ(DismissBox(15000), BOX_NO_DRIVER) << "the new instance runs its start-up";
    EXPECT_TRUE(again.Running());
}

TEST_F(CorlaneStartup, CommandsFromAnyProgramAreHandledSilently) {
    PopupRecorder popup;
    harness::Process corlane = StartCorlane();
    DismissStartupBoxes();
    HWND dialog = WaitForDialog(5000);
    ASSERT_NE(dialog, nullptr);
    // Real commands with a wrong wParam, and unknown codes with the right one.
    for (WPARAM wParam : {0x201u, 0x0u, 0x1200u, 0xFFFFFFFFu})
        for (LPARAM code : {16, 17, 18, 25, 160, 162, 163})
            PostCommand(dialog, code, wParam);
    for (LPARAM code : {0, 15, 19, 32, 33, 34, 35, 36, 161, 164, -1, 0x7FFFFFFF})
        PostCommand(dialog, code);
    const char data[] = "not looked at";
    COPYDATASTRUCT copy = {7, sizeof data, const_cast<char*>(data)};
    SendMessageA(dialog, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
    // Raw input handles that are none, and key-down keystroke data.
    for (LPARAM junk : {0L, 1L, 0x00480001L, -1L, 0x12345678L}) {
        PostMessageA(dialog, WM_INPUT, RIM_INPUTSINK, junk);
        PostMessageA(dialog, WM_KEYDOWN, VK_F5, junk);
    }
    // Without a BIOS reading the count is still unknown: a down step shows 0, an up step and
    // the first show, with no brightness key made, show nothing.
    PostCommand(dialog, 17);
    PostCommand(dialog, 18);
    PostCommand(dialog, 25);
    ASSERT_TRUE(popup.WaitForCommands(1, 5000));
    PumpFor(1000);
    EXPECT_EQ(popup.Commands(), std::vector<std::string>{Show(224, 0)});
    EXPECT_TRUE(NoBoxOpen()) << "failed driver calls are silent";
    EXPECT_TRUE(corlane.Running());
    EXPECT_FALSE(IsWindowVisible(dialog));
}

class CorlaneLegacyFolder : public CleanState {
  protected:
    const std::string tarvik = "C:\\Program Files\\Tarvik";
    const std::string legacy = tarvik + "\\Wintrel";
    void SetUp() override {
        CleanState::SetUp();
        RemoveTree(tarvik);
    }
    void TearDown() override {
        RemoveTree(tarvik);
        DeleteFileA((WorkFolder() + "\\probe.txt").c_str());
        DeleteFileA((WorkFolder() + "\\Corlane.exe").c_str());
        CleanState::TearDown();
    }
    // The first box comes after the clean-up.
    void StartAndPassTheCleanUp() {
        PopupRecorder popup;
        corlane_ = StartCorlane();
        EXPECT_EQ(DismissBox(15000), BOX_NO_DRIVER);
    }

  private:
    harness::Process corlane_;
};

TEST_F(CorlaneLegacyFolder, DeletesTheFilesAndKeepsASubfolder) {
    CreateDirectoryA(tarvik.c_str(), nullptr);
    CreateDirectoryA(legacy.c_str(), nullptr);
    CreateDirectoryA((legacy + "\\Drivers").c_str(), nullptr);
    for (const char* name : {"\\Corlane.exe", "\\Readme.txt", "\\old.dll", "\\Drivers\\keep.sys"})
        WriteFile(legacy + name);
    StartAndPassTheCleanUp();
    for (const char* name : {"\\Corlane.exe", "\\Readme.txt", "\\old.dll"})
        EXPECT_FALSE(Exists(legacy + name)) << name;
    EXPECT_TRUE(Exists(legacy + "\\Drivers\\keep.sys"));
    EXPECT_TRUE(Exists(legacy)) << "a folder that is not empty stays";
    EXPECT_TRUE(Exists(tarvik));
}

TEST_F(CorlaneLegacyFolder, RemovesAnEmptiedFolderAndItsParent) {
    CreateDirectoryA(tarvik.c_str(), nullptr);
    CreateDirectoryA(legacy.c_str(), nullptr);
    WriteFile(legacy + "\\Corlane.exe");
    StartAndPassTheCleanUp();
    EXPECT_FALSE(Exists(legacy));
    EXPECT_FALSE(Exists(tarvik));
}

TEST_F(CorlaneLegacyFolder, WithoutTheFolderDeletesNothingAnywhere) {
    // Tarvik without Wintrel, and files in the folder Corlane starts in.
    CreateDirectoryA(tarvik.c_str(), nullptr);
    WriteFile(tarvik + "\\other.txt");
    MakeWorkFolder();
    const std::vector<std::string> probes = {
        WorkFolder() + "\\probe.txt", WorkFolder() + "\\Corlane.exe", tarvik + "\\other.txt"};
    for (const std::string& probe : probes)
        WriteFile(probe);
    StartAndPassTheCleanUp();
    for (const std::string& probe : probes)
        EXPECT_TRUE(Exists(probe)) << probe;
    EXPECT_TRUE(Exists(tarvik));
}

#ifndef CORLANE_NOEXPORT_LIBRARY
#error CORLANE_NOEXPORT_LIBRARY must name the library without the export
#endif

// A "BRIGHTNESS.DLL" without the export, in Corlane's own folder for one test.
class CorlaneWithoutExport : public CleanState {
  protected:
    const std::string installed = harness::BinDir() + "\\BRIGHTNESS.DLL";
    void SetUp() override {
        CleanState::SetUp();
        ASSERT_TRUE(CopyFileA(CORLANE_NOEXPORT_LIBRARY, installed.c_str(), FALSE));
    }
    void TearDown() override {
        harness::KillSystem();
        DeleteFileA(installed.c_str());
        CleanState::TearDown();
    }
};

TEST_F(CorlaneWithoutExport, ShowsOneLibraryBoxAndKeysWorkFromTheInitialValues) {
    PopupRecorder popup;
    harness::Process corlane = StartCorlane();
    EXPECT_EQ(DismissBox(15000), BOX_NO_DRIVER);
    EXPECT_EQ(DismissBox(10000), BOX_ASSIGN_FAILED);
    EXPECT_EQ(DismissBox(10000), BOX_NO_EXPORT);
    EXPECT_EQ(DismissBox(1500), "");
    HWND dialog = WaitForDialog(5000);
    ASSERT_NE(dialog, nullptr);
    PostCommand(dialog, 17);
    ASSERT_TRUE(popup.WaitForCommands(1, 5000));
    EXPECT_EQ(popup.Commands(), std::vector<std::string>{Show(224, 0)});
    EXPECT_TRUE(corlane.Running());
}

#ifndef CORLANE_RECORDING_LIBRARY
#error CORLANE_RECORDING_LIBRARY must name the library that records its levels
#endif

// A "BRIGHTNESS.DLL" that records the levels it receives, with no driver.
class CorlaneWithoutDriver : public CleanState {
  protected:
    const std::string installed = harness::BinDir() + "\\BRIGHTNESS.DLL";
    const std::string levels = "C:\\corlane-test\\levels.txt";
    void SetUp() override {
        CleanState::SetUp();
        MakeWorkFolder();
        DeleteFileA(levels.c_str());
        ASSERT_TRUE(CopyFileA(CORLANE_RECORDING_LIBRARY, installed.c_str(), FALSE));
    }
    void TearDown() override {
        harness::KillSystem();
        DeleteFileA(installed.c_str());
        DeleteFileA(levels.c_str());
        CleanState::TearDown();
    }
    std::string Levels() const {
        char text[256] = {};
        HANDLE file = CreateFileA(levels.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return "";
        DWORD read = 0;
        ReadFile(file, text, sizeof text - 1, &read, nullptr);
        CloseHandle(file);
        return text;
    }
};

TEST_F(CorlaneWithoutDriver, LibraryGetsZeroAndTheCountStartsAtZero) {
    PopupRecorder popup;
    harness::Process corlane = StartCorlane();
    EXPECT_EQ(DismissBox(15000), BOX_NO_DRIVER);
    EXPECT_EQ(DismissBox(10000), BOX_ASSIGN_FAILED);
    ASSERT_TRUE(PumpUntil([&] { return Levels() == "0\n"; }, 10000)) << Levels();
    HWND dialog = WaitForDialog(5000);
    ASSERT_NE(dialog, nullptr);
    // From 0: up to 1, down to 0 and -1, which shows as 0; the library step hands over 0 again.
    for (LPARAM code : {18, 17, 17, 18, 160})
        PostCommand(dialog, code);
    ASSERT_TRUE(popup.WaitForCommands(4, 5000));
    EXPECT_TRUE(PumpUntil([&] { return Levels() == "0\n0\n"; }, 5000)) << Levels();
    PumpFor(300);
    EXPECT_EQ(popup.Commands(),
              (std::vector<std::string>{Show(208, 1), Show(224, 0), Show(224, 0), Show(208, 0)}));
    EXPECT_TRUE(NoBoxOpen());
}

} // namespace
