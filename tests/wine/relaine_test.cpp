// Relaine with the real programs: installed with Corlane and Lumetta in a folder under
// Program Files and started from another current folder, it launches both from its own
// folder, kills and restarts them on console session changes, runs once per desktop and
// ends on its exit command.
#include "harness.h"
#ifdef RELAINE_WITH_SIMULATOR
#include "simulator.h"
#endif

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <vector>

#ifndef RELAINE_TITLED_WINDOW
#error RELAINE_TITLED_WINDOW names the test window program
#endif

namespace {

constexpr const char* RELAINE_CLASS = "RELAINESWITCHING";
constexpr const char* RELAINE_TITLE = "RelaineSwitching";
constexpr UINT WM_WTSSESSION_CHANGE_MESSAGE = 0x02B1;
constexpr DWORD STILL_ACTIVE_CODE = 259;

const std::string INSTALL = "C:\\Program Files\\Relaine Test";
const std::string ELSEWHERE = "C:\\relaine-test\\cwd\\a\\b";
// Where a Corlane started in ELSEWHERE keeps its brightness record.
const std::string RECORD = "C:\\relaine-test\\ProgramData\\Brightness.ini";
const std::string TITLED_WINDOW = std::string(RELAINE_TITLED_WINDOW);

void MakeFolders(const std::string& path) {
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
}

// Copies the three programs side by side into folder.
void Install(const std::string& folder) {
    MakeFolders(folder);
    for (const char* name : {"Relaine.exe", "Corlane.exe", "Lumetta.exe"}) {
        ASSERT_TRUE(CopyFileA((harness::BinDir() + "\\" + name).c_str(),
                              (folder + "\\" + name).c_str(), FALSE))
            << folder << "\\" << name;
    }
}

void Uninstall(const std::string& folder) {
    for (const char* name : {"Relaine.exe", "Corlane.exe", "Lumetta.exe"})
        DeleteFileA((folder + "\\" + name).c_str());
    RemoveDirectoryA(folder.c_str());
}

struct ProcessInfo {
    DWORD pid;
    DWORD parent;
    std::string image;
};

std::vector<ProcessInfo> Processes() {
    std::vector<ProcessInfo> found;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return found;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snap, &entry); more; more = Process32Next(snap, &entry))
        found.push_back({entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
    CloseHandle(snap);
    return found;
}

bool Alive(DWORD pid) {
    const std::vector<ProcessInfo> all = Processes();
    return std::any_of(all.begin(), all.end(),
                       [pid](const ProcessInfo& p) { return p.pid == pid; });
}

std::string ImagePath(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (process) {
        QueryFullProcessImageNameA(process, 0, path, &size);
        CloseHandle(process);
    }
    return path;
}

bool SamePath(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// The file name part of a process's image path, through a handle that keeps the process
// object, and with it its name, after the process has ended.
std::string ImageName(HANDLE process) {
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!process || !QueryFullProcessImageNameA(process, 0, path, &size))
        return "";
    const std::string full = path;
    return full.substr(full.find_last_of('\\') + 1);
}

// The moment each child of a process was first seen, in that order.
struct Launch {
    DWORD pid;
    std::string image;
    double at;
    harness::Process process; // opened at first sight
};

// Adds the children of parent not seen before (and not excluded) to seen; fills in image
// names, which a snapshot gives only once the new process has got going.
void NoteLaunches(const std::vector<ProcessInfo>& all, DWORD parent,
                  const std::vector<DWORD>& excluded, std::vector<Launch>& seen) {
    const double now = harness::NowMs();
    for (const ProcessInfo& p : all) {
        if (p.parent != parent ||
            std::find(excluded.begin(), excluded.end(), p.pid) != excluded.end())
            continue;
        auto known =
            std::find_if(seen.begin(), seen.end(), [&](const Launch& l) { return l.pid == p.pid; });
        if (known == seen.end()) {
            HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, p.pid);
            seen.push_back({p.pid, p.image, now, harness::Process(h, p.pid)});
        }
    }
    for (Launch& l : seen) {
        if (l.image.empty())
            l.image = ImageName(l.process.Handle());
    }
}

bool AllNamed(const std::vector<Launch>& launches) {
    return std::all_of(launches.begin(), launches.end(),
                       [](const Launch& l) { return !l.image.empty(); });
}

std::vector<Launch> WatchLaunches(DWORD parent, size_t count, DWORD timeout_ms) {
    std::vector<Launch> seen;
    harness::WaitUntil(
        [&] {
            NoteLaunches(Processes(), parent, {}, seen);
            return seen.size() >= count && AllNamed(seen);
        },
        timeout_ms, 2);
    return seen;
}

HWND CorlaneWindow() {
    return FindWindowA(nullptr, "Corlane");
}
HWND LumettaWindow() {
    return FindWindowA(nullptr, "Lumetta");
}
HWND RelaineWindow() {
    return FindWindowA(RELAINE_CLASS, RELAINE_TITLE);
}

DWORD OnlyProcess(const char* image) {
    const std::vector<DWORD> ids = harness::ProcessIds(image);
    return ids.size() == 1 ? ids[0] : 0;
}

// Sends the message and waits until the window procedure has handled it.
bool SendToRelaine(UINT message, WPARAM wParam, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(RelaineWindow(), message, wParam, lParam, SMTO_NORMAL, 20000,
                               &result) != 0;
}

// Each case runs on a machine without the notebook's driver and library, where Corlane
// stops at its first message box, and with the simulated notebook when it is built, where
// Corlane starts completely and launches a missing popup itself.
enum class Notebook { None, Simulated };

class Relaine : public ::testing::TestWithParam<Notebook> {
  protected:
    void SetUp() override {
        harness::KillSystem();
        ASSERT_FALSE(harness::CrashSeen());
        MakeFolders(ELSEWHERE);
        Install(INSTALL);
#ifdef RELAINE_WITH_SIMULATOR
        if (GetParam() == Notebook::Simulated) {
            ASSERT_TRUE(sim::InstallDriver());
            ASSERT_TRUE(sim::InstallLibrary());
        }
#endif
    }
    void TearDown() override {
        EXPECT_FALSE(harness::CrashSeen()) << "a program crashed";
        harness::KillSystem();
        harness::KillAll("relaine_titled_window.exe");
#ifdef RELAINE_WITH_SIMULATOR
        sim::RemoveAll();
#endif
        Uninstall(INSTALL);
        DeleteFileA(RECORD.c_str());
    }

    harness::Process StartRelaine(const std::string& folder = INSTALL) {
        harness::Process relaine = harness::Start(folder + "\\Relaine.exe", "", ELSEWHERE);
        EXPECT_TRUE(relaine.Started()) << folder;
        return relaine;
    }

    // Starts Relaine and waits until it has launched both programs and one of each runs
    // with its window (a copy that found another running has ended).
    harness::Process StartSystem() {
        harness::Process relaine = StartRelaine();
        EXPECT_EQ(WatchLaunches(relaine.Id(), 2, 10000).size(), 2u);
        EXPECT_TRUE(harness::WaitUntil(
            [] {
                return CorlaneWindow() && LumettaWindow() && RelaineWindow() &&
                       OnlyProcess("Corlane.exe") && OnlyProcess("Lumetta.exe");
            },
            15000));
        return relaine;
    }
};

TEST_P(Relaine, StartLaunchesCorlaneThenLumettaFromItsOwnFolderOneSecondApart) {
    harness::Process relaine = StartRelaine();
    const std::vector<Launch> launches = WatchLaunches(relaine.Id(), 2, 10000);
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_TRUE(SamePath(launches[0].image, "Corlane.exe")) << launches[0].image;
    EXPECT_TRUE(SamePath(launches[1].image, "Lumetta.exe")) << launches[1].image;
    const double apart = launches[1].at - launches[0].at;
    EXPECT_GE(apart, 600.0) << "a pause of one second after the first launch";
    EXPECT_LE(apart, 3000.0);

    ASSERT_TRUE(harness::WaitUntil([] { return CorlaneWindow() && LumettaWindow(); }, 10000));
    const DWORD corlane = harness::WindowProcessId(CorlaneWindow());
    const DWORD lumetta = harness::WindowProcessId(LumettaWindow());
    EXPECT_TRUE(SamePath(ImagePath(corlane), INSTALL + "\\Corlane.exe")) << ImagePath(corlane);
    EXPECT_TRUE(SamePath(ImagePath(lumetta), INSTALL + "\\Lumetta.exe")) << ImagePath(lumetta);
    EXPECT_TRUE(relaine.Running());
#ifdef RELAINE_WITH_SIMULATOR
    if (GetParam() == Notebook::Simulated) {
        EXPECT_TRUE(sim::WaitForEventAssigned(10000)) << "Corlane got through to the driver";
    }
#endif
}

TEST_P(Relaine, WindowIsHiddenToolWindowWithTheDefaultMenu) {
    harness::Process relaine = StartSystem();
    HWND window = RelaineWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(harness::WindowProcessId(window), relaine.Id());
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_NE(GetMenu(window), nullptr);
}

TEST_P(Relaine, StartWhileBothRunLeavesTheRunningOnesUntouched) {
    // The popup first: a Corlane that gets far in its start-up launches a missing popup.
    harness::Process lumetta = harness::Start(INSTALL + "\\Lumetta.exe", "", ELSEWHERE);
    ASSERT_TRUE(harness::WaitUntil([] { return LumettaWindow() != nullptr; }, 10000));
    harness::Process corlane = harness::Start(INSTALL + "\\Corlane.exe", "", ELSEWHERE);
    ASSERT_TRUE(harness::WaitUntil([] { return CorlaneWindow() != nullptr; }, 10000));

    harness::Process relaine = StartRelaine();
    const std::vector<Launch> launches = WatchLaunches(relaine.Id(), 2, 10000);
    ASSERT_EQ(launches.size(), 2u) << "both are launched again";
    EXPECT_TRUE(SamePath(launches[0].image, "Corlane.exe")) << launches[0].image;
    EXPECT_TRUE(SamePath(launches[1].image, "Lumetta.exe")) << launches[1].image;
    EXPECT_TRUE(harness::WaitUntil(
        [&] { return !Alive(launches[0].pid) && !Alive(launches[1].pid); }, 10000))
        << "the new copies end by their own guards";
    EXPECT_EQ(harness::ProcessIds("Corlane.exe"), std::vector<DWORD>{corlane.Id()});
    EXPECT_EQ(harness::ProcessIds("Lumetta.exe"), std::vector<DWORD>{lumetta.Id()});
    EXPECT_TRUE(corlane.Running());
    EXPECT_TRUE(lumetta.Running());
}

TEST_P(Relaine, ConsoleDisconnectKillsBothAndStartsNothing) {
    harness::Process relaine = StartSystem();
    const DWORD corlane = OnlyProcess("Corlane.exe");
    const DWORD lumetta = OnlyProcess("Lumetta.exe");
    ASSERT_NE(corlane, 0u);
    ASSERT_NE(lumetta, 0u);

    ASSERT_TRUE(SendToRelaine(WM_WTSSESSION_CHANGE_MESSAGE, 2));
    EXPECT_TRUE(harness::WaitUntil([&] { return !Alive(corlane) && !Alive(lumetta); }, 5000));
    Sleep(2500);
    EXPECT_TRUE(harness::ProcessIds("Corlane.exe").empty());
    EXPECT_TRUE(harness::ProcessIds("Lumetta.exe").empty());
    EXPECT_EQ(CorlaneWindow(), nullptr);
    EXPECT_EQ(LumettaWindow(), nullptr);
    EXPECT_TRUE(relaine.Running());
}

TEST_P(Relaine, ConsoleConnectKillsWhatRunsThenStartsBothAfresh) {
    harness::Process relaine = StartSystem();
    const DWORD oldCorlane = OnlyProcess("Corlane.exe");
    const DWORD oldLumetta = OnlyProcess("Lumetta.exe");
    ASSERT_NE(oldCorlane, 0u);
    ASSERT_NE(oldLumetta, 0u);

    const double sent = harness::NowMs();
    ASSERT_TRUE(PostMessageA(RelaineWindow(), WM_WTSSESSION_CHANGE_MESSAGE, 1, 0));
    double corlaneGone = 0, lumettaGone = 0;
    std::vector<Launch> fresh;
    harness::WaitUntil(
        [&] {
            const double now = harness::NowMs();
            const std::vector<ProcessInfo> all = Processes();
            auto alive = [&](DWORD pid) {
                return std::any_of(all.begin(), all.end(),
                                   [pid](const ProcessInfo& p) { return p.pid == pid; });
            };
            if (!corlaneGone && !alive(oldCorlane))
                corlaneGone = now;
            if (!lumettaGone && !alive(oldLumetta))
                lumettaGone = now;
            NoteLaunches(all, relaine.Id(), {oldCorlane, oldLumetta}, fresh);
            return corlaneGone && lumettaGone && fresh.size() >= 2 && AllNamed(fresh);
        },
        15000, 2);
    ASSERT_GT(corlaneGone, 0.0) << "the running Corlane is killed";
    ASSERT_GT(lumettaGone, 0.0) << "the running Lumetta is killed";
    ASSERT_EQ(fresh.size(), 2u);
    EXPECT_TRUE(SamePath(fresh[0].image, "Corlane.exe")) << fresh[0].image;
    EXPECT_TRUE(SamePath(fresh[1].image, "Lumetta.exe")) << fresh[1].image;
    EXPECT_LT(corlaneGone, lumettaGone) << "Corlane is killed first";
    EXPECT_GE(lumettaGone - sent, 300.0) << "half a second after killing Corlane";
    EXPECT_GT(fresh[0].at, lumettaGone) << "the launches come after the kills";
    EXPECT_GE(fresh[1].at - fresh[0].at, 600.0) << "one second between the launches";

    ASSERT_TRUE(harness::WaitUntil([] { return CorlaneWindow() && LumettaWindow(); }, 10000));
    EXPECT_EQ(harness::WindowProcessId(CorlaneWindow()), fresh[0].pid);
    // Corlane may have launched the popup itself before Relaine's copy came up.
    const DWORD lumetta = harness::WindowProcessId(LumettaWindow());
    EXPECT_NE(lumetta, oldLumetta);
    EXPECT_TRUE(SamePath(ImagePath(lumetta), INSTALL + "\\Lumetta.exe")) << ImagePath(lumetta);
    EXPECT_TRUE(relaine.Running());
}

TEST_P(Relaine, OtherSessionChangesLeaveBothRunning) {
    harness::Process relaine = StartSystem();
    const DWORD corlane = OnlyProcess("Corlane.exe");
    const DWORD lumetta = OnlyProcess("Lumetta.exe");
    ASSERT_NE(corlane, 0u);
    ASSERT_NE(lumetta, 0u);
    const struct {
        WPARAM code;
        const char* name;
    } changes[] = {
        {3, "remote connect"}, {4, "remote disconnect"}, {5, "logon"}, {6, "logoff"}, {7, "lock"},
        {8, "unlock"},
    };
    for (const auto& change : changes) {
        EXPECT_TRUE(SendToRelaine(WM_WTSSESSION_CHANGE_MESSAGE, change.code)) << change.name;
        EXPECT_EQ(harness::ProcessIds("Corlane.exe"), std::vector<DWORD>{corlane}) << change.name;
        EXPECT_EQ(harness::ProcessIds("Lumetta.exe"), std::vector<DWORD>{lumetta}) << change.name;
    }
    Sleep(1500);
    EXPECT_EQ(harness::ProcessIds("Corlane.exe"), std::vector<DWORD>{corlane});
    EXPECT_EQ(harness::ProcessIds("Lumetta.exe"), std::vector<DWORD>{lumetta});
    EXPECT_TRUE(relaine.Running());
}

TEST_P(Relaine, UnrelatedWindowTitledInLowerCaseIsKilledAsWell) {
    harness::Process relaine = StartSystem();
    harness::Process unrelated = harness::Start(TITLED_WINDOW, "corlane");
    ASSERT_TRUE(unrelated.Started()) << TITLED_WINDOW;
    ASSERT_TRUE(harness::WaitUntil(
        [] { return harness::ProcessIds("Corlane.exe").size() == 1 && CorlaneWindow(); }, 5000));
    ASSERT_TRUE(harness::WaitUntil(
        [] { return FindWindowA("RelaineTestWindow", "corlane") != nullptr; }, 5000));

    ASSERT_TRUE(SendToRelaine(WM_WTSSESSION_CHANGE_MESSAGE, 2));
    DWORD code = 0;
    EXPECT_TRUE(unrelated.WaitExit(5000, &code));
    EXPECT_EQ(code, STILL_ACTIVE_CODE) << "killed with the exit code it read while running";
    EXPECT_TRUE(harness::WaitUntil(
        [] {
            return harness::ProcessIds("Corlane.exe").empty() &&
                   harness::ProcessIds("Lumetta.exe").empty();
        },
        5000));
}

TEST_P(Relaine, SecondInstanceBringsTheFirstForwardAndEndsWithZero) {
    harness::Process first = StartSystem();
    HWND window = RelaineWindow();
    ASSERT_NE(window, nullptr);
    const DWORD corlane = OnlyProcess("Corlane.exe");
    const DWORD lumetta = OnlyProcess("Lumetta.exe");

    harness::Process second = StartRelaine();
    DWORD code = 1;
    ASSERT_TRUE(second.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(first.Running());
    EXPECT_EQ(RelaineWindow(), window);
    EXPECT_FALSE(IsWindowVisible(window)) << "the first one stays hidden";
    const std::vector<ProcessInfo> all = Processes();
    EXPECT_FALSE(std::any_of(all.begin(), all.end(), [&](const ProcessInfo& p) {
        return p.parent == second.Id();
    })) << "the second one launched nothing";
    EXPECT_EQ(harness::ProcessIds("Corlane.exe"), std::vector<DWORD>{corlane});
    EXPECT_EQ(harness::ProcessIds("Lumetta.exe"), std::vector<DWORD>{lumetta});
}

TEST_P(Relaine, ExitCommandOrCloseEndsRelaineWithZeroAndLeavesBothRunning) {
    const struct {
        UINT message;
        WPARAM wParam;
        const char* name;
    } ends[] = {{WM_COMMAND, 105, "exit command"}, {WM_CLOSE, 0, "close"}};
    for (const auto& end : ends) {
        harness::Process relaine = StartSystem();
        const DWORD corlane = OnlyProcess("Corlane.exe");
        const DWORD lumetta = OnlyProcess("Lumetta.exe");
        ASSERT_TRUE(PostMessageA(RelaineWindow(), end.message, end.wParam, 0)) << end.name;
        DWORD code = 1;
        ASSERT_TRUE(relaine.WaitExit(10000, &code)) << end.name;
        EXPECT_EQ(code, 0u) << end.name;
        Sleep(1000);
        EXPECT_EQ(harness::ProcessIds("Corlane.exe"), std::vector<DWORD>{corlane}) << end.name;
        EXPECT_EQ(harness::ProcessIds("Lumetta.exe"), std::vector<DWORD>{lumetta}) << end.name;
        harness::KillSystem();
    }
}

// A Relaine of another session holds the instance name but has no window on this desktop;
// an object of another kind under the name makes the mutex creation fail. Either way this
// Relaine runs and launches both programs.
TEST_P(Relaine, NameTakenWithoutAWindowHereStillRuns) {
    const struct {
        const char* what;
        HANDLE (*take)();
    } takers[] = {
        {"mutex of another instance",
         [] { return CreateMutexA(nullptr, FALSE, "Global\\TAMSO2 RelaineSwitching.exe"); }},
        {"event under the name",
         [] { return CreateEventA(nullptr, TRUE, FALSE, "Global\\TAMSO2 RelaineSwitching.exe"); }},
    };
    for (const auto& taker : takers) {
        HANDLE name = taker.take();
        ASSERT_NE(name, nullptr) << taker.what;
        harness::Process relaine = StartRelaine();
        const std::vector<Launch> launches = WatchLaunches(relaine.Id(), 2, 10000);
        EXPECT_EQ(launches.size(), 2u) << taker.what;
        EXPECT_NE(RelaineWindow(), nullptr) << taker.what;
        EXPECT_TRUE(relaine.Running()) << taker.what;
        harness::KillSystem();
        CloseHandle(name);
    }
}

TEST_P(Relaine, AboutCommandOpensTheAboutBoxThatOkCloses) {
    harness::Process relaine = StartSystem();
    ASSERT_TRUE(PostMessageA(RelaineWindow(), WM_COMMAND, 104, 0));
    HWND about = harness::WaitForWindow("#32770", "About", 10000);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(harness::WindowProcessId(about), relaine.Id());
    EXPECT_EQ(GetWindow(about, GW_OWNER), RelaineWindow());
    HWND ok = nullptr;
    ASSERT_TRUE(
        harness::WaitUntil([&] { return (ok = GetDlgItem(about, IDOK)) != nullptr; }, 5000));
    char text[64] = {};
    GetWindowTextA(ok, text, sizeof text);
    EXPECT_STREQ(text, "OK");
    EXPECT_NE(FindWindowExA(about, nullptr, "Static", "RelaineSwitching Version 1.0"), nullptr);
    HWND icon = GetDlgItem(about, 2);
    ASSERT_NE(icon, nullptr);
    EXPECT_NE(SendMessageA(icon, STM_GETICON, 0, 0), 0) << "the program icon is shown";
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(harness::WaitUntil([&] { return !IsWindow(about); }, 5000));
    EXPECT_TRUE(relaine.Running());
}

// The resources as another program finds them in the executable: language 1028, the
// manifest 1033.
class RelaineResources : public ::testing::Test {
  protected:
    void SetUp() override {
        module = LoadLibraryExA((harness::BinDir() + "\\Relaine.exe").c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override { FreeLibrary(module); }

    std::string Resource(LPCSTR type, int id, WORD language) {
        HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), language);
        if (!found)
            return "";
        const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
        return std::string(data, SizeofResource(module, found));
    }
    // The widths of an icon group's images, in the group's order.
    std::vector<int> IconSizes(int id) {
        const std::string group = Resource(RT_GROUP_ICON, id, TRADITIONAL_CHINESE);
        std::vector<int> sizes;
        if (group.size() < 6)
            return sizes;
        const int count = static_cast<unsigned char>(group[4]);
        for (int i = 0; i < count && 6 + 14 * i < static_cast<int>(group.size()); ++i)
            sizes.push_back(static_cast<unsigned char>(group[6 + 14 * i]));
        return sizes;
    }

    static constexpr WORD TRADITIONAL_CHINESE = 1028;
    static constexpr WORD US_ENGLISH = 1033;
    HMODULE module = nullptr;
};

TEST_F(RelaineResources, StringsMenuAcceleratorsDialogIconsAndManifest) {
    const struct {
        int id;
        const char* text;
    } strings[] = {{103, "RelaineSwitching"}, {106, "Hello World!"}, {109, "RELAINESWITCHING"}};
    for (const auto& s : strings) {
        char text[100] = {};
        EXPECT_GT(LoadStringA(module, s.id, text, sizeof text), 0) << s.id;
        EXPECT_STREQ(text, s.text);
    }
    EXPECT_FALSE(Resource(RT_STRING, 103 / 16 + 1, TRADITIONAL_CHINESE).empty());
    EXPECT_FALSE(Resource(RT_MENU, 109, TRADITIONAL_CHINESE).empty());
    EXPECT_FALSE(Resource(RT_DIALOG, 103, TRADITIONAL_CHINESE).empty());
    EXPECT_FALSE(Resource(RT_ACCELERATOR, 109, TRADITIONAL_CHINESE).empty());

    HACCEL table = LoadAcceleratorsA(module, MAKEINTRESOURCEA(109));
    ASSERT_NE(table, nullptr);
    ACCEL keys[4] = {};
    ASSERT_EQ(CopyAcceleratorTableA(table, keys, 4), 2);
    for (const ACCEL& key : keys) {
        if (!key.cmd)
            continue;
        EXPECT_EQ(key.cmd, 104);
        EXPECT_EQ(key.fVirt & (FALT | FVIRTKEY), FALT) << "Alt with a character code";
    }
    EXPECT_EQ(keys[0].key, '?');
    EXPECT_EQ(keys[1].key, '/');
    DestroyAcceleratorTable(table);

    EXPECT_EQ(IconSizes(107), (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 128}));
    EXPECT_EQ(IconSizes(108), std::vector<int>{16});

    const std::string manifest = Resource(RT_MANIFEST, 1, US_ENGLISH);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos) << manifest;
    EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos) << manifest;
}

// A folder so long that Relaine's own path does not fit its 256-character buffer: nothing
// is launched, although both programs lie beside it.
TEST_P(Relaine, FolderTooLongForThePathBufferLaunchesNothing) {
    const std::string longFolder =
        "C:\\Program Files\\" + std::string(200, 'r') + "\\" + std::string(246 - 218, 'l');
    ASSERT_EQ(longFolder.size(), 246u);
    Install(longFolder);
    harness::Process relaine = StartRelaine(longFolder);
    ASSERT_NE(harness::WaitForWindow(RELAINE_CLASS, RELAINE_TITLE, 10000), nullptr);
    const std::vector<Launch> launches = WatchLaunches(relaine.Id(), 1, 3000);
    EXPECT_EQ(launches.size(), 0u);
    EXPECT_TRUE(harness::ProcessIds("Corlane.exe").empty());
    EXPECT_TRUE(harness::ProcessIds("Lumetta.exe").empty());
    EXPECT_TRUE(relaine.Running());
    relaine.Terminate();
    Uninstall(longFolder);
    RemoveDirectoryA(("C:\\Program Files\\" + std::string(200, 'r')).c_str());
}

#ifdef RELAINE_WITH_SIMULATOR
INSTANTIATE_TEST_SUITE_P(Notebook, Relaine, ::testing::Values(Notebook::None, Notebook::Simulated),
                         [](const ::testing::TestParamInfo<Notebook>& info) {
                             return info.param == Notebook::None ? "NoDriver" : "Simulated";
                         });
#else
INSTANTIATE_TEST_SUITE_P(Notebook, Relaine, ::testing::Values(Notebook::None),
                         [](const ::testing::TestParamInfo<Notebook>&) { return "NoDriver"; });
#endif

} // namespace
