#include "loader/RuntimeEntryTable.h"

#include <windows.h>

#include "text/StringEntries.h"

namespace {

template <typename Routine>
constexpr RuntimeEntry entry(const char* name, Routine* routine) {
    return RuntimeEntry{name, reinterpret_cast<void*>(routine), {0, 0}};
}

#define ENTRY(routine) entry(#routine, &routine)

const RuntimeEntry kRuntimeEntries[] = {
    // String values
    ENTRY(RuntimeLockString),
    ENTRY(RuntimeUnlockString),
    ENTRY(RuntimeAddString),
    ENTRY(RuntimeStringCompare),
    ENTRY(StringStrCompare),
    ENTRY(StringGetCString),
    ENTRY(StringToCString),
    ENTRY(StringGetPString),
    ENTRY(StringToPString),
    ENTRY(StringToOSType),
    ENTRY(VELMBuildString),
    ENTRY(VELMLockString),
    ENTRY(VELMUnlockString),
    ENTRY(stringGetter),
    ENTRY(stringSetter),
};

#undef ENTRY

}  // namespace

namespace runtime {

std::span<const RuntimeEntry> runtimeEntryTable() { return kRuntimeEntries; }

void* findRuntimeRoutine(const char* name) {
    for (const RuntimeEntry& slot : kRuntimeEntries) {
        if (slot.name && lstrcmpiA(slot.name, name) == 0) return slot.routine;
    }
    return nullptr;
}

}  // namespace runtime
