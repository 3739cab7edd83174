// One demo run: the readable log (log.txt), the screenshots of the popup and the list of
// them (shots.txt: "<file>|<label>" per line), and the steps with their checks.
#pragma once

#include "notebook_win.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace demo {

class Run {
  public:
    explicit Run(const std::string& outFolder);
    ~Run();
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    bool Opened() const { return log_ != nullptr; }
    // A line with the time since the run began, written at once.
    void Line(const std::string& text);
    // Something that happened now, written in time order with the records at Flush.
    void Event(const std::string& text);
    // Writes this step's events and the simulator's records, oldest first.
    void Flush();

    void BeginStep(const std::string& title);
    // Records a failed expectation of the current step; returns ok.
    bool Check(bool ok, const std::string& what);
    // Ends the step: flushes and writes whether it passed. Returns true when it did.
    bool EndStep();
    const std::vector<std::string>& FailedSteps() const { return failedSteps_; }

    // --- What the keys do ---
    void PostCommand(int32_t code, const char* key);
    void RaiseNotifyCode(uint32_t code, const char* key);

    // --- What the popup shows ---
    // Waits for the popup to show, reads its frame, saves a screenshot and checks the frame.
    bool ExpectFrame(Picture picture, int segments);
    // The frame the popup shows now, logged, when it is visible.
    std::optional<Frame> CurrentFrame();
    // Waits for the popup to hide again.
    bool ExpectHidden();
    // Checks that the popup stays hidden for ms.
    bool ExpectNoShow(DWORD ms);

  private:
    double Seconds(int64_t counter) const;
    void SaveShot(const Screenshot& shot, const Frame& frame);

    std::string out_;
    FILE* log_;
    FILE* shots_;
    int64_t start_;
    std::vector<demo::Event> events_;
    std::string step_;
    int stepNumber_ = 0;
    std::vector<std::string> failures_;
    std::vector<std::string> failedSteps_;
};

} // namespace demo
