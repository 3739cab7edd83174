// The volume key state machines and the brightness repeat worker.
#include "input/repeat.h"

#include "commands.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

// --- volume keys: the transition table ---

struct Transition {
    const char* name;
    uint8_t state; // reached first by a fixed path
    char event;    // 'p' press, 'r' release, 't' tick
    uint8_t next;
    VolumePost post;
};

// Brings a fresh key into the state: idle, pressed, held or released.
void Reach(VolumeKey& key, uint8_t state) {
    if (state == VOL_PRESSED || state == VOL_HELD)
        key.Press();
    if (state == VOL_HELD)
        key.Tick();
    if (state == VOL_RELEASED)
        key.Release();
    ASSERT_EQ(key.State(), state);
}

TEST(VolumeKeyTest, TransitionTable) {
    const Transition table[] = {
        {"idle press", VOL_IDLE, 'p', VOL_PRESSED, VolumePost::None},
        {"released press", VOL_RELEASED, 'p', VOL_PRESSED, VolumePost::None},
        {"pressed press", VOL_PRESSED, 'p', VOL_PRESSED, VolumePost::None},
        {"held press", VOL_HELD, 'p', VOL_HELD, VolumePost::None},
        {"idle release", VOL_IDLE, 'r', VOL_RELEASED, VolumePost::None},
        {"pressed release", VOL_PRESSED, 'r', VOL_RELEASED, VolumePost::None},
        {"held release", VOL_HELD, 'r', VOL_RELEASED, VolumePost::None},
        {"released release", VOL_RELEASED, 'r', VOL_RELEASED, VolumePost::None},
        {"pressed tick", VOL_PRESSED, 't', VOL_HELD, VolumePost::Held},
        {"held tick", VOL_HELD, 't', VOL_HELD, VolumePost::None},
        {"released tick", VOL_RELEASED, 't', VOL_IDLE, VolumePost::Released},
        {"idle tick", VOL_IDLE, 't', VOL_IDLE, VolumePost::None},
    };
    for (const Transition& row : table) {
        SCOPED_TRACE(row.name);
        VolumeKey key;
        Reach(key, row.state);
        uint8_t before = key.State();
        uint8_t prevBefore = key.Prev();
        VolumePost post = VolumePost::None;
        if (row.event == 'p')
            key.Press();
        else if (row.event == 'r')
            key.Release();
        else
            post = key.Tick();
        EXPECT_EQ(key.State(), row.next);
        EXPECT_EQ(post, row.post);
        // Every change records the state it leaves; an ignored press records nothing.
        bool changed = !(row.event == 'p' && (before == VOL_PRESSED || before == VOL_HELD)) &&
                       !(row.event == 't' && before == VOL_IDLE);
        EXPECT_EQ(key.Prev(), changed ? before : prevBefore);
    }
}

// --- volume keys: timing sequences, one character per 30 ms tick ---

// Runs a script: 'p' press then tick, 'r' release then tick, 'b' press and release then tick,
// 'x' release and press again then tick, '.' tick alone. Returns the posts, one character per tick:
// H held, R released, - none.
std::string Ticks(VolumeKey& key, const std::string& script) {
    std::string posts;
    for (char c : script) {
        if (c == 'p' || c == 'b')
            key.Press();
        if (c == 'r' || c == 'b' || c == 'x')
            key.Release();
        if (c == 'x')
            key.Press();
        VolumePost post = key.Tick();
        posts += post == VolumePost::Held ? 'H' : post == VolumePost::Released ? 'R' : '-';
    }
    return posts;
}

TEST(VolumeKeyTest, HoldRepeatsAfterTheCounterPasses200) {
    VolumeKey key;
    // First tick HELD (counter 30), six quiet ticks (60 ... 210), HELD from the eighth on.
    EXPECT_EQ(Ticks(key, "p.........."), "H------HHHH");
    EXPECT_EQ(key.Count(), 210);
    EXPECT_EQ(Ticks(key, "r."), "R-");
    EXPECT_EQ(key.Count(), 0);
    EXPECT_EQ(key.State(), VOL_IDLE);
}

TEST(VolumeKeyTest, Sequences) {
    struct Case {
        const char* name;
        const char* script;
        const char* posts;
    } cases[] = {
        {"press and release within one tick", "b..", "R--"},
        {"tap longer than one tick", "pr.", "HR-"},
        {"release with no press", "r.", "R-"},
        {"two releases seen apart", "r.r.", "R-R-"},
        // The new press comes before the worker saw the release: no RELEASED, and with the
        // counter not reset and VOLnPrev 0 the first HELD waits for the counter.
        {"new press after a short hold", "p.x.....", "H------H"},
        {"repeated press codes while held", "p.p.p.", "H-----"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VolumeKey key;
        EXPECT_EQ(Ticks(key, c.script), c.posts);
    }
}

TEST(VolumeKeyTest, NewPressAfterALongHoldRepeatsAtOnce) {
    VolumeKey key;
    Ticks(key, "p.......");
    ASSERT_EQ(key.Count(), 210);
    key.Release();
    key.Press(); // the release was never seen by a tick
    EXPECT_EQ(key.Prev(), VOL_RELEASED);
    EXPECT_EQ(Ticks(key, ".."), "HH");
}

// The hotkey thread's presses and releases are never overwritten by the worker's ticks:
// every release that the worker's ticks can see ends in exactly one RELEASED.
TEST(VolumeKeyTest, ConcurrentReleasesAreNotLost) {
    VolumeKey key;
    constexpr int rounds = 2000;
    int released = 0;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        while (!done) {
            if (key.Tick() == VolumePost::Released)
                ++released;
        }
    });
    for (int i = 0; i < rounds; ++i) {
        key.Press();
        key.Release();
        while (key.State() == VOL_RELEASED)
            std::this_thread::yield();
    }
    done = true;
    worker.join();
    // Each release was followed by waiting until a tick consumed it.
    EXPECT_EQ(released, rounds);
}

// --- brightness repeat worker ---

class FakeKWB : public KWBRepeatSeam {
  public:
    int32_t held = 0;
    int32_t lastCode = 0;
    std::vector<Wait> results; // scripted results of the waits, in order
    std::vector<std::string> log;

    int32_t KWBHeld() override { return held; }
    int32_t KWBLastCode() override { return lastCode; }
    Wait WaitBreak(uint32_t ms) override {
        log.push_back("wait break " + std::to_string(ms));
        return Next();
    }
    Wait WaitMake() override {
        log.push_back("wait make");
        return Next();
    }
    void PostToDialog(int32_t command) override {
        log.push_back("post " + std::to_string(command));
    }
    void Sleep(uint32_t ms) override { log.push_back("sleep " + std::to_string(ms)); }

  private:
    Wait Next() {
        Wait w = results.front();
        results.erase(results.begin());
        return w;
    }
};

using W = KWBRepeatSeam::Wait;
using Log = std::vector<std::string>;

TEST(KWBRepeatTest, PassByHeldStateAndWaitResult) {
    struct Case {
        const char* name;
        int32_t held;
        W result;
        Log log;
    } cases[] = {
        {"held, break not in time: repeat",
         1,
         W::TimedOut,
         {"wait break 30", "post 18", "sleep 30", "sleep 50"}},
        {"held, break came", 1, W::Signalled, {"wait break 30", "sleep 50"}},
        {"held, wait failed", 1, W::Failed, {"wait break 30", "sleep 50"}},
        {"not held, make came", 0, W::Signalled, {"wait make", "sleep 50"}},
        {"not held, wait failed", 0, W::Failed, {"wait make", "sleep 50"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeKWB seam;
        seam.held = c.held;
        seam.lastCode = LPARAM_INBR;
        seam.results = {c.result};
        KWBRepeatPass(seam);
        EXPECT_EQ(seam.log, c.log);
    }
}

// Make, hold, break: the worker wakes on the make, repeats while the break does not come,
// and goes back to waiting on the make after the break.
TEST(KWBRepeatTest, MakeHoldBreak) {
    FakeKWB seam;
    seam.results = {W::Signalled, W::TimedOut, W::TimedOut, W::Signalled, W::Signalled};
    // The reader sets the state before it signals the make.
    seam.held = 1;
    seam.lastCode = LPARAM_DEBR;
    KWBRepeatPass(seam); // held already: waits on the break
    KWBRepeatPass(seam);
    KWBRepeatPass(seam);
    seam.held = 0; // the break report
    KWBRepeatPass(seam);
    EXPECT_EQ(seam.log,
              (Log{"wait break 30", "sleep 50", "wait break 30", "post 17", "sleep 30", "sleep 50",
                   "wait break 30", "post 17", "sleep 30", "sleep 50", "wait make", "sleep 50"}));
}

// A break left over from an earlier release ends the first wait of the next hold at once,
// without a post.
TEST(KWBRepeatTest, StaleBreakDelaysTheFirstRepeat) {
    FakeKWB seam;
    seam.results = {W::Signalled, W::Signalled, W::TimedOut};
    KWBRepeatPass(seam); // blocked on make, woken by the new make
    seam.held = 1;
    seam.lastCode = LPARAM_INBR;
    KWBRepeatPass(seam); // the stale break
    KWBRepeatPass(seam);
    EXPECT_EQ(seam.log, (Log{"wait make", "sleep 50", "wait break 30", "sleep 50", "wait break 30",
                             "post 18", "sleep 30", "sleep 50"}));
}

// The panel key sets KWBHeld without a make: a worker between waits then repeats the old
// code (0 when no brightness key was ever made).
TEST(KWBRepeatTest, PanelKeyHoldRepeatsTheOldCode) {
    for (int32_t old : {0, int32_t(LPARAM_DEBR)}) {
        FakeKWB seam;
        seam.held = 1;
        seam.lastCode = old;
        seam.results = {W::TimedOut, W::TimedOut};
        KWBRepeatPass(seam);
        KWBRepeatPass(seam);
        std::string post = "post " + std::to_string(old);
        EXPECT_EQ(seam.log, (Log{"wait break 30", post, "sleep 30", "sleep 50", "wait break 30",
                                 post, "sleep 30", "sleep 50"}));
    }
}

} // namespace
