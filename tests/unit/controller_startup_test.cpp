// The dialog's start-up: the order of its steps and what goes on after each failure.
#include "core/startup.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using Steps = std::vector<std::string>;

class RecordingStartup : public StartupSeam {
  public:
    std::set<std::string> failing;
    Steps steps;

    void BaseInitDialog() override { Step("base"); }
    void StoreDialogHandle() override { Step("handle"); }
    void SetIcons() override { Step("icons"); }
    void SetTitle(const char* title) override { Step(std::string("title ") + title); }
    void HideWindow() override { Step("hide"); }
    void SaveCurrentDirectory() override { Step("save directory"); }
    void CleanLegacyFolder() override { Step("legacy"); }
    void RegisterRawInput() override { Step("raw input"); }
    bool OpenACPIDriver() override { return Try("open driver"); }
    void SendACPIInit() override { Step("init"); }
    void CreateUnusedEvents() override { Step("C9 to CC"); }
    void CreateKWBEvents() override { Step("KWB events"); }
    void StartRepeatWorkers() override { Step("repeat workers"); }
    bool CreateFenmarEvent() override { return Try("FENMAR"); }
    void StartHotKeyThread() override { Step("hotkey thread"); }
    bool AssignFenmarEvent() override { return Try("assign"); }
    void EnsurePopupRuns() override { Step("popup"); }
    bool LoadBrightnessLibrary() override { return Try("load library"); }
    bool FindSetBrightnessLevel() override { return Try("find export"); }
    void SetBrightnessLevelStep() override { Step("library step"); }
    void StartBrightnessWatcher() override { Step("watcher"); }
    void ReadStartupLevel() override { Step("SOSD"); }
    void StartBrightnessRecord() override { Step("record"); }
    void ShowMessage(const char* text) override { Step(std::string("box ") + text); }

  private:
    void Step(const std::string& name) { steps.push_back(name); }
    bool Try(const std::string& name) {
        Step(name);
        return failing.count(name) == 0;
    }
};

const Steps kUpToTheDriver = {"base",           "handle", "icons",     "title Corlane", "hide",
                              "save directory", "legacy", "raw input", "open driver"};
const Steps kWorkers = {"init",   "C9 to CC",      "KWB events", "repeat workers",
                        "FENMAR", "hotkey thread", "assign"};
const Steps kAfterTheExport = {"library step", "watcher", "SOSD", "record"};

Steps Join(std::initializer_list<Steps> parts) {
    Steps all;
    for (const Steps& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(Startup, CompleteStartUpRunsEveryStepInOrder) {
    RecordingStartup seam;
    EXPECT_TRUE(RunStartup(seam));
    EXPECT_EQ(
        seam.steps,
        Join(
            {kUpToTheDriver, kWorkers, {"popup", "load library", "find export"}, kAfterTheExport}));
}

struct FailureCase {
    const char* failing;
    bool result;
    Steps steps;
};

TEST(Startup, EachFailureShowsItsBoxAndWhatFollowsStillRuns) {
    const FailureCase cases[] = {
        {"open driver", true,
         Join({kUpToTheDriver,
               {"box Can't Open ACPI kernel Mode Driver"},
               kWorkers,
               {"popup", "load library", "find export"},
               kAfterTheExport})},
        {"FENMAR", true,
         Join({kUpToTheDriver,
               {"init", "C9 to CC", "KWB events", "repeat workers", "FENMAR",
                "box Can't create Event object for FENMAR ACPI driver", "hotkey thread", "assign",
                "popup", "load library", "find export"},
               kAfterTheExport})},
        {"assign", true,
         Join({kUpToTheDriver,
               kWorkers,
               {"box IOCTL_OSTRELEC_ASSIGN_EVENT fail", "popup", "load library", "find export"},
               kAfterTheExport})},
        {"load library", false,
         Join(
             {kUpToTheDriver,
              kWorkers,
              {"popup", "load library", "box Can't Load BRIGHTNESS.DLL For Brightness Control!"}})},
        {"find export", false,
         Join({kUpToTheDriver,
               kWorkers,
               {"popup", "load library", "find export",
                "box Can't Get ProcAddress for Brightness Control!"}})},
    };
    for (const FailureCase& c : cases) {
        RecordingStartup seam;
        seam.failing = {c.failing};
        EXPECT_EQ(RunStartup(seam), c.result) << c.failing;
        EXPECT_EQ(seam.steps, c.steps) << c.failing;
    }
}

TEST(Startup, NoDriverShowsBothDriverBoxesAndGoesOn) {
    RecordingStartup seam;
    seam.failing = {"open driver", "assign"};
    EXPECT_TRUE(RunStartup(seam));
    Steps boxes;
    for (const std::string& step : seam.steps)
        if (step.rfind("box ", 0) == 0)
            boxes.push_back(step);
    EXPECT_EQ(boxes, (Steps{"box Can't Open ACPI kernel Mode Driver",
                            "box IOCTL_OSTRELEC_ASSIGN_EVENT fail"}));
    EXPECT_EQ(seam.steps.back(), "record");
}

} // namespace
