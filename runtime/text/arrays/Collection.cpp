#include "text/arrays/Collection.h"

#include "UnalignedAccess.h"
#include "objects/ObjectLifetime.h"
#include "objects/UnwindScope.h"
#include "text/CaseFold.h"
#include "text/SmallBlockPool.h"
#include "text/StringValue.h"

namespace runtime::arrays {
namespace {

ElementVector* listOf(ObjectHandle collection) { return loadUnaligned<ElementVector*>(collection, kCollectionListOffset); }

CollectionEntry* entryAt(const ElementVector& list, int32_t index) { return get<CollectionEntry*>(list, index); }

// Index (from 0) of the first entry whose key matches, or -1.
int32_t findKey(const ElementVector* list, StringHandle key) {
    if (!list) return -1;
    for (int32_t i = 0; i < list->count; ++i) {
        if (foldedEquals(viewOf(entryAt(*list, i)->key), viewOf(key))) return i;
    }
    return -1;
}

// Takes entry `index` out of the list, then releases it: the value last,
// since releasing it may run compiled finalisers, which find the list whole.
void removeIndex(ElementVector& list, int32_t index) {
    CollectionEntry* entry = entryAt(list, index);
    removePlace(list, index);
    const ObjectHandle value = entry->value;
    unlockString(entry->key);
    poolRelease(entry, sizeof(CollectionEntry));
    unlockObject(value);
}

}  // namespace

void addEntry(ObjectHandle collection, ObjectHandle value, StringHandle key) {
    ElementVector* list = listOf(collection);
    if (!list) {
        list = newVector(kReferenceSize);
        storeUnaligned(collection, kCollectionListOffset, list);
    }
    auto* entry = static_cast<CollectionEntry*>(poolAllocate(sizeof(CollectionEntry)));
    lockString(key);
    lockObject(value);
    *entry = CollectionEntry{key, value};
    insertPlace(*list, list->count);
    put(*list, list->count - 1, entry);
}

int32_t entryCount(ObjectHandle collection) {
    const ElementVector* list = listOf(collection);
    return list ? list->count : 0;
}

bool valueAt(ObjectHandle collection, int32_t position, ObjectHandle& value) {
    const ElementVector* list = listOf(collection);
    if (!list || position < 1 || position > list->count) return false;
    value = entryAt(*list, position - 1)->value;
    lockObject(value);
    return true;
}

ObjectHandle valueFor(ObjectHandle collection, StringHandle key) {
    const ElementVector* list = listOf(collection);
    const int32_t index = findKey(list, key);
    if (index < 0) return nullptr;
    const ObjectHandle value = entryAt(*list, index)->value;
    lockObject(value);
    return value;
}

bool removeAt(ObjectHandle collection, int32_t position) {
    ElementVector* list = listOf(collection);
    if (!list || position < 1 || position > list->count) return false;
    removeIndex(*list, position - 1);
    return true;
}

void removeFirstWithKey(ObjectHandle collection, StringHandle key) {
    ElementVector* list = listOf(collection);
    const int32_t index = findKey(list, key);
    if (index >= 0) removeIndex(*list, index);
}

namespace {

// Releases a collection's entries from the end, then its list. Each release
// leaves a shorter but whole list behind.
void drainEntries(ObjectHandle collection) {
    ElementVector* list = listOf(collection);
    if (!list) return;
    while (list->count > 0) removeIndex(*list, list->count - 1);
    storeUnaligned<ElementVector*>(collection, kCollectionListOffset, nullptr);
    deleteVector(list);
}

// If a value's finaliser raises, the rest is released as the exception
// leaves the frame.
struct DrainOnUnwind {
    explicit DrainOnUnwind(ObjectHandle c) : collection(c) {}
    DrainOnUnwind(const DrainOnUnwind&) = delete;
    DrainOnUnwind& operator=(const DrainOnUnwind&) = delete;
    ~DrainOnUnwind() { drainEntries(collection); }
    ObjectHandle collection;
};

}  // namespace

void finaliseCollection(ObjectHandle collection, ClassRecord*) {
    // The work happens while the scope is armed; on a normal return its
    // destructor finds nothing left.
    const Unwindable<DrainOnUnwind> drain(collection);
    drainEntries(collection);
}

}  // namespace runtime::arrays
