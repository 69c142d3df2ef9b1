#include "objects/ObjectLifetime.h"

#include <cstring>

#include "objects/UnwindScope.h"
#include "text/SmallBlockPool.h"

namespace runtime {
namespace {

// The live-object list, newest first (process-wide).
ObjectHandle gLiveObjects = nullptr;
int32_t gLiveCount = 0;

void link(ObjectHandle object) {
    object->previous = nullptr;
    object->next = gLiveObjects;
    if (gLiveObjects) gLiveObjects->previous = object;
    gLiveObjects = object;
    ++gLiveCount;
}

void unlink(ObjectHandle object) {
    if (object->previous) object->previous->next = object->next;
    else gLiveObjects = object->next;
    if (object->next) object->next->previous = object->previous;
    object->previous = object->next = nullptr;
    --gLiveCount;
}

bool anyInitialiser(const ClassRecord* cls) {
    for (; cls; cls = cls->superclass) {
        if (cls->initialiser) return true;
    }
    return false;
}

bool anyFinaliser(const ClassRecord* cls) {
    for (; cls; cls = cls->superclass) {
        if (cls->finaliser) return true;
    }
    return false;
}

void runInitialisers(ObjectHandle object, ClassRecord* cls) {
    if (!cls) return;
    runInitialisers(object, cls->superclass);  // the root class first
    if (cls->initialiser) cls->initialiser(object, cls);
}

// An object whose initialisers have not all returned: if one raises, nobody
// can ever reach the object, and its block goes back to the pool.
struct UnfinishedObject {
    explicit UnfinishedObject(ObjectHandle o) : object(o) {}
    UnfinishedObject(const UnfinishedObject&) = delete;
    UnfinishedObject& operator=(const UnfinishedObject&) = delete;
    ObjectHandle object;
    ~UnfinishedObject() {
        if (object) poolRelease(object, instanceBlockSize(object->classRecord));
    }
};

void runInitialisersGuarded(ObjectHandle object) {
    Unwindable<UnfinishedObject> unfinished(object);
    runInitialisers(object, object->classRecord);
    unfinished->object = nullptr;
}

void unlinkAndFree(ObjectHandle object) {
    unlink(object);
    poolRelease(object, instanceBlockSize(object->classRecord));
}

void destroy(ObjectHandle object) {
    if (!anyFinaliser(object->classRecord)) {
        unlinkAndFree(object);
        return;
    }
    // Finalisers may be compiled code: one that raises still leaves the
    // object off the live list and its block freed.
    UnwindAction finish([object] { unlinkAndFree(object); });
    for (ClassRecord* cls = object->classRecord; cls; cls = cls->superclass) {
        if (cls->finaliser) cls->finaliser(object, cls);
    }
}

}  // namespace

int32_t instanceBlockSize(const ClassRecord* cls) { return (cls->instanceSize + 3) / 4 * 4; }

ObjectHandle newObject(ClassRecord* cls) {
    const int32_t size = instanceBlockSize(cls);
    auto* object = static_cast<ObjectHandle>(poolAllocate(size));
    std::memset(object, 0, static_cast<size_t>(size));
    object->refCount = 1;
    object->classRecord = cls;
    if (anyInitialiser(cls)) runInitialisersGuarded(object);
    link(object);
    return object;
}

void lockObject(ObjectHandle object) {
    if (object) ++object->refCount;
}

void unlockObject(ObjectHandle object) {
    if (object && --object->refCount == 0) destroy(object);
}

ObjectHandle firstLiveObject() { return gLiveObjects; }
int32_t liveObjectCount() { return gLiveCount; }

}  // namespace runtime
