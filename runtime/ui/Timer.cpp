#include "ui/Timer.h"

#include <windows.h>

#include <algorithm>

#include "objects/BuiltinClasses.h"
#include "objects/EventDelivery.h"
#include "objects/EventLoop.h"
#include "objects/UnwindScope.h"

namespace runtime {
namespace {

TimerFields& fieldsOf(ObjectHandle timer) {
    return *reinterpret_cast<TimerFields*>(reinterpret_cast<char*>(timer) + kTimerFieldsOffset);
}

// Whether `timer` has fired by `now`. Elapsed time is unsigned, so the
// comparison stays right across the wrap of the tick count; a period of 0 or
// less is always due. A timer that a handler started again during this pass
// started after `now`: it is not due yet (its elapsed time would wrap).
bool isDue(const TimerFields& timer, DWORD now) {
    if (timer.period <= 0) return true;
    if (static_cast<int32_t>(now - timer.lastTime) < 0) return false;
    return elapsedMilliseconds(timer.lastTime, now) >= static_cast<DWORD>(timer.period);
}

// The loop's timer step. While a timer runs, the loop waits only until the
// next one is due.
class TimerPoller final : public LoopParticipant {
public:
    ObjectHandle head = nullptr;  // the live timers, newest first
    DWORD lastPoll = 0;
    bool polledBefore = false;

    void runStep() override { pollTimers(); }

    std::optional<DWORD> millisecondsUntilDue() const override {
        std::optional<DWORD> soonest;
        const DWORD now = GetTickCount();
        for (ObjectHandle t = head; t; t = fieldsOf(t).nextTimer) {
            const TimerFields& timer = fieldsOf(t);
            if (timer.mode == 0) continue;
            DWORD wait = 0;
            if (!isDue(timer, now)) wait = static_cast<DWORD>(timer.period) - elapsedMilliseconds(timer.lastTime, now);
            // A poll within the same tick value does nothing: wait for the next.
            if (wait == 0 && now == lastPoll) wait = 1;
            soonest = soonest ? std::min(*soonest, wait) : wait;
        }
        return soonest;
    }
};

// Process-wide: the one list of live timers, polled by the GUI thread's loop.
TimerPoller gTimers;

bool isLive(ObjectHandle timer) {
    for (ObjectHandle t = gTimers.head; t; t = fieldsOf(t).nextTimer) {
        if (t == timer) return true;
    }
    return false;
}

// Raises Action for `timer`; returns the timer to continue the walk with, or
// null when the walk ends (the handler left nothing else holding the timer,
// as when it closed the timer's window).
ObjectHandle fire(ObjectHandle timer) {
    const Unwindable<ObjectRef> keep(ObjectRef::borrow(timer));
    deliverEvent(timer, builtinEvent("Timer", "Action"));
    if (timer->refCount == 1 || !isLive(timer)) return nullptr;
    return fieldsOf(timer).nextTimer;
}

}  // namespace

void initialiseTimer(ObjectHandle timer, ClassRecord*) {
    TimerFields& fields = fieldsOf(timer);
    fields.lastTime = GetTickCount();
    fields.nextTimer = gTimers.head;
    gTimers.head = timer;
    setLoopParticipant(LoopStage::kTimers, &gTimers);
}

void finaliseTimer(ObjectHandle timer, ClassRecord*) {
    for (ObjectHandle* link = &gTimers.head; *link; link = &fieldsOf(*link).nextTimer) {
        if (*link == timer) {
            *link = fieldsOf(timer).nextTimer;
            break;
        }
    }
    fieldsOf(timer).nextTimer = nullptr;
}

void pollTimers() {
    const DWORD now = GetTickCount();
    if (gTimers.polledBefore && now == gTimers.lastPoll) return;
    gTimers.polledBefore = true;
    gTimers.lastPoll = now;
    for (ObjectHandle t = gTimers.head; t;) {
        TimerFields& timer = fieldsOf(t);
        if (timer.mode == 0 || !isDue(timer, now)) {
            t = timer.nextTimer;
            continue;
        }
        timer.lastTime = now;
        if (timer.mode == 1) timer.mode = 0;
        t = fire(t);
    }
}

bool anyTimerRunning() {
    for (ObjectHandle t = gTimers.head; t; t = fieldsOf(t).nextTimer) {
        if (fieldsOf(t).mode != 0) return true;
    }
    return false;
}

}  // namespace runtime

using namespace runtime;

int32_t timerModeGetter(ObjectHandle timer) { return timer ? fieldsOf(timer).mode : 0; }

void timerModeSetter(ObjectHandle timer, int32_t mode) {
    if (!timer) return;
    fieldsOf(timer).mode = static_cast<int16_t>(mode);
    fieldsOf(timer).lastTime = GetTickCount();
}

int32_t timerPeriodGetter(ObjectHandle timer) { return timer ? fieldsOf(timer).period : 0; }

void timerPeriodSetter(ObjectHandle timer, int32_t period) {
    if (timer) fieldsOf(timer).period = period;
}
