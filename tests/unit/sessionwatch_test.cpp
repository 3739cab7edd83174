// Relaine's kill and launch loops over a fake desktop: which processes are killed and
// launched, in which order, with which pauses, and where the kill loop gives up.
#include "watcher.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct FakeWindow {
    std::string title;
    std::uint32_t pid;
};

struct FakeProcess {
    std::uint32_t pid;
    bool openable = true;
    bool killable = true;
    bool exitCodeReadable = true;
    bool running = true;
    std::uint32_t exitCode = 259; // STILL_ACTIVE while running
};

bool SameTitle(const std::string& a, const char* b) {
    if (a.size() != std::strlen(b))
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// A desktop of windows and processes, with a clock that only pauses move. Every call is
// logged with the time it was made at.
class FakeDesktop : public WatcherSeam {
  public:
    std::vector<FakeWindow> windows;
    std::vector<FakeProcess> processes;
    std::vector<std::string> log;
    unsigned now = 0;
    int openHandles = 0;

    void* FindWindowTitled(const char* title) override {
        for (FakeWindow& w : windows) {
            if (SameTitle(w.title, title))
                return &w;
        }
        return nullptr;
    }
    std::uint32_t WindowProcessId(void* window) override {
        return static_cast<FakeWindow*>(window)->pid;
    }
    void* OpenProcessAllAccess(std::uint32_t pid) override {
        FakeProcess* p = Find(pid);
        Log("open " + std::to_string(pid) + (p && p->openable ? "" : " refused"));
        if (!p || !p->openable)
            return nullptr;
        ++openHandles;
        return p;
    }
    bool ReadExitCode(void* process, std::uint32_t& code) override {
        FakeProcess* p = static_cast<FakeProcess*>(process);
        if (!p->exitCodeReadable)
            return false;
        code = p->exitCode;
        return true;
    }
    void TerminateProcessWith(void* process, std::uint32_t exitCode) override {
        FakeProcess* p = static_cast<FakeProcess*>(process);
        Log("kill " + std::to_string(p->pid) + " with " + std::to_string(exitCode));
        if (!p->killable)
            return;
        p->running = false;
        p->exitCode = exitCode;
        EraseWindowsOf(p->pid);
    }
    void CloseProcess(void* process) override {
        Log("close " + std::to_string(static_cast<FakeProcess*>(process)->pid));
        --openHandles;
    }
    void Launch(const char* path) override { Log(std::string("launch ") + path); }
    void Pause(unsigned ms) override { now += ms; }

    void AddProcess(std::uint32_t pid, const std::string& title) {
        processes.push_back({pid});
        windows.push_back({title, pid});
    }
    FakeProcess* Find(std::uint32_t pid) {
        for (FakeProcess& p : processes) {
            if (p.pid == pid)
                return &p;
        }
        return nullptr;
    }
    // The log entries that start with prefix, e.g. every "kill".
    std::vector<std::string> Calls(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& line : log) {
            const std::size_t space = line.find(' ');
            if (line.compare(space + 1, prefix.size(), prefix) == 0)
                found.push_back(line);
        }
        return found;
    }

  private:
    void Log(const std::string& what) { log.push_back(std::to_string(now) + " " + what); }
    void EraseWindowsOf(std::uint32_t pid) {
        std::vector<FakeWindow> left;
        for (const FakeWindow& w : windows) {
            if (w.pid != pid)
                left.push_back(w);
        }
        windows = left;
    }
};

using Log = std::vector<std::string>;

TEST(SubProcessTerminate, KillsCorlaneThenLumettaPausingHalfASecondAfterEach) {
    FakeDesktop desktop;
    desktop.AddProcess(20, "LUMETTA");
    desktop.AddProcess(10, "Corlane");
    SubProcess_Terminate(desktop);
    EXPECT_EQ(desktop.log, (Log{"0 open 10", "0 kill 10 with 259", "500 close 10", "500 open 20",
                                "500 kill 20 with 259", "1000 close 20"}));
    EXPECT_EQ(desktop.now, 1000u);
    EXPECT_TRUE(desktop.windows.empty());
    EXPECT_EQ(desktop.openHandles, 0);
}

TEST(SubProcessTerminate, KillsEveryProcessWithTheTitleBeforeTheNextEntry) {
    FakeDesktop desktop;
    desktop.AddProcess(10, "Corlane");
    desktop.AddProcess(30, "Lumetta");
    desktop.AddProcess(11, "Corlane");
    desktop.AddProcess(12, "Corlane");
    SubProcess_Terminate(desktop);
    EXPECT_EQ(desktop.Calls("kill"), (Log{"0 kill 10 with 259", "500 kill 11 with 259",
                                          "1000 kill 12 with 259", "1500 kill 30 with 259"}));
    EXPECT_TRUE(desktop.windows.empty());
}

TEST(SubProcessTerminate, TitlesMatchInAnyLetterCaseAndOnlyWholeTitles) {
    const struct {
        const char* title;
        bool killed;
    } cases[] = {
        {"Corlane", true},   {"corlane", true},           {"CORLANE", true},
        {"cOrLaNe", true},   {"Lumetta", true},           {"LUMETTA", true},
        {"lumetta", true},   {"Corlane ", false},         {"Corlan", false},
        {"Corlane2", false}, {"Lumetta.exe", false},      {"", false},
        {"Relaine", false},  {"RelaineSwitching", false},
    };
    for (const auto& c : cases) {
        FakeDesktop desktop;
        desktop.AddProcess(7, c.title);
        SubProcess_Terminate(desktop);
        EXPECT_EQ(desktop.Calls("kill").size(), c.killed ? 1u : 0u) << '"' << c.title << '"';
        EXPECT_EQ(desktop.now, c.killed ? KILL_PAUSE_MS : 0u) << '"' << c.title << '"';
    }
}

TEST(SubProcessTerminate, NothingToKillMeansNoCallsAndNoPause) {
    FakeDesktop desktop;
    SubProcess_Terminate(desktop);
    EXPECT_TRUE(desktop.log.empty());
    EXPECT_EQ(desktop.now, 0u);
}

TEST(SubProcessTerminate, UnkillableWindowIsTriedUpToTheBoundThenTheNextEntryIsHandled) {
    const struct {
        const char* what;
        bool openable;
        bool killable;
        const char* attempt; // logged for every attempt
    } cases[] = {
        {"cannot be opened", false, true, "open 10 refused"},
        {"cannot be terminated", true, false, "kill 10 with 259"},
    };
    for (const auto& c : cases) {
        FakeDesktop desktop;
        desktop.AddProcess(10, "Corlane");
        desktop.processes[0].openable = c.openable;
        desktop.processes[0].killable = c.killable;
        desktop.AddProcess(20, "Lumetta");
        SubProcess_Terminate(desktop);
        const std::string attempt = std::string(c.attempt).substr(0, 4);
        Log attempts = desktop.Calls(attempt);
        ASSERT_EQ(attempts.size(), static_cast<std::size_t>(MAX_KILL_ATTEMPTS) + 1)
            << c.what << ": the bound for Corlane, then one for Lumetta";
        for (int i = 0; i < MAX_KILL_ATTEMPTS; ++i)
            EXPECT_EQ(attempts[i], std::to_string(i * KILL_PAUSE_MS) + " " + c.attempt) << c.what;
        EXPECT_EQ(desktop.Calls("kill").back(),
                  std::to_string(MAX_KILL_ATTEMPTS * KILL_PAUSE_MS) + " kill 20 with 259")
            << c.what << ": Lumetta is still killed";
        EXPECT_EQ(desktop.now, (MAX_KILL_ATTEMPTS + 1) * KILL_PAUSE_MS) << c.what;
        EXPECT_EQ(desktop.openHandles, 0) << c.what << ": every opened handle is closed";
    }
}

TEST(SubProcessTerminate, RefusedProcessGetsNoTerminateOrCloseCalls) {
    FakeDesktop desktop;
    desktop.AddProcess(10, "Corlane");
    desktop.processes[0].openable = false;
    SubProcess_Terminate(desktop);
    EXPECT_TRUE(desktop.Calls("kill").empty());
    EXPECT_TRUE(desktop.Calls("close").empty());
    EXPECT_EQ(desktop.Calls("open").size(), static_cast<std::size_t>(MAX_KILL_ATTEMPTS));
}

TEST(SubProcessTerminate, UnreadableExitCodeKeepsTheLastOneReadStartingFromZero) {
    FakeDesktop desktop;
    desktop.AddProcess(10, "Corlane");
    desktop.processes[0].exitCodeReadable = false;
    desktop.AddProcess(11, "Corlane");
    desktop.AddProcess(20, "Lumetta");
    desktop.processes[2].exitCodeReadable = false;
    SubProcess_Terminate(desktop);
    EXPECT_EQ(desktop.Calls("kill"),
              (Log{"0 kill 10 with 0", "500 kill 11 with 259", "1000 kill 20 with 259"}));

    // A later call starts from zero again.
    desktop.log.clear();
    desktop.AddProcess(12, "Corlane");
    desktop.processes.back().exitCodeReadable = false;
    SubProcess_Terminate(desktop);
    EXPECT_EQ(desktop.Calls("kill"), (Log{"1500 kill 12 with 0"}));
}

TEST(SubProcessTerminate, OnlyWindowsWithATableTitleAreTouched) {
    FakeDesktop desktop;
    desktop.AddProcess(5, "RelaineSwitching");
    desktop.AddProcess(6, "Notebook Hotkeys");
    desktop.AddProcess(10, "Corlane");
    SubProcess_Terminate(desktop);
    EXPECT_EQ(desktop.Calls("kill"), (Log{"0 kill 10 with 259"}));
    ASSERT_EQ(desktop.windows.size(), 2u);
}

TEST(SubProcessRestart, LaunchesCorlaneThenLumettaFromTheFolderOneSecondApart) {
    FakeDesktop desktop;
    SubProcess_Restart(desktop, "C:\\Program Files\\Hotkeys");
    EXPECT_EQ(desktop.log, (Log{"0 launch C:\\Program Files\\Hotkeys\\Corlane.exe",
                                "1000 launch C:\\Program Files\\Hotkeys\\Lumetta.exe"}));
    EXPECT_EQ(desktop.now, 2000u);
}

TEST(SubProcessRestart, LaunchesWithoutLookingAtWhatRuns) {
    FakeDesktop desktop;
    desktop.AddProcess(10, "Corlane");
    desktop.AddProcess(20, "LUMETTA");
    SubProcess_Restart(desktop, "D:\\x");
    EXPECT_EQ(desktop.log, (Log{"0 launch D:\\x\\Corlane.exe", "1000 launch D:\\x\\Lumetta.exe"}));
    EXPECT_EQ(desktop.windows.size(), 2u);
}

TEST(SubProcessRestart, FolderTooLongForAPathLaunchesOnlyWhatFits) {
    // The folder with its backslash and "Corlane.exe" (11) or "Lumetta.exe" (11) plus the
    // terminating zero must fit 256 characters: folders up to 243 characters fit.
    for (std::size_t length : {242u, 243u, 244u, 255u}) {
        const std::string folder = "C:\\" + std::string(length - 3, 'f');
        FakeDesktop desktop;
        SubProcess_Restart(desktop, folder.c_str());
        const bool fits = length <= 243;
        EXPECT_EQ(desktop.log.size(), fits ? 2u : 0u) << length;
        EXPECT_EQ(desktop.now, fits ? 2000u : 0u) << length;
        for (const std::string& line : desktop.log)
            EXPECT_EQ(line.size() - line.find("C:\\"), length + 12) << length << ": whole path";
    }
}

TEST(SubProcessRestart, EmptyFolderLaunchesNothing) {
    FakeDesktop desktop;
    SubProcess_Restart(desktop, "");
    EXPECT_TRUE(desktop.log.empty());
    EXPECT_EQ(desktop.now, 0u);
}

TEST(SessionChange, ConsoleEventsKillOrKillAndRestartOthersDoNothing) {
    const struct {
        unsigned code;
        const char* name;
        Log calls;
    } cases[] = {
        {1,
         "console connect",
         {"0 kill 10 with 259", "500 kill 20 with 259", "1000 launch C:\\r\\Corlane.exe",
          "2000 launch C:\\r\\Lumetta.exe"}},
        {2, "console disconnect", {"0 kill 10 with 259", "500 kill 20 with 259"}},
        {3, "remote connect", {}},
        {4, "remote disconnect", {}},
        {5, "logon", {}},
        {6, "logoff", {}},
        {7, "lock", {}},
        {8, "unlock", {}},
        {9, "remote control", {}},
        {0, "zero", {}},
        {0xFFFFFFFFu, "unknown", {}},
    };
    for (const auto& c : cases) {
        FakeDesktop desktop;
        desktop.AddProcess(10, "Corlane");
        desktop.AddProcess(20, "Lumetta");
        OnSessionChange(desktop, c.code, "C:\\r");
        Log calls = desktop.Calls("kill");
        for (const std::string& launch : desktop.Calls("launch"))
            calls.push_back(launch);
        EXPECT_EQ(calls, c.calls) << c.name;
    }
}

TEST(ExePath, JoinsWithOneBackslash) {
    const struct {
        const char* folder;
        const char* path;
    } cases[] = {
        {"C:\\Program Files\\Hotkeys", "C:\\Program Files\\Hotkeys\\Corlane.exe"},
        {"C:\\", "C:\\Corlane.exe"},
        {"Z:\\work\\bin\\", "Z:\\work\\bin\\Corlane.exe"},
        {"\\\\server\\share", "\\\\server\\share\\Corlane.exe"},
    };
    for (const auto& c : cases) {
        char path[PATH_BUFFER_SIZE];
        EXPECT_TRUE(FormExePath(c.folder, "Corlane.exe", path, sizeof path)) << c.folder;
        EXPECT_STREQ(path, c.path);
    }
}

TEST(ExePath, PathThatDoesNotFitLeavesTheBufferEmptyAndWritesNothingBeyondIt) {
    for (std::size_t size : {1u, 5u, 15u, 16u, 17u, 40u}) {
        // "C:\dir" + "\" + "Corlane.exe" + zero = 6 + 1 + 11 + 1 = 19 characters with a
        // guard area behind the buffer.
        std::vector<char> buffer(size + 8, 'x');
        const bool fits = size >= 19;
        EXPECT_EQ(FormExePath("C:\\dir", "Corlane.exe", buffer.data(), size), fits) << size;
        EXPECT_EQ(std::string(buffer.data()), fits ? "C:\\dir\\Corlane.exe" : "") << size;
        for (std::size_t i = size; i < buffer.size(); ++i)
            ASSERT_EQ(buffer[i], 'x') << size << " at " << i;
    }
    char exact[19];
    EXPECT_TRUE(FormExePath("C:\\dir", "Corlane.exe", exact, sizeof exact));
    char oneShort[18];
    EXPECT_FALSE(FormExePath("C:\\dir", "Corlane.exe", oneShort, sizeof oneShort));
}

TEST(ModulePath, CompleteOnlyWhenItFitsWithItsZero) {
    const struct {
        std::uint32_t written;
        bool complete;
    } cases[] = {{0, false}, {1, true}, {200, true}, {255, true}, {256, false}, {300, false}};
    for (const auto& c : cases)
        EXPECT_EQ(ModulePathComplete(c.written, 256), c.complete) << c.written;
}

TEST(SingleInstance, AnswersYesWhenTheMutexExistedOrCouldNotBeCreated) {
    const struct {
        bool gotMutex;
        unsigned lastError;
        bool another;
    } cases[] = {
        {true, 0, false}, {true, 183, true}, {false, 5, true}, {false, 0, true}, {true, 5, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AnotherInstanceMayRun(c.gotMutex, c.lastError), c.another)
            << c.gotMutex << " " << c.lastError;
}

} // namespace
