// The monitor brightness watcher over fake events: set-up failures and their report lines,
// the class comparison, the loop's handling of failing requests.
#include "input/britc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// One scripted answer of Next and, when it brings an event, that event.
struct Answer {
    int32_t next = 0;
    uint32_t returned = 1;
    int32_t classResult = 0;
    bool converted = true;
    std::u16string cls = u"WmiMonitorBrightnessEvent";
    int32_t brightnessResult = 0;
    uint8_t brightness = 0;
};

class FakeSource : public BrightnessEventSource {
  public:
    int32_t initialize = 0, locator = 0, connect = 0, query = 0;
    std::vector<Answer> answers;
    Log log;
    std::vector<std::string> reports;
    std::vector<std::string> traces;
    int posts = 0;
    int released = 0;

    int32_t Initialize() override { return Step("CoInitialize", initialize); }
    void InitializeSecurity() override { log.push_back("security"); }
    int32_t CreateLocator() override { return Step("locator", locator); }
    int32_t ConnectServer() override { return Step("connect", connect); }
    int32_t ExecNotificationQuery() override { return Step("query", query); }
    int32_t Next(uint32_t& returned) override {
        EXPECT_EQ(returned, 0u);
        log.push_back("next");
        current_ = answers.front();
        answers.erase(answers.begin());
        returned = current_.returned;
        return current_.next;
    }
    int32_t GetClass(ClassName& name) override {
        name.converted = current_.converted;
        name.text = current_.cls;
        return current_.classResult;
    }
    int32_t GetBrightness(uint8_t& b) override {
        if (current_.brightnessResult >= 0)
            b = current_.brightness;
        return current_.brightnessResult;
    }
    void ReleaseEvent() override { ++released; }
    void PostBrightnessChanged() override {
        ++posts;
        log.push_back("post");
    }
    void WriteReport(const char* text) override { reports.push_back(text); }
    void Trace(const char* line) override { traces.push_back(line); }
    void Pause(uint32_t ms) override { log.push_back("pause " + std::to_string(ms)); }

  private:
    int32_t Step(const char* name, int32_t result) {
        log.push_back(name);
        return result;
    }
    Answer current_;
};

constexpr int32_t E_FAILED = int32_t(0x80041001);
constexpr int32_t E_ACCESS = int32_t(0x80070005);

TEST(WatcherSetUpTest, EachFailureReportsOnceAndEnds) {
    struct Case {
        int32_t FakeSource::*step;
        int32_t hr;
        const char* line;
        Log log;
    } cases[] = {
        {&FakeSource::initialize,
         E_ACCESS,
         "FAILED: CoInitialize: 0x80070005\r\n",
         {"CoInitialize"}},
        {&FakeSource::locator,
         int32_t(0x80040154),
         "FAILED: CoCreateInstance: 0x80040154\r\n",
         {"CoInitialize", "security", "locator"}},
        {&FakeSource::connect,
         int32_t(0x8004100E),
         "FAILED: pLocator->ConnectServer: 0x8004100e\r\n",
         {"CoInitialize", "security", "locator", "connect"}},
        {&FakeSource::query,
         E_FAILED,
         "FAILED: pNamespace->ExecNotificationQuery: 0x80041001\r\n",
         {"CoInitialize", "security", "locator", "connect", "query"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        FakeSource source;
        source.*c.step = c.hr;
        WatchBrightnessEvents(source); // returns: the thread ends
        EXPECT_EQ(source.log, c.log);
        EXPECT_EQ(source.reports, Log{c.line});
        EXPECT_EQ(source.posts, 0);
    }
}

TEST(WatcherSetUpTest, SuccessReportsNothing) {
    FakeSource source;
    source.initialize = 1; // S_FALSE: already initialised, still success
    EXPECT_TRUE(SetUpBrightnessWatcher(source));
    EXPECT_EQ(source.log, (Log{"CoInitialize", "security", "locator", "connect", "query"}));
    EXPECT_TRUE(source.reports.empty());
}

TEST(WatcherLoopTest, ClassComparison) {
    struct Case {
        const char* name;
        std::u16string cls;
        bool converted;
        int posts;
    } cases[] = {
        {"brightness event", u"WmiMonitorBrightnessEvent", true, 1},
        {"other class", u"WmiMonitorConnectedParams", true, 0},
        {"letter case", u"wmimonitorbrightnessevent", true, 0},
        {"longer", u"WmiMonitorBrightnessEvents", true, 0},
        {"prefix", u"WmiMonitorBrightness", true, 0},
        {"embedded null", std::u16string(u"WmiMonitorBrightnessEvent\0x", 27), true, 0},
        {"empty", u"", true, 0},
        {"no string form", u"WmiMonitorBrightnessEvent", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSource source;
        Answer a;
        a.cls = c.cls;
        a.converted = c.converted;
        source.answers = {a};
        EXPECT_TRUE(BrightnessEventPass(source));
        EXPECT_EQ(source.posts, c.posts);
        EXPECT_EQ(source.released, 1);
        EXPECT_TRUE(source.reports.empty());
    }
}

TEST(WatcherLoopTest, UnreadableBrightnessStillPosts) {
    FakeSource source;
    Answer a;
    a.brightnessResult = E_FAILED;
    a.brightness = 99;
    source.answers = {a};
    EXPECT_TRUE(BrightnessEventPass(source));
    EXPECT_EQ(source.posts, 1);
    EXPECT_EQ(source.traces,
              (Log{"Brightness ReturnValue: 0", "[ThreadFunctionBRITC] Call LPARAM_BRIT_CHANGED"}));
}

TEST(WatcherLoopTest, TwoEventsTwoPosts) {
    FakeSource source;
    Answer a, b;
    a.brightness = 40;
    b.brightness = 200;
    source.answers = {a, b};
    EXPECT_TRUE(BrightnessEventPass(source));
    EXPECT_TRUE(BrightnessEventPass(source));
    EXPECT_EQ(source.log, (Log{"next", "post", "next", "post"}));
    EXPECT_EQ(source.traces[0], "Brightness ReturnValue: 40");
    EXPECT_EQ(source.traces[2], "Brightness ReturnValue: 200");
}

// Requests that bring no event ask again after a pause, never in a tight loop; a time-out
// asks again at once.
TEST(WatcherLoopTest, RequestsWithoutAnEvent) {
    struct Case {
        const char* name;
        int32_t next;
        uint32_t returned;
    } cases[] = {
        {"failure", E_FAILED, 1},
        {"WBEM_S_FALSE", WBEM_S_FALSE_RESULT, 0},
        {"no object", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSource source;
        Answer a;
        a.next = c.next;
        a.returned = c.returned;
        source.answers = {a, Answer{}};
        EXPECT_TRUE(BrightnessEventPass(source));
        EXPECT_TRUE(BrightnessEventPass(source));
        EXPECT_EQ(source.log, (Log{"next", "pause 1000", "next", "post"}));
        EXPECT_EQ(source.released, 1);
        EXPECT_TRUE(source.reports.empty());
    }
    FakeSource source;
    Answer timedOut;
    timedOut.next = WBEM_S_TIMEDOUT_RESULT;
    timedOut.returned = 0;
    source.answers = {timedOut, timedOut, Answer{}};
    EXPECT_TRUE(BrightnessEventPass(source));
    EXPECT_EQ(source.log, (Log{"next", "next", "next", "post"}));
}

TEST(WatcherLoopTest, UnreadableClassReportsAndEnds) {
    FakeSource source;
    Answer a;
    a.classResult = int32_t(0x80041002);
    source.answers = {a};
    EXPECT_FALSE(BrightnessEventPass(source));
    EXPECT_EQ(source.reports, Log{"FAILED: pEventSource->Get: 0x80041002\r\n"});
    EXPECT_EQ(source.released, 1);
    EXPECT_EQ(source.posts, 0);
}

TEST(WatcherReportTest, FormatsIntoOneLine) {
    FakeSource source;
    ReportError(source, "FAILED: %s: 0x%08x\r\n", "Step", 0x1Au);
    EXPECT_EQ(source.reports, Log{"FAILED: Step: 0x0000001a\r\n"});
}

} // namespace
