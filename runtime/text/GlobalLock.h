// The runtime's global critical section. It guards the small-block pool and the
// few other routines that threads started by compiled code may share; nothing
// else in the runtime is locked.
#pragma once

namespace runtime {

void enterGlobalLock();
void leaveGlobalLock();

// Creates the lock at process start-up; later calls do nothing.
void initGlobalLock();

class GlobalLockGuard {
public:
    GlobalLockGuard() { enterGlobalLock(); }
    ~GlobalLockGuard() { leaveGlobalLock(); }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
};

}  // namespace runtime
