#include "loader/RuntimeEntryTable.h"

#include <windows.h>

#include "objects/LoopEntries.h"
#include "objects/ObjectEntries.h"
#include "objects/RuntimeStartup.h"
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
    // Objects, classes and exceptions
    ENTRY(RuntimeInit),
    ENTRY(RuntimeNewObject),
    ENTRY(RuntimeLockObject),
    ENTRY(RuntimeUnlockObject),
    ENTRY(objGetter),
    ENTRY(objSetter),
    ENTRY(RuntimeObjectIsa),
    ENTRY(RuntimeCheckCast),
    ENTRY(RuntimeNilObject),
    ENTRY(RuntimeRaiseException),
    ENTRY(RuntimeReraiseException),
    ENTRY(RuntimeFindHookCode),
    ENTRY(FindVTableCode),
    ENTRY(FindInterfaceVTableCode),
    ENTRY(RuntimeProjectObject),
    ENTRY(RuntimePictureReference),
    ENTRY(RuntimeStackCheck),
    ENTRY(getAppObject),
    ENTRY(debugDumpObjects),
    // Event loop and application events
    ENTRY(RuntimeRun),
    ENTRY(ApplicationQuit),
    ENTRY(RuntimeBackgroundTask),
    ENTRY(RuntimeTicks),
    ENTRY(RuntimeMicroseconds),
    ENTRY(getUserCancelled),
    ENTRY(RuntimeEnableMenu),
    ENTRY(enableMenuItems),
    ENTRY(ApplicationOpenDocument),
    ENTRY(ApplicationNewDocument),
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
