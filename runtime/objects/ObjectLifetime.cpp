#include "objects/ObjectLifetime.h"

#include <cstring>

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

void runInitialisers(ObjectHandle object, ClassRecord* cls) {
    if (!cls) return;
    runInitialisers(object, cls->superclass);  // the root class first
    if (cls->initialiser) cls->initialiser(object, cls);
}

void destroy(ObjectHandle object) {
    for (ClassRecord* cls = object->classRecord; cls; cls = cls->superclass) {
        if (cls->finaliser) cls->finaliser(object, cls);
    }
    unlink(object);
    poolRelease(object, instanceBlockSize(object->classRecord));
}

}  // namespace

int32_t instanceBlockSize(const ClassRecord* cls) { return (cls->instanceSize + 3) / 4 * 4; }

ObjectHandle newObject(ClassRecord* cls) {
    const int32_t size = instanceBlockSize(cls);
    auto* object = static_cast<ObjectHandle>(poolAllocate(size));
    std::memset(object, 0, static_cast<size_t>(size));
    object->refCount = 1;
    object->classRecord = cls;
    runInitialisers(object, cls);
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
