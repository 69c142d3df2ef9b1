// The instance block of every object: the header that compiled code, the
// runtime and plug-ins share, followed by the instance data of its classes.
#pragma once

#include <cstddef>
#include <cstdint>

struct ClassRecord;

struct ObjectHeader {
    int32_t refCount;           // 1 at creation; the object is destroyed at 0
    ClassRecord* classRecord;   // the object's class
    ObjectHeader* previous;     // links in the list of live objects (newest first)
    ObjectHeader* next;
};

// An object reference is a pointer to the instance block; null is nil.
using ObjectHandle = ObjectHeader*;

// The header's size: instance data of the root class starts here.
constexpr int32_t kObjectHeaderSize = 16;

#if defined(__i386__)
static_assert(sizeof(ObjectHeader) == kObjectHeaderSize);
static_assert(offsetof(ObjectHeader, refCount) == 0);
static_assert(offsetof(ObjectHeader, classRecord) == 4);
static_assert(offsetof(ObjectHeader, previous) == 8);
static_assert(offsetof(ObjectHeader, next) == 12);
#endif
