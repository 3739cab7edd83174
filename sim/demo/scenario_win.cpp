// NotebookDemo: installs the system into the Wine prefix with the simulated notebook, starts
// Relaine, and plays a scenario of key presses and power and session events, writing a
// readable log and screenshots of the popup into the folder given as its first argument.
// With --interactive it opens a window of buttons instead of playing the scenario.
// Exit code 0 when every step showed what it should, 1 otherwise, 2 on a usage error.
#include "notebook_win.h"
#include "run_win.h"

#include "client/driver_win.h"
#include "client/parts_win.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace demo {

void RunInteractive(Run& run); // interactive_win.cpp

namespace {

constexpr int32_t LPARAM_DEBR = 17;
constexpr int32_t LPARAM_INBR = 18;
constexpr int32_t LPARAM_TLCD = 162;
constexpr DWORD KEY_GAP_MS = 150;
constexpr DWORD START_TIMEOUT_MS = 20000;
constexpr DWORD RECORDS_TIMEOUT_MS = 3000;

using Methods = std::vector<std::pair<std::string, int32_t>>;

std::string Text(const Methods& methods) {
    std::string text;
    for (const auto& m : methods)
        text += (text.empty() ? "" : ", ") + m.first + " " + std::to_string(m.second);
    return text.empty() ? "none" : text;
}

bool Contains(const Methods& methods, const char* name, int32_t result) {
    for (const auto& m : methods)
        if (m.first == name && m.second == result)
            return true;
    return false;
}

void ExpectMethods(Run& run, const Methods& expected) {
    WaitFor([&] { return MethodsSoFar().size() >= expected.size(); }, RECORDS_TIMEOUT_MS);
    Pump(200); // nothing further may follow
    const Methods called = MethodsSoFar();
    run.Check(called == expected,
              "the BIOS was asked " + Text(called) + " instead of " + Text(expected));
}

void ExpectNotifyCodesRead(Run& run, const std::vector<uint32_t>& expected) {
    WaitFor([&] { return NotifyCodesReadSoFar().size() >= expected.size(); }, RECORDS_TIMEOUT_MS);
    run.Check(NotifyCodesReadSoFar() == expected, "Corlane did not read the expected notify codes");
}

std::vector<int32_t> KeyboardCodes() {
    std::vector<int32_t> codes;
    for (const auto& call : sim::parts::KeyboardCalls())
        codes.push_back(call.lParam);
    return codes;
}

void Keys(Run& run, int32_t code, const char* key, int times) {
    for (int i = 0; i < times; ++i) {
        run.PostCommand(code, key);
        Pump(KEY_GAP_MS);
    }
}

// Brightness steps that stay between two multiples of ten: each is shown at once, with the
// count, and the BIOS is not asked.
void StepsWithinTen(Run& run, int32_t code, int times, Picture picture, int last) {
    const char* key = code == LPARAM_INBR ? "brightness up" : "brightness down";
    Keys(run, code, key, times);
    run.ExpectFrame(picture, last);
}

// The step onto the multiple of ten: the BIOS is asked to step, raises 0xD0, and the
// controller reads the new level with "SOSD".
void StepOntoTen(Run& run, int32_t code, int level) {
    const char* key = code == LPARAM_INBR ? "brightness up" : "brightness down";
    run.PostCommand(code, key);
    WaitFor([] { return MethodsSoFar().size() >= 2; }, RECORDS_TIMEOUT_MS);
    const std::optional<Frame> frame = run.CurrentFrame();
    ExpectMethods(run, {{code == LPARAM_INBR ? "INBR" : "DEBR", level}, {"SOSD", level}});
    ExpectNotifyCodesRead(run, {0xD0});
    if (!frame || frame->segments != level)
        run.Event("the deferred show: Corlane shows the level it read only for a key seen on "
                  "raw input (that is how it knows the direction), so here the popup is not "
                  "told");
    run.ExpectHidden();
}

void BrightnessAcrossTen(Run& run, int32_t code, Picture picture, int from, int to) {
    const int direction = code == LPARAM_INBR ? 1 : -1;
    const int within = (to - from) * direction - 1;
    StepsWithinTen(run, code, within, picture, to - direction);
    StepOntoTen(run, code, to);
}

bool StartSystem(Run& run) {
    run.BeginStep("start Relaine from " + std::string(INSTALL_FOLDER) +
                  ": it starts Corlane and Lumetta");
    if (!run.Check(StartRelaine(), "Relaine.exe could not be started"))
        return run.EndStep();
    run.Event("started Relaine.exe");
    const bool up = WaitFor([] { return RelaineWindow() && CorlaneWindow() && LumettaWindow(); },
                            START_TIMEOUT_MS);
    if (run.Check(up, "Relaine, Corlane and Lumetta did not all come up")) {
        run.Event("running: Relaine (process " + std::to_string(WindowProcess(RelaineWindow())) +
                  "), Corlane (" + std::to_string(WindowProcess(CorlaneWindow())) + "), Lumetta (" +
                  std::to_string(WindowProcess(LumettaWindow())) + ")");
        WaitFor([] { return Contains(MethodsSoFar(), "SOSD", 50); }, RECORDS_TIMEOUT_MS);
        run.Check(Contains(MethodsSoFar(), "SOSD", 50), "Corlane did not read the BIOS level");
        Pump(500);
    }
    return run.EndStep();
}

void PanelKey(Run& run) {
    run.BeginStep("the panel key");
    run.PostCommand(LPARAM_TLCD, "the panel key");
    ExpectMethods(run, {{"TLCD", 50}});
    run.ExpectNoShow(800);
    run.EndStep();
}

// A held volume key: the driver raises the press code, and the release code a second later;
// Corlane's worker tells the keyboard program "held" at once and again while the key stays
// down, then "released".
void HeldVolumeKey(Run& run) {
    run.BeginStep("volume up held for a second");
    run.RaiseNotifyCode(0xD1, "volume up (held)");
    Pump(1000);
    run.RaiseNotifyCode(0xD2, "volume up (released)");
    WaitFor(
        [] {
            const auto c = KeyboardCodes();
            return !c.empty() && c.back() == 33;
        },
        RECORDS_TIMEOUT_MS);
    const std::vector<int32_t> codes = KeyboardCodes();
    size_t held = 0;
    for (int32_t c : codes)
        held += c == 32;
    run.Check(codes.size() >= 3 && codes.front() == 32 && codes.back() == 33 &&
                  held == codes.size() - 1,
              "the keyboard program did not receive \"held\" repeatedly and then \"released\"");
    run.ExpectNoShow(300);
    run.EndStep();
}

void Mute(Run& run) {
    run.BeginStep("mute");
    run.RaiseNotifyCode(0xC4, "mute");
    WaitFor([] { return !KeyboardCodes().empty(); }, RECORDS_TIMEOUT_MS);
    Pump(200);
    run.Check(KeyboardCodes() == std::vector<int32_t>{36},
              "the keyboard program did not receive mute (36) once");
    run.ExpectNoShow(300);
    run.EndStep();
}

void SetBrightness(Run& run) {
    run.BeginStep("set-brightness: the BIOS level to BRIGHTNESS.DLL");
    run.RaiseNotifyCode(0xD9, "set-brightness");
    WaitFor([] { return !sim::parts::LibraryCalls().empty(); }, RECORDS_TIMEOUT_MS);
    ExpectMethods(run, {{"PCGB", 50}});
    const auto calls = sim::parts::LibraryCalls();
    run.Check(calls.size() == 1 && calls[0].level == 50,
              "BRIGHTNESS.DLL was not given the level 50 once");
    run.EndStep();
}

LRESULT SendToCorlane(UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(CorlaneWindow(), message, wParam, lParam, SMTO_NORMAL, 5000, &result);
    return static_cast<LRESULT>(result);
}

void ExpectRecord(Run& run, bool present, const std::vector<int32_t>& expected) {
    bool exists = false;
    const std::vector<int32_t> values = RecordValues(&exists);
    std::string text;
    for (int32_t v : values)
        text += " " + std::to_string(v);
    run.Event(exists ? "record file Brightness.ini: holds" + text : "record file: none");
    run.Check(exists == present && (!present || values == expected),
              present ? "the record file does not hold the count" : "the record file is left");
}

void SleepAndResume(Run& run) {
    run.BeginStep("sleep: Corlane stores its count in the record file");
    run.Event("the system goes to sleep: WM_POWERBROADCAST PBT_APMSUSPEND to \"Corlane\" "
              "(sent by the demo: Wine sends no power messages)");
    SendToCorlane(WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    ExpectRecord(run, true, {50});
    run.EndStep();

    run.BeginStep("resume: the count from the record, the BIOS level to BRIGHTNESS.DLL");
    run.Event("the system resumes: WM_POWERBROADCAST PBT_APMRESUMEAUTOMATIC to \"Corlane\"");
    SendToCorlane(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    ExpectMethods(run, {{"PCGB", 50}});
    const auto calls = sim::parts::LibraryCalls();
    run.Check(calls.size() == 1 && calls[0].level == 50, "BRIGHTNESS.DLL was not given 50");
    ExpectRecord(run, false, {});
    StepsWithinTen(run, LPARAM_INBR, 1, Picture::LongRays, 51);
    run.ExpectHidden();
    run.EndStep();
}

void DisplayChange(Run& run) {
    run.BeginStep("display change: Corlane restarts the popup");
    const DWORD before = WindowProcess(LumettaWindow());
    run.Event("the display changes: WM_DISPLAYCHANGE to \"Corlane\"");
    PostMessageA(CorlaneWindow(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1920, 1080));
    const bool restarted = WaitFor(
        [&] {
            const DWORD now = WindowProcess(LumettaWindow());
            return now && now != before;
        },
        START_TIMEOUT_MS);
    if (run.Check(restarted, "Lumetta was not restarted")) {
        run.Event("Lumetta restarted: process " + std::to_string(before) + " ended, process " +
                  std::to_string(WindowProcess(LumettaWindow())) + " runs");
        Pump(300);
        StepsWithinTen(run, LPARAM_DEBR, 1, Picture::ShortRays, 50);
        run.ExpectHidden();
    }
    run.EndStep();
}

void SessionChange(Run& run, WPARAM code, const char* what) {
    PostMessageA(RelaineWindow(), WM_WTSSESSION_CHANGE, code, 1);
    run.Event(std::string(what) + ": WM_WTSSESSION_CHANGE " + std::to_string(code) +
              " to Relaine (sent by the demo: Wine sends no session messages)");
}

void ConsoleDisconnectAndConnect(Run& run) {
    run.BeginStep("console disconnect: Relaine stops Corlane and Lumetta");
    SessionChange(run, WTS_CONSOLE_DISCONNECT, "the console is disconnected");
    const bool gone =
        WaitFor([] { return !CorlaneWindow() && !LumettaWindow(); }, START_TIMEOUT_MS);
    if (run.Check(gone, "Corlane and Lumetta still run"))
        run.Event("Corlane and Lumetta no longer run; Relaine runs on");
    run.Check(RelaineWindow() != nullptr, "Relaine ended");
    run.EndStep();

    run.BeginStep("console connect: Relaine starts Corlane and Lumetta again");
    SessionChange(run, WTS_CONSOLE_CONNECT, "the console is connected");
    const bool up = WaitFor([] { return CorlaneWindow() && LumettaWindow(); }, START_TIMEOUT_MS);
    if (run.Check(up, "Corlane and Lumetta did not come back")) {
        run.Event("running again: Corlane (process " +
                  std::to_string(WindowProcess(CorlaneWindow())) + "), Lumetta (" +
                  std::to_string(WindowProcess(LumettaWindow())) + ")");
        WaitFor([] { return Contains(MethodsSoFar(), "SOSD", 50); }, RECORDS_TIMEOUT_MS);
        run.Check(Contains(MethodsSoFar(), "SOSD", 50), "Corlane did not read the BIOS level");
        Pump(1500); // Relaine's second launch of Lumetta finds it running and ends
        StepsWithinTen(run, LPARAM_INBR, 1, Picture::LongRays, 51);
        run.ExpectHidden();
    }
    run.EndStep();
}

void Brightness(Run& run) {
    run.BeginStep("brightness up from 50 to 55");
    StepsWithinTen(run, LPARAM_INBR, 5, Picture::LongRays, 55);
    ExpectMethods(run, {});
    run.ExpectHidden();
    run.EndStep();
    run.BeginStep("brightness up to 60: the BIOS steps at the multiple of ten");
    BrightnessAcrossTen(run, LPARAM_INBR, Picture::LongRays, 55, 60);
    run.EndStep();
    run.BeginStep("brightness up to 70");
    BrightnessAcrossTen(run, LPARAM_INBR, Picture::LongRays, 60, 70);
    run.EndStep();
    run.BeginStep("brightness down to 60");
    BrightnessAcrossTen(run, LPARAM_DEBR, Picture::ShortRays, 70, 60);
    run.EndStep();
    run.BeginStep("brightness down to 50");
    BrightnessAcrossTen(run, LPARAM_DEBR, Picture::ShortRays, 60, 50);
    run.EndStep();
}

void PlayScenario(Run& run) {
    Brightness(run);
    PanelKey(run);
    HeldVolumeKey(run);
    Mute(run);
    SetBrightness(run);
    SleepAndResume(run);
    DisplayChange(run);
    ConsoleDisconnectAndConnect(run);
}

int Play(const std::string& out, bool interactive) {
    Run run(out);
    if (!run.Opened()) {
        std::fprintf(stderr, "cannot write %s\\log.txt\n", out.c_str());
        return 2;
    }
    run.Line("Raw HID input cannot be injected under Wine: the keys that reach Corlane as HID "
             "reports (brightness up 18, down 17, the panel key 162) are posted to its window "
             "\"Corlane\" as its raw input reader posts them. The keys that come from the ACPI "
             "driver are raised as notify codes by the simulated driver. Wine sends no power or "
             "session messages: the demo sends them to Corlane's and Relaine's windows.");
    std::string why;
    run.BeginStep("install: the simulated driver, BRIGHTNESS.DLL in system32, the programs in " +
                  std::string(INSTALL_FOLDER) + ", the keyboard program");
    run.Check(InstallNotebook(&why), why);
    const bool installed = run.EndStep();
    if (installed && interactive) {
        if (StartSystem(run))
            RunInteractive(run);
    } else if (installed) {
        Desktop desktop;
        if (StartSystem(run))
            PlayScenario(run);
    }
    StopEverything();
    run.Line("stopped Relaine, Corlane, Lumetta, the keyboard program and the driver");
    for (const std::string& failed : run.FailedSteps())
        std::printf("FAILED step %s\n", failed.c_str());
    return run.FailedSteps().empty() ? 0 : 1;
}

} // namespace
} // namespace demo

int main(int argc, char** argv) {
    const bool interactive = argc == 3 && std::strcmp(argv[2], "--interactive") == 0;
    if (argc < 2 || (argc == 3 && !interactive) || argc > 3) {
        std::fputs("usage: NotebookDemo OUTPUT-FOLDER [--interactive]\n", stderr);
        return 2;
    }
    return demo::Play(argv[1], interactive);
}
