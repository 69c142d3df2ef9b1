#include "objects/ObjectEntries.h"

#include <windows.h>

#include <string>

#include "UnalignedAccess.h"
#include "objects/ApplicationObject.h"
#include "objects/ClassRegistry.h"
#include "objects/EventLookup.h"
#include "objects/ExceptionUnwinding.h"
#include "objects/InterfaceTables.h"
#include "objects/ObjectRef.h"
#include "objects/ObjectTests.h"
#include "objects/ProjectItems.h"
#include "text/StringValue.h"

using namespace runtime;

namespace {



}  // namespace

ObjectHandle RuntimeNewObject(int32_t classIndex) {
    ClassRecord* cls = classTableEntry(classIndex);
    return cls ? newObject(cls) : nullptr;
}

ObjectHandle RuntimeLockObject(ObjectHandle object) {
    lockObject(object);
    return object;
}

ObjectHandle RuntimeUnlockObject(ObjectHandle object) {
    unlockObject(object);
    return nullptr;
}

ObjectHandle objGetter(ObjectHandle object, int32_t offset) {
    return ObjectRef::borrow(loadUnaligned<ObjectHandle>(object, offset)).release();
}

void objSetter(ObjectHandle object, int32_t offset, ObjectHandle value) {
    // The new reference first: the field may hold the only other one.
    lockObject(value);
    unlockObject(loadUnaligned<ObjectHandle>(object, offset));
    storeUnaligned(object, offset, value);
}

bool RuntimeObjectIsa(ObjectHandle object, int32_t classIndex) {
    return objectIsa(object, classTableEntry(classIndex));
}

// The routines that raise keep their own frame as the start of the walk, so
// they are never inlined into one another.
__attribute__((noinline)) void RuntimeCheckCast(ObjectHandle object, int32_t classIndex) {
    if (!object || objectIsa(object, classTableEntry(classIndex))) return;
    unwindException(newBuiltinException("IllegalCastException"), reinterpret_cast<uintptr_t>(__builtin_frame_address(0)));
}

__attribute__((noinline)) void RuntimeNilObject() {
    unwindException(newBuiltinException("NilObjectException"), reinterpret_cast<uintptr_t>(__builtin_frame_address(0)));
}

__attribute__((noinline)) void RuntimeRaiseException(ObjectHandle exception) {
    lockObject(exception);  // the unwinder owns this reference
    unwindException(exception, reinterpret_cast<uintptr_t>(__builtin_frame_address(0)));
}

void RuntimeReraiseException() {}

CodeAddress RuntimeFindHookCode(ObjectHandle object, int32_t hookCode) {
    return object ? findHookCode(object->classRecord, hookCode) : nullptr;
}

CodeAddress FindVTableCode(ObjectHandle object, int32_t slot) {
    if (!object) return nullptr;
    const ClassRecord* cls = object->classRecord;
    if (slot < 0 || slot >= cls->virtualTableCount) return nullptr;
    return cls->virtualTable[slot];
}

CodeAddress FindInterfaceVTableCode(ObjectHandle object, int32_t slot, int32_t interfaceIndex) {
    return object ? interfaceRoutine(object->classRecord, classTableEntry(interfaceIndex), slot) : nullptr;
}

ObjectHandle RuntimeProjectObject(int32_t index) { return projectObject(index).release(); }
ObjectHandle RuntimePictureReference(int32_t index) { return projectObject(index).release(); }

void RuntimeStackCheck() {}

ObjectHandle getAppObject() { return ObjectRef::borrow(applicationObject()).release(); }

void debugDumpObjects(StringHandle title) {
    std::string report = std::string(viewOf(title)) + ": " + std::to_string(liveObjectCount()) + " live objects\n";
    for (ObjectHandle o = firstLiveObject(); o; o = o->next) {
        report += "  " + std::string(viewOf(o->classRecord->name)) + " refs " + std::to_string(o->refCount) + "\n";
    }
    OutputDebugStringA(report.c_str());
}
