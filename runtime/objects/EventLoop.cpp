#include "objects/EventLoop.h"

#include <algorithm>
#include <array>
#include <vector>

#include "objects/UnwindScope.h"

namespace runtime {
namespace {

struct ScheduledTask {
    PeriodicTask* task;
    DWORD lastRun;
    DWORD interval;
};

// Loop state, process-wide: the loop runs on the one GUI thread.
struct LoopState {
    std::array<LoopParticipant*, static_cast<size_t>(LoopStage::kCount)> participants{};
    WindowRoster* roster = nullptr;
    std::vector<DeferredWork*> deferred;
    std::vector<ScheduledTask> tasks;
    bool quit = false;
};

LoopState& state() {
    static LoopState loop;
    return loop;
}

LoopParticipant* participant(LoopStage stage) { return state().participants[static_cast<size_t>(stage)]; }

void runStage(LoopStage stage) {
    if (LoopParticipant* p = participant(stage)) p->runStep();
}

bool noWindowLeft() {
    const WindowRoster* roster = state().roster;
    return !(roster && (roster->inFrameMode() || roster->anyWindowExists()));
}

// How long the pass may wait for a message: INFINITE when nothing but a
// message can need the loop.
DWORD waitLimit() {
    if (noWindowLeft()) return 0;  // the pass ends the loop: nothing to wait for
    std::optional<DWORD> limit;
    auto consider = [&](DWORD ms) { limit = limit ? std::min(*limit, ms) : ms; };
    for (LoopParticipant* p : state().participants) {
        if (p) {
            if (auto due = p->millisecondsUntilDue()) consider(*due);
        }
    }
    const DWORD now = GetTickCount();
    for (const ScheduledTask& t : state().tasks) {
        const DWORD elapsed = elapsedMilliseconds(t.lastRun, now);
        consider(elapsed >= t.interval ? 0 : t.interval - elapsed);
    }
    return limit ? *limit : INFINITE;
}

void dispatch(MSG& message) {
    if (WindowRoster* roster = state().roster; roster && roster->pretranslate(message)) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

void takeOneMessage() {
    MSG message;
    const DWORD limit = waitLimit();
    if (limit == INFINITE) {
        if (GetMessageA(&message, nullptr, 0, 0) == 0) {
            state().quit = true;
            return;
        }
        dispatch(message);
        return;
    }
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        // Nothing queued: sleep until a message arrives or the next task is due.
        if (limit == 0) return;
        MsgWaitForMultipleObjectsEx(0, nullptr, limit, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return;
    }
    if (message.message == WM_QUIT) {
        state().quit = true;
        return;
    }
    dispatch(message);
}

void runDeferredWork() {
    // Work that has not run when one piece raises stays for the next pass.
    struct Remaining {
        std::vector<DeferredWork*> work;
        size_t next = 0;
        ~Remaining() {
            auto& deferred = state().deferred;
            deferred.insert(deferred.begin(), work.begin() + static_cast<ptrdiff_t>(next), work.end());
        }
    };
    Unwindable<Remaining> remaining;
    remaining->work.swap(state().deferred);
    while (remaining->next < remaining->work.size()) remaining->work[remaining->next++]->run();
}

}  // namespace

void setLoopParticipant(LoopStage stage, LoopParticipant* p) { state().participants[static_cast<size_t>(stage)] = p; }
void setWindowRoster(WindowRoster* roster) { state().roster = roster; }
WindowRoster* windowRoster() { return state().roster; }
void deferWork(DeferredWork* work) { state().deferred.push_back(work); }

void addPeriodicTask(PeriodicTask* task, DWORD intervalMilliseconds) {
    state().tasks.push_back({task, GetTickCount(), intervalMilliseconds});
}

void removePeriodicTask(PeriodicTask* task) {
    std::erase_if(state().tasks, [&](const ScheduledTask& t) { return t.task == task; });
}

void runDuePeriodicTasks() {
    // A task may add or remove tasks: walk a copy, run only those still listed.
    const Unwindable<std::vector<ScheduledTask>> snapshot(state().tasks);
    for (const ScheduledTask& t : *snapshot) {
        auto& tasks = state().tasks;
        auto it = std::find_if(tasks.begin(), tasks.end(), [&](const ScheduledTask& s) { return s.task == t.task; });
        if (it == tasks.end()) continue;
        const DWORD now = GetTickCount();
        if (elapsedMilliseconds(it->lastRun, now) < it->interval) continue;
        it->lastRun = now;
        t.task->run();
    }
}

void runLoopPass() {
    runStage(LoopStage::kWindowGeometry);
    takeOneMessage();
    // Back above the system's frames: an exception that a window procedure
    // held (while dispatching, pre-translating or waiting) goes on to the
    // compiled frame that catches it.
    raisePendingException(RUNTIME_CURRENT_FRAME());
    runDeferredWork();
    runStage(LoopStage::kFocusIdle);
    runStage(LoopStage::kTimers);
    runStage(LoopStage::kSerialPorts);
    runStage(LoopStage::kMovies);
    runStage(LoopStage::kSockets);
    if (noWindowLeft()) state().quit = true;
    runDuePeriodicTasks();
}

void runEventLoop() {
    while (!state().quit) runLoopPass();
}

void setQuitFlag() { state().quit = true; }
bool quitRequested() { return state().quit; }

}  // namespace runtime
