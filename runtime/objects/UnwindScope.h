// Runtime frames that compiled code runs above.
//
// An exception raised in compiled code is unwound along the frame-pointer
// chain straight to the compiled frame that catches it: runtime frames in
// between never finish, so their C++ destructors never run. The rule for
// runtime code that calls compiled code (event and menu handlers, initialisers,
// finalisers, anything that can reach them):
//
//  - What a runtime frame owns across such a call (references, allocations,
//    flags that must be reset, native state) lives in an UnwindScope, never in
//    plain locals. When the unwinder resumes a compiled frame, it first
//    abandons every scope deeper than that frame, newest first: each releases
//    what it holds exactly once. A scope whose frame finishes normally is
//    destroyed as usual.
//  - The unwinder never jumps over the system's frames. Where the system calls
//    into the runtime (window, subclass and dialog procedures, callbacks), the
//    call runs inside `runFromSystem`. An exception whose catching frame lies
//    above stops there: it is held, the runtime returns to the system
//    normally, and the runtime raises it again with `raisePendingException`
//    as soon as control is back in runtime code above the system's frames
//    (after `DispatchMessageA` returns in the loop, after a system dialog
//    returns).
#pragma once

#include <cstdint>
#include <optional>
#include <type_traits>
#include <utility>

#include "objects/ObjectHeader.h"

namespace runtime {

class UnwindScope {
public:
    UnwindScope(const UnwindScope&) = delete;
    UnwindScope& operator=(const UnwindScope&) = delete;

protected:
    UnwindScope();   // becomes the newest scope of this thread
    ~UnwindScope();  // it is the newest again when its frame finishes
    // Leaves the list before the scope releases what it holds on a normal
    // exit: a finaliser that raises meanwhile must not abandon it again.
    void unlinkEarly();

private:
    friend class UnwindScopes;
    // Releases what the scope holds: its frame is being left by an exception
    // and will never finish. Called at most once, instead of the destructor.
    virtual void abandon() = 0;
    virtual bool isSystemEntry() const { return false; }

    UnwindScope* outer_;
    bool linked_ = true;
};

// A value owned by a runtime frame across calls into compiled code: destroyed
// with the frame, or when an exception abandons the frame.
template <typename T>
class Unwindable final : public UnwindScope {
public:
    template <typename... Args>
    explicit Unwindable(Args&&... args) : value_(std::in_place, std::forward<Args>(args)...) {}
    ~Unwindable() {
        unlinkEarly();
        value_.reset();
    }

    T& operator*() { return *value_; }
    T* operator->() { return &*value_; }
    const T& operator*() const { return *value_; }
    const T* operator->() const { return &*value_; }

private:
    void abandon() override { value_.reset(); }
    std::optional<T> value_;
};

// An action run once when its frame is left either way (a flag reset, a state
// restored). The action must not call compiled code.
template <typename Action>
class UnwindAction final : public UnwindScope {
public:
    explicit UnwindAction(Action action) : action_(std::move(action)) {}
    ~UnwindAction() {
        unlinkEarly();
        action_();
    }

private:
    void abandon() override { action_(); }
    Action action_;
};

// Where the system called into the runtime: the unwinder stops here.
class SystemEntry final : public UnwindScope {
public:
    // An exception that reaches a dropping entry is released instead of held.
    enum class Held { kForRaiseAgain, kDropped };
    explicit SystemEntry(Held held = Held::kForRaiseAgain) : held_(held) {}
    void** jumpBuffer() { return jumpBuffer_; }
    bool dropsExceptions() const { return held_ == Held::kDropped; }

private:
    void abandon() override {}
    bool isSystemEntry() const override { return true; }
    void* jumpBuffer_[5] = {};
    Held held_;
};

// Runs `body` for a call that came from the system. Returns false when an
// exception left `body` and is now held for `raisePendingException`. While an
// exception is held, no event reaches compiled code (`deliverEvent` refuses):
// the frames that would receive it have already been left.
template <typename Body>
bool runFromSystem(Body&& body) {
    SystemEntry entry;
    if (__builtin_setjmp(entry.jumpBuffer()) != 0) return false;
    body();
    return true;
}

// Runs `body` where an exception must not travel further (releases made while
// an exception is being unwound): one raised inside is released and dropped.
template <typename Body>
void runDroppingExceptions(Body&& body) {
    SystemEntry entry(SystemEntry::Held::kDropped);
    if (__builtin_setjmp(entry.jumpBuffer()) == 0) body();
}

// The scopes of the calling thread, as the unwinder sees them.
class UnwindScopes {
public:
    // Abandons, newest first, every scope that lies deeper on the stack than
    // `frame` (at a lower address).
    static void abandonBelow(uintptr_t frame);
    // The newest system entry of this thread, or null.
    static SystemEntry* innermostSystemEntry();
    // Abandons the scopes newer than `entry`, holds `exception` (whose
    // reference the caller hands over), makes sure a wait for messages wakes
    // to raise it again, and continues at `entry`.
    [[noreturn]] static void holdAt(SystemEntry* entry, ObjectHandle exception);

    static void push(UnwindScope* scope);
    // Abandons one scope that is already unlinked. A finaliser that raises
    // while the scope releases what it holds cannot reach the frames being
    // left: its exception is dropped.
    static void abandonUnlinked(UnwindScope* scope);
    static void pop(UnwindScope* scope);
};

// Whether an exception is held for the calling thread.
bool exceptionPending();
// Whether handlers may run: not while an exception is held, nor once the
// process is ending after an unhandled exception.
bool compiledCodeMayRun();
// The process is ending: no further events are delivered.
void stopCompiledCode();
// Raises the held exception, if any, from the calling runtime frame: the
// unwinder continues from `frame` outwards. Returns when none is held.
void raisePendingException(uintptr_t frame);

// The frame of the calling function, for the routines above.
#define RUNTIME_CURRENT_FRAME() reinterpret_cast<uintptr_t>(__builtin_frame_address(0))

// Makes a system call that may call back into the runtime's procedures
// (sending a message, showing or destroying a window, a system dialog), then
// raises what they held, so that the compiled frame above still catches it.
// For runtime routines that compiled code calls. The result must be a plain
// value (a handle, a number).
template <typename Call>
[[gnu::noinline]] decltype(auto) callSystem(Call&& call) {
    if constexpr (std::is_void_v<decltype(call())>) {
        call();
        raisePendingException(RUNTIME_CURRENT_FRAME());
    } else {
        const auto result = call();
        raisePendingException(RUNTIME_CURRENT_FRAME());
        return result;
    }
}

}  // namespace runtime
