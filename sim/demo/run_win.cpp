#include "run_win.h"

#include "client/driver_win.h"
#include "client/records_win.h"

#include <algorithm>

namespace demo {
namespace {

constexpr unsigned WM_OSD_COMMAND = 0x0501;
constexpr WPARAM OSD_COMMAND_WPARAM = 0x200;
constexpr DWORD SHOW_TIMEOUT_MS = 3000;
constexpr DWORD HIDE_TIMEOUT_MS = 3000;
constexpr DWORD SETTLE_TIMEOUT_MS = 1500;

bool PopupVisible() {
    HWND popup = LumettaWindow();
    return popup && IsWindowVisible(popup);
}

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

bool SameBand(const Screenshot& a, const Screenshot& b, const RECT& rect) {
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (a.At(x, y) != b.At(x, y))
                return false;
    return true;
}

bool Painted(const Screenshot& shot, const RECT& rect) {
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (shot.At(x, y) != DESKTOP_COLOUR)
                return true;
    return false;
}

// Captures until the popup's band is painted and the same in two captures in a row: a frame
// reaches the screen some tens of milliseconds after the window shows.
Screenshot SettledShot(const RECT& rect) {
    Screenshot last = CaptureScreen();
    const ULONGLONG deadline = GetTickCount64() + SETTLE_TIMEOUT_MS;
    while (GetTickCount64() < deadline) {
        Pump(20);
        Screenshot next = CaptureScreen();
        if (Painted(next, rect) && SameBand(last, next, rect))
            return next;
        last = std::move(next);
    }
    return last;
}

} // namespace

Run::Run(const std::string& outFolder)
    : out_(outFolder), log_(std::fopen((outFolder + "\\log.txt").c_str(), "w")),
      shots_(std::fopen((outFolder + "\\shots.txt").c_str(), "w")), start_(sim::record::Now()) {}

Run::~Run() {
    if (log_)
        std::fclose(log_);
    if (shots_)
        std::fclose(shots_);
}

double Run::Seconds(int64_t counter) const {
    return (sim::record::ToMs(counter) - sim::record::ToMs(start_)) / 1000.0;
}

void Run::Line(const std::string& text) {
    std::fprintf(log_, "%8.3f s  %s\n", Seconds(sim::record::Now()), text.c_str());
    std::fflush(log_);
}

void Run::Event(const std::string& text) {
    events_.push_back({sim::record::Now(), text});
}

void Run::Flush() {
    for (demo::Event& e : TakeRecords())
        events_.push_back(std::move(e));
    std::stable_sort(
        events_.begin(), events_.end(),
        [](const demo::Event& a, const demo::Event& b) { return a.counter < b.counter; });
    for (const demo::Event& e : events_)
        std::fprintf(log_, "%8.3f s  %s\n", Seconds(e.counter), e.text.c_str());
    std::fflush(log_);
    events_.clear();
}

void Run::BeginStep(const std::string& title) {
    Flush();
    step_ = title;
    ++stepNumber_;
    failures_.clear();
    std::fprintf(log_, "\n== step %d: %s\n", stepNumber_, title.c_str());
}

bool Run::Check(bool ok, const std::string& what) {
    if (!ok) {
        failures_.push_back(what);
        Event("CHECK FAILED: " + what);
    }
    return ok;
}

bool Run::EndStep() {
    Check(!CrashSeen(), "a program crashed (Wine's crash handler runs)");
    Flush();
    if (failures_.empty()) {
        Line("step " + std::to_string(stepNumber_) + " passed: " + step_);
        return true;
    }
    std::string why;
    for (const std::string& f : failures_)
        why += (why.empty() ? "" : "; ") + f;
    Line("step " + std::to_string(stepNumber_) + " FAILED: " + step_ + ": " + why);
    failedSteps_.push_back(std::to_string(stepNumber_) + " (" + step_ + "): " + why);
    return false;
}

void Run::PostCommand(int32_t code, const char* key) {
    HWND corlane = CorlaneWindow();
    Event(std::string("pressed ") + key + ": WM_OSD_COMMAND 0x200/" + std::to_string(code) +
          " posted to \"Corlane\"");
    Check(corlane && PostMessageA(corlane, WM_OSD_COMMAND, OSD_COMMAND_WPARAM, code),
          "the command could not be posted to \"Corlane\"");
}

void Run::RaiseNotifyCode(uint32_t code, const char* key) {
    Event(std::string("pressed ") + key + ": the driver raises notify code " + Hex(code));
    Check(sim::driver::QueueNotifyCode(code), "the driver did not take notify code " + Hex(code));
}

bool Run::ExpectFrame(Picture picture, int segments) {
    if (!Check(WaitFor(PopupVisible, SHOW_TIMEOUT_MS), "the popup did not show"))
        return false;
    RECT rect;
    GetWindowRect(LumettaWindow(), &rect);
    const Screenshot shot = SettledShot(rect);
    const Frame frame = ReadFrame(shot, rect);
    Event("popup: shows " + Describe(frame));
    SaveShot(shot, frame);
    const Frame expected = {false, picture, segments};
    return Check(frame.picture == picture && frame.segments == segments && !frame.caption,
                 "the popup showed " + Describe(frame) + " instead of " + Describe(expected));
}

std::optional<Frame> Run::CurrentFrame() {
    RECT rect;
    if (!PopupVisible() || !GetWindowRect(LumettaWindow(), &rect))
        return std::nullopt;
    const Screenshot shot = SettledShot(rect);
    if (!Painted(shot, rect))
        return std::nullopt; // hidden meanwhile
    const Frame frame = ReadFrame(shot, rect);
    Event("popup: shows " + Describe(frame));
    return frame;
}

bool Run::ExpectHidden() {
    const bool hidden = WaitFor([] { return !PopupVisible(); }, HIDE_TIMEOUT_MS);
    if (hidden)
        Event("popup: hidden");
    return Check(hidden, "the popup did not hide");
}

bool Run::ExpectNoShow(DWORD ms) {
    const bool shown = WaitFor(PopupVisible, ms);
    Event(shown ? "popup: shows" : "popup: stays hidden");
    return Check(!shown, "the popup showed although it had nothing to show");
}

void Run::SaveShot(const Screenshot& shot, const Frame& frame) {
    char name[32];
    std::snprintf(name, sizeof name, "step%02d.bmp", stepNumber_);
    const bool saved = SaveBitmap(shot, out_ + "\\" + name);
    Check(saved, std::string("could not write ") + name);
    if (saved) {
        const char* picture = frame.picture == Picture::LongRays    ? "up"
                              : frame.picture == Picture::ShortRays ? "down"
                                                                    : "no sun";
        std::fprintf(shots_, "%s|%d. %s (shows %s, %d)\n", name, stepNumber_, step_.c_str(),
                     picture, frame.segments);
        std::fflush(shots_);
    }
}

} // namespace demo
