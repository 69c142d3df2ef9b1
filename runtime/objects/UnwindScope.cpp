#include "objects/UnwindScope.h"

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

uintptr_t addressOf(const UnwindScope* scope) { return reinterpret_cast<uintptr_t>(scope); }

}  // namespace

UnwindScope::UnwindScope() : outer_(tNewestScope) { UnwindScopes::push(this); }
UnwindScope::~UnwindScope() { UnwindScopes::pop(this); }

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
    abandonBelow(addressOf(entry));
    // The first exception held wins; one raised while it waits is dropped.
    if (tPendingException || entry->dropsExceptions()) unlockObject(exception);
    else tPendingException = exception;
    dropSystemHandlersBelow(addressOf(entry));
    __builtin_longjmp(entry->jumpBuffer(), 1);
}

bool exceptionPending() { return tPendingException != nullptr; }

void raisePendingException(uintptr_t frame) {
    if (!tPendingException) return;
    ObjectHandle exception = tPendingException;
    tPendingException = nullptr;
    unwindException(exception, frame);
}

}  // namespace runtime
