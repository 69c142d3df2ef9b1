// Collections through their entry routines under Wine: order, 1-based
// positions, case-insensitive first-match keys, removal, and exact reference
// counts of keys and values until the collection is destroyed.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "objects/ObjectEntries.h"
#include "objects/ClassRegistry.h"
#include "objects/ExceptionUnwinding.h"
#include "objects/UnwindScope.h"
#include "objects/ObjectRef.h"
#include "text/CatchingCall.h"
#include "text/StringValue.h"
#include "text/arrays/Collection.h"
#include "text/arrays/CollectionEntries.h"

using namespace runtime;
using testing_support::raisedBy;

namespace {

constexpr const char* kOutOfBounds = "OutOfBoundsException";

class Collections : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::installRuntimeExceptionClass(); }
    // Every test gives back everything it made: no object outlives it.
    void TearDown() override {
        collection = ObjectRef();
        EXPECT_EQ(liveObjectCount(), 0);
    }

    ObjectRef collection = ObjectRef::adopt(newObject(builtinClass("Collection")));
};

ObjectRef newValue() { return ObjectRef::adopt(newObject(builtinClass("Object"))); }
StringValue key(const char* text) { return StringValue::fromCString(text); }

int32_t refs(const ObjectRef& o) { return o->refCount; }
int32_t refs(const StringValue& s) { return s.get()->refCount; }

// The value a routine returned, taken over (its reference released at the end).
ObjectRef taken(ObjectHandle result) { return ObjectRef::adopt(result); }

TEST_F(Collections, EmptyCollectionHasNoList) {
    EXPECT_EQ(collectionCount(collection.get()), 0);
    EXPECT_EQ(collectionItem(collection.get(), key("x").get()), nullptr);
    EXPECT_EQ(*collection.field<ElementVector*>(arrays::kCollectionListOffset), nullptr);
    EXPECT_EQ(raisedBy(collectionIdxItem, collection.get(), 1), kOutOfBounds);
    EXPECT_EQ(raisedBy(collectionIdxRemove, collection.get(), 1), kOutOfBounds);
    collectionKeyRemove(collection.get(), key("x").get());  // nothing to remove
    EXPECT_EQ(collectionCount(collection.get()), 0);
}

TEST_F(Collections, KeysMatchIgnoringCaseAndTheFirstWins) {
    const ObjectRef first = newValue(), second = newValue(), third = newValue();
    const StringValue x = key("x"), y = key("Y"), x2 = key("x");
    collectionAdd(collection.get(), first.get(), x.get());
    collectionAdd(collection.get(), second.get(), y.get());
    collectionAdd(collection.get(), third.get(), x2.get());
    EXPECT_EQ(collectionCount(collection.get()), 3);
    EXPECT_EQ(refs(first), 2);
    EXPECT_EQ(refs(x), 2);

    EXPECT_EQ(taken(collectionItem(collection.get(), key("X").get())).get(), first.get());
    EXPECT_EQ(taken(collectionItem(collection.get(), key("y").get())).get(), second.get());
    EXPECT_EQ(collectionItem(collection.get(), key("z").get()), nullptr);
    EXPECT_EQ(collectionItem(collection.get(), nullptr), nullptr);  // the empty key matches none here
    {
        const ObjectRef item = taken(collectionItem(collection.get(), key("x").get()));
        EXPECT_EQ(refs(first), 3);  // locked for the caller
    }
    EXPECT_EQ(refs(first), 2);

    collectionKeyRemove(collection.get(), key("X").get());  // only the first x
    EXPECT_EQ(collectionCount(collection.get()), 2);
    EXPECT_EQ(refs(first), 1);
    EXPECT_EQ(refs(x), 1);
    EXPECT_EQ(refs(x2), 2);
    EXPECT_EQ(taken(collectionItem(collection.get(), key("x").get())).get(), third.get());
    collectionKeyRemove(collection.get(), key("x").get());
    EXPECT_EQ(refs(third), 1);
    EXPECT_EQ(refs(x2), 1);
    EXPECT_EQ(collectionCount(collection.get()), 1);
    EXPECT_EQ(taken(collectionIdxItem(collection.get(), 1)).get(), second.get());
}

TEST_F(Collections, PositionsStartAtOne) {
    const ObjectRef a = newValue(), b = newValue(), c = newValue();
    for (const ObjectRef* v : {&a, &b, &c}) collectionAdd(collection.get(), v->get(), key("k").get());
    EXPECT_EQ(taken(collectionIdxItem(collection.get(), 1)).get(), a.get());
    EXPECT_EQ(taken(collectionIdxItem(collection.get(), 3)).get(), c.get());
    for (int32_t bad : {0, 4, -1, INT32_MIN}) {
        EXPECT_EQ(raisedBy(collectionIdxItem, collection.get(), bad), kOutOfBounds) << bad;
        EXPECT_EQ(raisedBy(collectionIdxRemove, collection.get(), bad), kOutOfBounds) << bad;
    }
    EXPECT_EQ(collectionCount(collection.get()), 3);
    EXPECT_EQ(refs(a), 2);

    collectionIdxRemove(collection.get(), 2);  // the later entries move up
    EXPECT_EQ(refs(b), 1);
    EXPECT_EQ(collectionCount(collection.get()), 2);
    EXPECT_EQ(taken(collectionIdxItem(collection.get(), 2)).get(), c.get());
}

TEST_F(Collections, DestroyingTheCollectionReleasesEveryEntry) {
    const ObjectRef kept = newValue();
    const StringValue k = key("shared");
    for (int32_t i = 0; i < 40; ++i) collectionAdd(collection.get(), kept.get(), k.get());
    ObjectHandle lone = newObject(builtinClass("Object"));
    collectionAdd(collection.get(), lone, nullptr);  // an empty key
    RuntimeUnlockObject(lone);                       // the collection holds the only reference
    collectionAdd(collection.get(), nullptr, k.get());  // a nil value
    EXPECT_EQ(collectionCount(collection.get()), 42);
    EXPECT_EQ(refs(kept), 41);
    EXPECT_EQ(refs(k), 42);
    EXPECT_EQ(taken(collectionItem(collection.get(), nullptr)).get(), lone);
    EXPECT_EQ(liveObjectCount(), 3);

    collection = ObjectRef();
    EXPECT_EQ(refs(kept), 1);
    EXPECT_EQ(refs(k), 1);
    EXPECT_EQ(liveObjectCount(), 1);
}

// A finaliser standing in for compiled code that reads the collection
// holding the object being released: it must find only live entries.
ObjectHandle gWatchedCollection = nullptr;
std::vector<int32_t> gCountsSeen;

void readWholeCollection(ObjectHandle, ClassRecord*) {
    const int32_t count = collectionCount(gWatchedCollection);
    gCountsSeen.push_back(count);
    for (int32_t i = 1; i <= count; ++i) RuntimeUnlockObject(collectionIdxItem(gWatchedCollection, i));
}

TEST_F(Collections, FinalisersRunByReleasesFindTheCollectionWhole) {
    static ClassRecord* watcher = [] {
        ClassRecord* c = createClass("CollectionWatcher", builtinClass("Object"));
        c->finaliser = readWholeCollection;
        return c;
    }();
    gWatchedCollection = collection.get();
    for (const char* k : {"a", "b", "c", "d"}) {
        ObjectHandle o = newObject(watcher);
        collectionAdd(collection.get(), o, key(k).get());
        RuntimeUnlockObject(o);
    }
    collectionIdxRemove(collection.get(), 2);
    collectionKeyRemove(collection.get(), key("A").get());
    EXPECT_EQ(gCountsSeen, (std::vector<int32_t>{3, 2}));
    collection = ObjectRef();  // the collection's own finaliser releases the rest
    EXPECT_EQ(gCountsSeen, (std::vector<int32_t>{3, 2, 1, 0}));
    EXPECT_EQ(liveObjectCount(), 0);
    gWatchedCollection = nullptr;
    gCountsSeen.clear();
}

bool gRaiseOnce = false;
int32_t gFinalised = 0;

void raiseOnceFinaliser(ObjectHandle, ClassRecord*) {
    ++gFinalised;
    if (!std::exchange(gRaiseOnce, false)) return;
    unwindException(newBuiltinException("RuntimeException"), RUNTIME_CURRENT_FRAME());
}

TEST_F(Collections, AValueFinaliserThatRaisesLeavesNothingBehind) {
    static ClassRecord* raising = [] {
        ClassRecord* c = createClass("RaisingCollectionValue", builtinClass("Object"));
        c->finaliser = raiseOnceFinaliser;
        return c;
    }();
    const StringValue k = key("k");
    for (int32_t i = 0; i < 3; ++i) {
        ObjectHandle o = newObject(raising);
        collectionAdd(collection.get(), o, k.get());
        RuntimeUnlockObject(o);
    }
    gFinalised = 0;
    gRaiseOnce = true;
    ObjectHandle last = collection.release();
    EXPECT_EQ(raisedBy(RuntimeUnlockObject, last), "RuntimeException");
    EXPECT_EQ(gFinalised, 3);
    EXPECT_EQ(refs(k), 1);
    EXPECT_EQ(liveObjectCount(), 0);
}

TEST_F(Collections, NilAndOtherObjectsAreRefused) {
    EXPECT_EQ(raisedBy(collectionCount, static_cast<ObjectHandle>(nullptr)), "NilObjectException");
    EXPECT_EQ(raisedBy(collectionAdd, static_cast<ObjectHandle>(nullptr), static_cast<ObjectHandle>(nullptr),
                       static_cast<StringHandle>(nullptr)),
              "NilObjectException");
    const ObjectRef other = newValue();
    EXPECT_EQ(raisedBy(collectionAdd, other.get(), other.get(), static_cast<StringHandle>(nullptr)),
              "IllegalCastException");
    EXPECT_EQ(raisedBy(collectionItem, other.get(), static_cast<StringHandle>(nullptr)), "IllegalCastException");
    EXPECT_EQ(refs(other), 1);
}

}  // namespace
