// The runtime's one event loop. Each pass takes one window message (waiting
// when nothing is due), dispatches it, then gives time to the deferred work,
// the focused control, timers, serial ports, movies and sockets, ends the loop
// when no window is left, and runs the due periodic tasks. Subsystems take
// part through the participants registered for their step of the pass.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "objects/ObjectHeader.h"

namespace runtime {

// The steps of a pass that subsystems fill in.
enum class LoopStage {
    kWindowGeometry,  // apply pending geometry, show windows that should be shown
    kFocusIdle,       // the focused control's idle call
    kTimers,
    kSerialPorts,
    kMovies,
    kSockets,
    kCount,
};

class LoopParticipant {
public:
    virtual ~LoopParticipant() = default;
    // Its step of the pass.
    virtual void runStep() = 0;
    // When it next needs the loop (milliseconds from now); none: only for a
    // message. 0 means at once; a participant that must be polled without a
    // due time (a captured mouse, an open port) gives a short interval.
    virtual std::optional<DWORD> millisecondsUntilDue() const { return std::nullopt; }
};

// Registers (or, with null, removes) the participant of a step.
void setLoopParticipant(LoopStage stage, LoopParticipant* participant);

// Window-facing questions the loop asks; the window subsystem answers them.
class WindowRoster {
public:
    virtual ~WindowRoster() = default;
    virtual bool anyWindowExists() const = 0;
    virtual bool inFrameMode() const { return false; }
    // Offers a message to keyboard pre-translation and the frame's accelerators
    // before it is dispatched; true: consumed.
    virtual bool pretranslate(MSG&) { return false; }
    // The objects of the windows that show compiled window objects, front to
    // back, each locked for the caller.
    virtual std::vector<ObjectHandle> windowObjects() const { return {}; }
    // Closes a window: its Close event, then its destruction.
    virtual void closeWindow(ObjectHandle) {}
    // Closes every remaining window (at the end of the run).
    virtual void closeAllWindows() {}
};
void setWindowRoster(WindowRoster* roster);
WindowRoster* windowRoster();

// Work run once at the next pass (then forgotten).
class DeferredWork {
public:
    virtual ~DeferredWork() = default;
    virtual void run() = 0;
};
void deferWork(DeferredWork* work);

// A task run whenever its interval has elapsed since its last run.
class PeriodicTask {
public:
    virtual ~PeriodicTask() = default;
    virtual void run() = 0;
};
void addPeriodicTask(PeriodicTask* task, DWORD intervalMilliseconds);
void removePeriodicTask(PeriodicTask* task);

// Runs passes until the quit flag is set.
void runEventLoop();
// One pass (also what a modal window runs).
void runLoopPass();
// Runs the periodic tasks that are due now.
void runDuePeriodicTasks();

void setQuitFlag();
bool quitRequested();

// Milliseconds elapsed from `since` to `now`, correct across the wrap of the
// 32-bit tick count.
inline DWORD elapsedMilliseconds(DWORD since, DWORD now) { return now - since; }

}  // namespace runtime
