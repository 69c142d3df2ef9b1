#include "text/arrays/CollectionEntries.h"

#include "objects/BuiltinClasses.h"
#include "objects/ObjectTests.h"
#include "text/arrays/Collection.h"
#include "text/arrays/RaiseErrors.h"

using namespace runtime::arrays;

namespace {

// The collection argument: nil raises NilObjectException, an object of
// another class IllegalCastException (its instance has no entry list).
ObjectHandle collectionOf(ObjectHandle object) {
    ObjectHandle collection = &nonNil(object);
    if (!runtime::objectIsa(collection, runtime::builtinClass("Collection"))) raiseIllegalCast();
    return collection;
}

}  // namespace

void collectionAdd(ObjectHandle c, ObjectHandle value, StringHandle key) { addEntry(collectionOf(c), value, key); }

int32_t collectionCount(ObjectHandle c) { return entryCount(collectionOf(c)); }

ObjectHandle collectionIdxItem(ObjectHandle c, int32_t position) {
    ObjectHandle value = nullptr;
    requireAccepted(valueAt(collectionOf(c), position, value));
    return value;
}

ObjectHandle collectionItem(ObjectHandle c, StringHandle key) { return valueFor(collectionOf(c), key); }

void collectionIdxRemove(ObjectHandle c, int32_t position) { requireAccepted(removeAt(collectionOf(c), position)); }

void collectionKeyRemove(ObjectHandle c, StringHandle key) { removeFirstWithKey(collectionOf(c), key); }
