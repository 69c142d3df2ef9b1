#include "objects/UnwindScope.h"

#include <windows.h>

#include <cassert>

#include "objects/ExceptionUnwinding.h"
#include "objects/ObjectLifetime.h"

namespace runtime {
namespace {

// Per thread: each thread's scopes lie on its own stack. The newest first.
thread_local UnwindScope* tNewestScope = nullptr;
// The exception held at a system entry until runtime code above the system's
// frames raises it again.
thread_local ObjectHandle tPendingException = nullptr;

// Process-wide: set once when the process ends after an unhandled exception.
bool gCompiledCodeStopped = false;

uintptr_t addressOf(const UnwindScope* scope) { return reinterpret_cast<uintptr_t>(scope); }

}  // namespace

UnwindScope::UnwindScope() : outer_(tNewestScope) { UnwindScopes::push(this); }
UnwindScope::~UnwindScope() { unlinkEarly(); }

void UnwindScope::unlinkEarly() {
    if (!linked_) return;
    linked_ = false;
    UnwindScopes::pop(this);
}

void UnwindScopes::push(UnwindScope* scope) { tNewestScope = scope; }

void UnwindScopes::pop(UnwindScope* scope) {
    assert(tNewestScope == scope);
    tNewestScope = scope->outer_;
}

void UnwindScopes::abandonBelow(uintptr_t frame) {
    while (tNewestScope && addressOf(tNewestScope) < frame) {
        UnwindScope* scope = tNewestScope;
        // Unlinked first: releasing may run finalisers that make scopes of
        // their own, which must not see this one.
        tNewestScope = scope->outer_;
        scope->linked_ = false;
        abandonUnlinked(scope);
    }
}

void UnwindScopes::abandonUnlinked(UnwindScope* scope) {
    runDroppingExceptions([scope] { scope->abandon(); });
}

SystemEntry* UnwindScopes::innermostSystemEntry() {
    for (UnwindScope* scope = tNewestScope; scope; scope = scope->outer_) {
        if (scope->isSystemEntry()) return static_cast<SystemEntry*>(scope);
    }
    return nullptr;
}

void UnwindScopes::holdAt(SystemEntry* entry, ObjectHandle exception) {
    // Every scope newer than the entry belongs to a frame being left; scopes
    // of the entry's own frame have no address order, so count by the list.
    while (tNewestScope && tNewestScope != entry) {
        UnwindScope* scope = tNewestScope;
        tNewestScope = scope->outer_;
        scope->linked_ = false;
        abandonUnlinked(scope);
    }
    // The first exception held wins; one raised while it waits is dropped.
    if (tPendingException || entry->dropsExceptions()) {
        unlockObject(exception);
    } else {
        tPendingException = exception;
        // A wait for messages that called the procedure must return to the
        // loop, which raises the exception again.
        PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
    }
    dropSystemHandlersBelow(addressOf(entry));
    __builtin_longjmp(entry->jumpBuffer(), 1);
}

bool exceptionPending() { return tPendingException != nullptr; }

bool compiledCodeMayRun() { return !tPendingException && !gCompiledCodeStopped; }
void stopCompiledCode() { gCompiledCodeStopped = true; }

void raisePendingException(uintptr_t frame) {
    if (!tPendingException) return;
    ObjectHandle exception = tPendingException;
    tPendingException = nullptr;
    unwindException(exception, frame);
}

}  // namespace runtime
