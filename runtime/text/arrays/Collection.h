// Collections: an ordered list of entries {key, value} held by a `Collection`
// object. Each entry owns one reference to its key and one to its value; the
// same key may occur more than once, and lookups by key take the first match
// under the runtime's case-insensitive comparison.
#pragma once

#include <cstddef>
#include <cstdint>

#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"
#include "text/arrays/ElementVector.h"

struct ClassRecord;

struct CollectionEntry {
    StringHandle key;
    ObjectHandle value;
};

#if defined(__i386__)
static_assert(sizeof(CollectionEntry) == 8);
#endif

namespace runtime::arrays {

// The entry list's place in a `Collection` instance: after the header and the
// root class's data. The list is made by the first add.
constexpr int32_t kCollectionListOffset = 24;

// Each "position" is 1-based; the functions that take one return false for a
// position outside 1 to the count, changing nothing.
void addEntry(ObjectHandle collection, ObjectHandle value, StringHandle key);
int32_t entryCount(ObjectHandle collection);
bool valueAt(ObjectHandle collection, int32_t position, ObjectHandle& value);
// The value of the first entry whose key matches, locked for the caller; nil when none.
ObjectHandle valueFor(ObjectHandle collection, StringHandle key);
bool removeAt(ObjectHandle collection, int32_t position);
void removeFirstWithKey(ObjectHandle collection, StringHandle key);

// The class's finaliser: releases every entry and frees the list.
void finaliseCollection(ObjectHandle collection, ClassRecord* owner);

}  // namespace runtime::arrays
