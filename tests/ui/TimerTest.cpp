// Timers under Wine: compiled Timer subclasses with Action handlers, polled as
// the event loop polls them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "objects/EventLoop.h"
#include "objects/ObjectEntries.h"
#include "objects/ObjectLifetime.h"
#include "objects/ObjectRef.h"
#include "objects/ProjectData.h"
#include "objects/RuntimeStartup.h"
#include "ui/Timer.h"

using namespace runtime;
using testing_support::ProjectData;

namespace {

struct Fired {
    ObjectHandle timer;
    int32_t modeInside;
    DWORD time;
};
std::vector<Fired> gFired;
ObjectHandle gReleaseInHandler = nullptr;  // a timer whose last other reference the handler drops

extern "C" void tickAction(ObjectHandle timer) {
    gFired.push_back({timer, timerModeGetter(timer), GetTickCount()});
    if (timer == gReleaseInHandler) {
        gReleaseInHandler = nullptr;
        RuntimeUnlockObject(timer);  // as closing its window would
    }
}

int32_t gTickTimer = 0;

class RuntimeEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static ProjectData p;
        const int32_t application = p.addNamedClass("Application");
        const int32_t timer = p.addNamedClass("Timer");
        p.addCompiledClass({.name = "TimersApp", .size = 28, .superIndex = application});
        gTickTimer = p.addCompiledClass(
            {.name = "TickTimer", .size = 40, .superIndex = timer, .eventHandlers = {{"Action", reinterpret_cast<void*>(tickAction)}}});
        RuntimeInit(p.table());
    }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new RuntimeEnvironment);

ObjectRef newTimer(int32_t mode, int32_t period) {
    ObjectRef t = ObjectRef::adopt(RuntimeNewObject(gTickTimer));
    timerPeriodSetter(t.get(), period);
    timerModeSetter(t.get(), mode);
    return t;
}

// Polls until the tick count has moved `ms` milliseconds on.
void pollFor(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        pollTimers();
        Sleep(1);
    }
}

class Timers : public ::testing::Test {
protected:
    void SetUp() override { gFired.clear(); }
};

TEST_F(Timers, SingleModeFiresOnceAndReadsOffInsideItsHandler) {
    ObjectRef t = newTimer(1, 0);
    pollFor(50);
    ASSERT_EQ(gFired.size(), 1u);
    EXPECT_EQ(gFired[0].timer, t.get());
    EXPECT_EQ(gFired[0].modeInside, 0);
    EXPECT_EQ(timerModeGetter(t.get()), 0);
    EXPECT_FALSE(anyTimerRunning());
}

TEST_F(Timers, RepeatingTimerFiresOncePerPeriodWithoutCatchingUp) {
    ObjectRef t = newTimer(2, 200);
    Sleep(650);  // three periods pass without a poll
    pollTimers();
    pollTimers();
    EXPECT_EQ(gFired.size(), 1u);  // fires once; its next period counts from now
    pollFor(700);
    ASSERT_GE(gFired.size(), 3u);
    // Each period counts from the previous firing (the handler runs a little
    // after the poll read the time, hence the margin; catching up would give
    // firings with no time between them).
    for (size_t i = 1; i < gFired.size(); ++i) {
        EXPECT_GE(gFired[i].time - gFired[i - 1].time, 180u) << "firing " << i;
    }
    timerModeSetter(t.get(), 0);
}

TEST_F(Timers, PeriodChangesWithoutRestartModeRestarts) {
    ObjectRef t = newTimer(2, 10000);
    Sleep(100);
    timerPeriodSetter(t.get(), 50);  // already elapsed: due at the next comparison
    pollFor(30);
    EXPECT_EQ(gFired.size(), 1u);

    gFired.clear();
    timerPeriodSetter(t.get(), 200);
    Sleep(150);
    timerModeSetter(t.get(), 2);  // the same mode again: the period starts over
    pollFor(100);
    EXPECT_TRUE(gFired.empty());
    pollFor(150);
    EXPECT_EQ(gFired.size(), 1u);
    timerModeSetter(t.get(), 0);
}

TEST_F(Timers, HandlerThatDropsItsTimerEndsTheWalkAndTheTimerGoes) {
    // Newest first: `last` is walked before `first`.
    ObjectRef first = newTimer(2, 0);
    ObjectHandle last = RuntimeNewObject(gTickTimer);
    timerModeSetter(last, 2);
    const int32_t liveBefore = liveObjectCount();
    gReleaseInHandler = last;
    Sleep(2);
    pollTimers();
    ASSERT_EQ(gFired.size(), 1u);
    EXPECT_EQ(gFired[0].timer, last);
    EXPECT_EQ(liveObjectCount(), liveBefore - 1);  // destroyed, off the list
    pollFor(50);
    ASSERT_GT(gFired.size(), 1u);
    for (const Fired& f : gFired) EXPECT_NE(f.timer, nullptr);
    EXPECT_EQ(gFired.back().timer, first.get());
    timerModeSetter(first.get(), 0);
}

TEST_F(Timers, TheLoopWaitsOnlyWhileATimerRuns) {
    ObjectRef t = newTimer(0, 500);
    EXPECT_FALSE(anyTimerRunning());
    timerModeSetter(t.get(), 2);
    EXPECT_TRUE(anyTimerRunning());
    // A running timer makes the loop's wait end by its due time: a pass with
    // no message still fires it.
    class OneWindow : public WindowRoster {
    public:
        bool anyWindowExists() const override { return true; }
    } roster;
    setWindowRoster(&roster);
    timerPeriodSetter(t.get(), 100);
    const DWORD start = GetTickCount();
    while (gFired.empty() && GetTickCount() - start < 2000) runLoopPass();
    setWindowRoster(nullptr);
    EXPECT_EQ(gFired.size(), 1u);
    EXPECT_GE(GetTickCount() - start, 90u);
    timerModeSetter(t.get(), 0);
}

}  // namespace
