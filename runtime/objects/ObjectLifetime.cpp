#include "objects/ObjectLifetime.h"

#include <cstring>

#include "objects/UnwindScope.h"
#include "text/FatalError.h"
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

// An object whose initialisers have not all returned. If one raises, the
// object joins the live list and loses the creator's reference: its
// finalisers release what the earlier initialisers set up, and a reference an
// initialiser kept elsewhere stays valid.
struct UnfinishedObject {
    explicit UnfinishedObject(ObjectHandle o) : object(o) {}
    UnfinishedObject(const UnfinishedObject&) = delete;
    UnfinishedObject& operator=(const UnfinishedObject&) = delete;
    ObjectHandle object;
    ~UnfinishedObject() {
        if (!object) return;
        link(object);
        unlockObject(object);
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

// The finalisers of an object being destroyed, from its class up to the root.
// If one raises, the rest still run (their own exceptions dropped), and the
// object leaves the live list and goes back to the pool.
struct Finalisation {
    explicit Finalisation(ObjectHandle o) : object(o), next(o->classRecord) {}
    Finalisation(const Finalisation&) = delete;
    Finalisation& operator=(const Finalisation&) = delete;
    ObjectHandle object;
    ClassRecord* next;  // the class whose finaliser runs next

    void runNext() {
        ClassRecord* cls = next;
        next = cls->superclass;
        if (cls->finaliser) cls->finaliser(object, cls);
    }
    ~Finalisation() {
        while (next) runDroppingExceptions([this] { runNext(); });
        unlinkAndFree(object);
    }
};

// While finalisers run, the count stays far from zero: a reference that a
// finaliser (or a plug-in's destroy routine, or a pane's last event) takes
// and drops again must not destroy the object a second time.
constexpr int32_t kFinalisingCount = 0x3FFFFFFF;

void destroy(ObjectHandle object) {
    object->refCount = kFinalisingCount;
    if (!anyFinaliser(object->classRecord)) {
        unlinkAndFree(object);
        return;
    }
    Unwindable<Finalisation> finalisation(object);
    while (finalisation->next) finalisation->runNext();
}

}  // namespace

int32_t instanceBlockSize(const ClassRecord* cls) {
    if (cls->instanceSize > INT32_MAX - 3) return -1;
    return (cls->instanceSize + 3) / 4 * 4;
}

ObjectHandle newObject(ClassRecord* cls) {
    const int32_t size = instanceBlockSize(cls);
    // A size the pool cannot give (an instance size near the top of the
    // integers) is as good as exhausted memory.
    if (size < kObjectHeaderSize) runOutOfMemory();
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
