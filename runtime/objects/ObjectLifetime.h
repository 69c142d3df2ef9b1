// Creation and destruction of objects and the process-wide list of live objects.
#pragma once

#include <cstdint>

#include "objects/ClassRecord.h"

namespace runtime {

// A new instance of `cls` with reference count 1, all instance data zero, its
// initialisers run root-first, at the front of the live-object list.
ObjectHandle newObject(ClassRecord* cls);

// Adds or drops a reference; at 0 the finalisers run leaf-first and the block
// goes back to the pool. Nil does nothing.
void lockObject(ObjectHandle object);
void unlockObject(ObjectHandle object);

// The newest live object (follow `next` for the others).
ObjectHandle firstLiveObject();
int32_t liveObjectCount();

// The block size of an instance of `cls`: its instance size rounded up to words.
int32_t instanceBlockSize(const ClassRecord* cls);

}  // namespace runtime
