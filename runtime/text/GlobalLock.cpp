#include "text/GlobalLock.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <mutex>
#endif

namespace runtime {
namespace {

#if defined(_WIN32)
// Created on first use so that allocations made before the process entry (by
// static objects of test programs) are guarded too.
CRITICAL_SECTION& globalSection() {
    static CRITICAL_SECTION section = [] {
        CRITICAL_SECTION s;
        InitializeCriticalSection(&s);
        return s;
    }();
    return section;
}
#else
std::recursive_mutex& globalSection() {
    static std::recursive_mutex section;
    return section;
}
#endif

}  // namespace

#if defined(_WIN32)
void enterGlobalLock() { EnterCriticalSection(&globalSection()); }
void leaveGlobalLock() { LeaveCriticalSection(&globalSection()); }
#else
void enterGlobalLock() { globalSection().lock(); }
void leaveGlobalLock() { globalSection().unlock(); }
#endif

void initGlobalLock() { (void)globalSection(); }

}  // namespace runtime
