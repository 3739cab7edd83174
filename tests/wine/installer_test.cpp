// The installer on a machine without the system: a silent install puts the three programs
// side by side under Program Files with a Startup shortcut for every user and an entry in
// the installed programs list; the system runs from there; a silent uninstall stops it and
// leaves nothing behind.
#include "harness.h"
#include "simulator.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#ifndef INSTALLER_FILE
#error INSTALLER_FILE must name the installer of the Windows build
#endif

namespace {

constexpr DWORD kInstallerTimeoutMs = 120000;
constexpr DWORD kSystemStartTimeoutMs = 15000;
constexpr DWORD kUninstallTimeoutMs = 30000;
const char* const kPrograms[] = {"Corlane.exe", "Lumetta.exe", "Relaine.exe"};
// The windows by which the programs know each other.
const struct {
    const char* cls;
    const char* title;
    const char* program;
} kWindows[] = {{"RELAINESWITCHING", "RelaineSwitching", "Relaine.exe"},
                {nullptr, "Corlane", "Corlane.exe"},
                {"LUMETTA", "LUMETTA", "Lumetta.exe"}};
const char kUninstallRoot[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string KnownFolder(int csidl) {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::string InstallFolder() {
    return KnownFolder(CSIDL_PROGRAM_FILES) + "\\Notebook Hotkeys";
}

bool SamePath(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::set<std::string> FolderEntries(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.insert(name);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<std::string> RegistryString(HKEY root, const std::string& key, const char* value) {
    char data[1024];
    DWORD size = sizeof data;
    if (RegGetValueA(root, key.c_str(), value, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::string(data);
}

// The key of the installed programs list whose entry points at the install folder.
std::optional<std::string> UninstallEntry() {
    HKEY root;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallRoot, 0, KEY_READ, &root) != ERROR_SUCCESS)
        return std::nullopt;
    std::optional<std::string> entry;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(root, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        const std::string key = std::string(kUninstallRoot) + "\\" + name;
        const auto location = RegistryString(HKEY_LOCAL_MACHINE, key, "InstallLocation");
        if (location && SamePath(*location, InstallFolder()))
            entry = key;
    }
    RegCloseKey(root);
    return entry;
}

// The shortcuts in the common Startup folder that start the given program.
std::vector<std::string> StartupShortcutsTo(const std::string& program) {
    std::vector<std::string> links;
    const std::string startup = KnownFolder(CSIDL_COMMON_STARTUP);
    for (const std::string& name : FolderEntries(startup)) {
        IShellLinkA* link = nullptr;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(&link))))
            continue;
        IPersistFile* file = nullptr;
        char target[MAX_PATH] = "";
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            const std::string path = startup + "\\" + name;
            const std::wstring wide(path.begin(), path.end());
            if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)))
                link->GetPath(target, MAX_PATH, nullptr, 0);
            file->Release();
        }
        link->Release();
        if (SamePath(target, program))
            links.push_back(name);
    }
    return links;
}

std::string ImagePath(DWORD pid) {
    char path[MAX_PATH] = "";
    DWORD size = MAX_PATH;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process) {
        QueryFullProcessImageNameA(process, 0, path, &size);
        CloseHandle(process);
    }
    return path;
}

// The program file of the process that owns the window, or "" without such a window.
std::string WindowProgram(const char* cls, const char* title) {
    HWND window = FindWindowA(cls, title);
    return window ? ImagePath(harness::WindowProcessId(window)) : "";
}

bool SystemRunning() {
    return !harness::ProcessIds("Relaine.exe").empty() ||
           !harness::ProcessIds("Corlane.exe").empty() ||
           !harness::ProcessIds("Lumetta.exe").empty();
}

// Runs the installer and returns its exit code, or -1 when it did not end in time.
int RunInstaller(const std::string& args) {
    harness::Process installer = harness::Start(INSTALLER_FILE, args);
    DWORD code = 0;
    if (!installer.WaitExit(kInstallerTimeoutMs, &code))
        return -1;
    return static_cast<int>(code);
}

// Runs the uninstaller named by the installed programs list silently. It copies itself to a
// temporary folder and returns at once, so the end of the uninstall is waited for as the
// folder and the list entry going away.
bool Uninstall() {
    const auto entry = UninstallEntry();
    if (!entry)
        return false;
    const auto command = RegistryString(HKEY_LOCAL_MACHINE, *entry, "UninstallString");
    if (!command)
        return false;
    std::string program = *command;
    program.erase(std::remove(program.begin(), program.end(), '"'), program.end());
    harness::Process uninstaller = harness::Start(program, "/S");
    if (!uninstaller.WaitExit(kInstallerTimeoutMs))
        return false;
    return harness::WaitUntil([] { return !Exists(InstallFolder()) && !UninstallEntry(); },
                              kUninstallTimeoutMs, 50);
}

class InstallerTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { CoInitialize(nullptr); }
    static void TearDownTestSuite() { CoUninitialize(); }

    void SetUp() override {
        harness::KillSystem();
        sim::RemoveAll();
        if (UninstallEntry())
            Uninstall();
        ASSERT_FALSE(Exists(InstallFolder())) << "left over from an earlier run";
        ASSERT_FALSE(UninstallEntry());
    }

    void TearDown() override {
        harness::KillSystem();
        if (UninstallEntry())
            Uninstall();
        sim::RemoveAll();
        EXPECT_FALSE(harness::CrashSeen());
    }

    // The notebook's own parts, which come with it rather than with the installer.
    static void InstallNotebook() {
        ASSERT_TRUE(sim::InstallDriver());
        ASSERT_TRUE(sim::InstallLibrary());
    }

    // Relaine from the install folder, and the two programs that it starts from its own.
    void ExpectSystemRunsFromInstallFolder() const {
        for (const auto& w : kWindows) {
            const std::string program = folder_ + "\\" + w.program;
            EXPECT_TRUE(
                harness::WaitUntil([&] { return SamePath(WindowProgram(w.cls, w.title), program); },
                                   kSystemStartTimeoutMs, 50))
                << w.title << " window of " << WindowProgram(w.cls, w.title);
        }
    }

    const std::string folder_ = InstallFolder();
    const std::string relaine_ = InstallFolder() + "\\Relaine.exe";
};

TEST_F(InstallerTest, SilentInstallPutsTheProgramsInPlaceWithoutStartingThem) {
    const std::string library = KnownFolder(CSIDL_SYSTEM) + "\\BRIGHTNESS.DLL";
    const std::string driver = KnownFolder(CSIDL_SYSTEM) + "\\drivers\\velkacpi.sys";
    const bool library_before = Exists(library), driver_before = Exists(driver);

    ASSERT_EQ(RunInstaller("/S"), 0);

    // The three programs, identical to the build's, and the uninstaller: nothing else.
    const auto entry = UninstallEntry();
    ASSERT_TRUE(entry);
    const auto uninstaller = RegistryString(HKEY_LOCAL_MACHINE, *entry, "UninstallString");
    ASSERT_TRUE(uninstaller);
    std::set<std::string> expected(std::begin(kPrograms), std::end(kPrograms));
    const auto entries = FolderEntries(folder_);
    for (const std::string& name : entries) {
        if (uninstaller->find(folder_ + "\\" + name) != std::string::npos)
            expected.insert(name);
    }
    EXPECT_EQ(expected.size(), std::size(kPrograms) + 1) << *uninstaller;
    EXPECT_EQ(entries, expected);
    for (const char* program : kPrograms)
        EXPECT_EQ(FileBytes(folder_ + "\\" + program),
                  FileBytes(harness::BinDir() + "\\" + program))
            << program;

    // No part of the simulated notebook came along.
    EXPECT_EQ(Exists(library), library_before);
    EXPECT_EQ(Exists(driver), driver_before);

    EXPECT_EQ(StartupShortcutsTo(relaine_).size(), 1u);
    EXPECT_TRUE(StartupShortcutsTo(harness::BinDir() + "\\Relaine.exe").empty());
    EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, *entry, "DisplayName"), "Notebook Hotkeys");

    EXPECT_FALSE(harness::WaitUntil(SystemRunning, 3000, 50)) << "started without /START";
}

TEST_F(InstallerTest, SystemRunsFromTheInstallFolderAndUninstallStopsAndRemovesIt) {
    ASSERT_NO_FATAL_FAILURE(InstallNotebook());
    ASSERT_EQ(RunInstaller("/S /START"), 0);
    ExpectSystemRunsFromInstallFolder();

    // The installed Corlane got through its start-up to the driver.
    ASSERT_TRUE(sim::WaitForEventAssigned(kSystemStartTimeoutMs));
    const DWORD corlane = harness::WindowProcessId(FindWindowA(nullptr, "Corlane"));
    const auto log = sim::DriverLog();
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [corlane](const sim::DriverCall& call) {
        return call.request == sim::ASSIGN_EVENT && call.Succeeded() && call.processId == corlane;
    }));

    EXPECT_TRUE(Uninstall());

    for (const char* program : kPrograms)
        EXPECT_TRUE(harness::ProcessIds(program).empty()) << program << " still runs";
    for (const auto& w : kWindows)
        EXPECT_EQ(FindWindowA(w.cls, w.title), nullptr) << w.title;
    EXPECT_FALSE(Exists(folder_));
    EXPECT_TRUE(StartupShortcutsTo(relaine_).empty());
    EXPECT_FALSE(UninstallEntry());
}

TEST_F(InstallerTest, InstallOverTheRunningSystemStopsItFirst) {
    ASSERT_NO_FATAL_FAILURE(InstallNotebook());
    ASSERT_EQ(RunInstaller("/S /START"), 0);
    ExpectSystemRunsFromInstallFolder();
    std::vector<harness::Process> running;
    for (const auto& w : kWindows) {
        const DWORD pid = harness::WindowProcessId(FindWindowA(w.cls, w.title));
        running.emplace_back(OpenProcess(SYNCHRONIZE, FALSE, pid), pid);
        ASSERT_TRUE(running.back().Running()) << w.title;
    }

    EXPECT_EQ(RunInstaller("/S"), 0);

    for (const harness::Process& process : running)
        EXPECT_TRUE(process.WaitExit(0)) << "process " << process.Id() << " still runs";
    for (const char* program : kPrograms)
        EXPECT_EQ(FileBytes(folder_ + "\\" + program),
                  FileBytes(harness::BinDir() + "\\" + program))
            << program;
    EXPECT_EQ(StartupShortcutsTo(relaine_).size(), 1u);
}

} // namespace
