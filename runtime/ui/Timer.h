// Timers: invisible controls that raise Action after their period, once or
// repeatedly. They are not system timers: every live timer is on one list that
// the event loop polls once per pass against the tick count.
#pragma once

#include <cstddef>
#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ClassRecord.h"

namespace runtime {

// Instance data of a Timer, after the data of `Object`.
struct TimerFields {
    ObjectHandle nextTimer;  // the next live timer
    int16_t mode;            // 0 off, 1 single, anything else repeating
    int32_t period;          // milliseconds
    uint32_t lastTime;       // GetTickCount at the last start or firing
};
constexpr int32_t kTimerFieldsOffset = 24;
constexpr int32_t kTimerInstanceSize = 40;

#if defined(__i386__)
static_assert(offsetof(TimerFields, mode) == 4);
static_assert(offsetof(TimerFields, period) == 8);
static_assert(offsetof(TimerFields, lastTime) == 12);
static_assert(kTimerFieldsOffset + sizeof(TimerFields) == kTimerInstanceSize);
#endif

// The Timer class's initialiser and finaliser: a timer joins the head of the
// list when it is made and leaves it when it is destroyed.
void initialiseTimer(ObjectHandle timer, ClassRecord*);
void finaliseTimer(ObjectHandle timer, ClassRecord*);

// One poll of the live timers (the loop's timer step).
void pollTimers();
// Whether some live timer is running (mode not 0).
bool anyTimerRunning();

}  // namespace runtime

RUNTIME_ENTRY int32_t timerModeGetter(ObjectHandle timer);
RUNTIME_ENTRY void timerModeSetter(ObjectHandle timer, int32_t mode);
RUNTIME_ENTRY int32_t timerPeriodGetter(ObjectHandle timer);
RUNTIME_ENTRY void timerPeriodSetter(ObjectHandle timer, int32_t period);
