// simctl: drives the simulated notebook from a shell (the demo, a person at a prompt). It
// takes its parts (velkacpi.sys, BRIGHTNESS.DLL, SimKeyboard.exe) from its own folder.
// Exit code 0 on success, 1 when the request failed, 2 on a usage error.
#include "client/driver_win.h"
#include "client/files_win.h"
#include "client/parts_win.h"
#include "client/records_win.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string>;

const char* USAGE =
    "usage: simctl COMMAND [ARGS]\n"
    "  install | start | stop | reset     the driver service VELKACPI\n"
    "  status                             level, queued codes, assigned event\n"
    "  level [N]                          print or set the BIOS level\n"
    "  notify CODE...                     queue notify codes (0xD0, 208, ...)\n"
    "  fail WHAT [TIMES]                  make requests fail (all, or the next TIMES)\n"
    "  succeed WHAT                       let them succeed again\n"
    "      WHAT: assign | notify | init | method | a method name such as SOSD\n"
    "  log | clear-log                    the driver's request log\n"
    "  library install | remove | levels | clear\n"
    "  keyboard start | close | commands | clear\n";

std::string Part(const char* file) {
    return sim::files::OwnFolder() + "\\" + file;
}

bool ParseNumber(const std::string& text, long long& value) {
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, 0);
    return !text.empty() && *end == '\0';
}

const char* RequestName(uint32_t request) {
    switch (request) {
    case VELKACPI_ASSIGN_EVENT:
        return "assign";
    case VELKACPI_CALL_METHOD:
        return "method";
    case VELKACPI_GET_NOTIFY_CODE:
        return "notify";
    case VELKACPI_INIT:
        return "init";
    default:
        return "?";
    }
}

int Result(bool ok) {
    return ok ? 0 : 1;
}

int Status() {
    const auto status = sim::driver::Status();
    if (!status)
        return 1;
    std::printf("level %d\nqueued %u\nevent %u\nassigned %u\n", status->level, status->queued,
                status->eventPath, status->assignCount);
    return 0;
}

int Level(const Args& args) {
    if (args.size() == 1) {
        const auto status = sim::driver::Status();
        if (status)
            std::printf("%d\n", status->level);
        return Result(status.has_value());
    }
    long long level;
    if (!ParseNumber(args[1], level))
        return 2;
    return Result(sim::driver::SetLevel(static_cast<int32_t>(level)));
}

int Notify(const Args& args) {
    if (args.size() < 2)
        return 2;
    for (size_t i = 1; i < args.size(); i++) {
        long long code;
        if (!ParseNumber(args[i], code))
            return 2;
        if (!sim::driver::QueueNotifyCode(static_cast<uint32_t>(code)))
            return 1;
    }
    return 0;
}

int Fail(const Args& args, bool fail) {
    if (args.size() < 2 || args.size() > 3)
        return 2;
    long long times = SIM_FAIL_ALWAYS;
    if (args.size() == 3 && !ParseNumber(args[2], times))
        return 2;
    if (!fail)
        times = 0;
    const std::string& what = args[1];
    const struct {
        const char* name;
        uint32_t request;
    } requests[] = {{"assign", VELKACPI_ASSIGN_EVENT},
                    {"notify", VELKACPI_GET_NOTIFY_CODE},
                    {"init", VELKACPI_INIT},
                    {"method", VELKACPI_CALL_METHOD}};
    for (const auto& r : requests)
        if (what == r.name)
            return Result(
                sim::driver::SetFailure(r.request, nullptr, static_cast<uint32_t>(times)));
    if (what.size() != 4)
        return 2;
    return Result(
        sim::driver::SetFailure(VELKACPI_CALL_METHOD, what.c_str(), static_cast<uint32_t>(times)));
}

int Log() {
    const auto log = sim::driver::ReadLog();
    if (!log)
        return 1;
    for (const SimLogEntry& e : *log)
        std::printf("%.3f pid %u %s %.4s result %d status 0x%08X\n", sim::record::ToMs(e.time),
                    e.processId, RequestName(e.request), e.method[0] ? e.method : "-", e.result,
                    e.status);
    return 0;
}

int Library(const Args& args) {
    if (args.size() != 2)
        return 2;
    if (args[1] == "install")
        return Result(sim::parts::InstallLibrary(Part(sim::parts::LIBRARY_FILE)));
    if (args[1] == "remove")
        return Result(sim::parts::RemoveLibrary());
    if (args[1] == "clear")
        return Result(sim::parts::ClearLibraryCalls());
    if (args[1] != "levels")
        return 2;
    for (const auto& call : sim::parts::LibraryCalls())
        std::printf("%.3f level %d\n", sim::record::ToMs(call.counter), call.level);
    return 0;
}

int Keyboard(const Args& args) {
    if (args.size() != 2)
        return 2;
    if (args[1] == "start")
        return Result(sim::parts::StartKeyboard(Part(sim::parts::KEYBOARD_FILE)));
    if (args[1] == "close") {
        sim::parts::CloseKeyboard();
        return Result(sim::parts::KeyboardWindow() == nullptr);
    }
    if (args[1] == "clear")
        return Result(sim::parts::ClearKeyboardCalls());
    if (args[1] != "commands")
        return 2;
    for (const auto& call : sim::parts::KeyboardCalls())
        std::printf("%.3f wParam 0x%X lParam %d\n", sim::record::ToMs(call.counter), call.wParam,
                    call.lParam);
    return 0;
}

int Run(const Args& args) {
    const std::string& command = args[0];
    if (command == "install")
        return Result(sim::driver::Install(Part(sim::parts::DRIVER_FILE)));
    if (command == "start")
        return Result(sim::driver::Start());
    if (command == "stop")
        return Result(sim::driver::Stop());
    if (command == "reset")
        return Result(sim::driver::Reset());
    if (command == "status")
        return Status();
    if (command == "level")
        return Level(args);
    if (command == "notify")
        return Notify(args);
    if (command == "fail" || command == "succeed")
        return Fail(args, command == "fail");
    if (command == "log")
        return Log();
    if (command == "clear-log")
        return Result(sim::driver::ClearLog());
    if (command == "library")
        return Library(args);
    if (command == "keyboard")
        return Keyboard(args);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const Args args(argv + 1, argv + argc);
    const int code = args.empty() ? 2 : Run(args);
    if (code == 2)
        std::fputs(USAGE, stderr);
    else if (code == 1)
        std::fprintf(stderr, "simctl %s: failed\n", args[0].c_str());
    return code;
}
