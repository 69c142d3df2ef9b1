// Arrays through their entry routines under Wine: shape and lazy storage,
// bounds errors raised to a compiled-code frame, growth, append, insert,
// remove, re-dimensioning, several dimensions, sorting of every element kind
// (strings by the user locale's collation, run in both code pages) and compact
// boolean arrays, with exact reference counts of string and object elements
// after every operation.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "objects/ObjectEntries.h"
#include "objects/ClassRegistry.h"
#include "objects/ExceptionUnwinding.h"
#include "objects/UnwindScope.h"
#include "objects/ObjectRef.h"
#include "text/CatchingCall.h"
#include "text/StringEntries.h"
#include "text/StringValue.h"
#include "text/arrays/ArrayEntries.h"

using namespace runtime;
using testing_support::raisedBy;

namespace {

constexpr const char* kOutOfBounds = "OutOfBoundsException";
constexpr const char* kNilObject = "NilObjectException";

class Arrays : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::installRuntimeExceptionClass(); }
    // Every test gives back everything it made: no object outlives it.
    void TearDown() override { EXPECT_EQ(liveObjectCount(), 0); }
};

// A one-dimensional array with bounds first..last.
ArrayHandle newArray(int32_t first, int32_t last) {
    ArrayHandle a = RuntimeCreateArray();
    EXPECT_EQ(RuntimeArrayCreateAddIndex(a, first, last), 0);
    return a;
}

ArrayHandle newArray2(int32_t upper1, int32_t upper2) {
    ArrayHandle a = RuntimeCreateArray();
    EXPECT_EQ(RuntimeArrayCreateAddIndex(a, 0, upper1), 0);
    EXPECT_EQ(RuntimeArrayCreateAddIndex(a, 0, upper2), 1);
    return a;
}

int32_t refs(const StringValue& s) { return s.empty() ? 0 : s.get()->refCount; }
int32_t refs(const ObjectRef& o) { return o->refCount; }

ObjectRef newObject() { return ObjectRef::adopt(runtime::newObject(builtinClass("Object"))); }

std::string textOf(StringHandle owned) {
    const StringValue s = StringValue::adopt(owned);
    return std::string(s.view());
}

std::vector<int32_t> intsOf(ArrayHandle a) {
    std::vector<int32_t> values;
    for (int32_t i = 0; i <= RuntimeUBound(a); ++i) values.push_back(RuntimeDirectReadIntArray(a, i));
    return values;
}

TEST_F(Arrays, CreationKeepsStorageLazy) {
    ArrayHandle a = newArray(0, 10);
    EXPECT_EQ(RuntimeUBound(a), 10);
    EXPECT_EQ(a->dimensions, 1);
    EXPECT_EQ(a->first.count, 0);
    EXPECT_EQ(a->first.elementSize, 4);
    EXPECT_EQ(RuntimeDirectReadIntArray(a, 7), 0);
    EXPECT_EQ(a->first.count, 0);  // reading allocates nothing
    EXPECT_EQ(a->first.buffer, nullptr);
    RuntimeDisposeIntArray(a);

    ArrayHandle bounded = newArray(3, 8);  // upper bound last - first
    EXPECT_EQ(RuntimeUBound(bounded), 5);
    RuntimeDisposeIntArray(bounded);
}

TEST_F(Arrays, DirectWritePastTheEndGrowsByUpToSixteenCappedAtTheBound) {
    struct Case {
        int32_t upper, index, count;
    };
    for (const Case c : {Case{10, 3, 11}, Case{100, 3, 19}, Case{100, 0, 16}, Case{100, 95, 101}, Case{0, 0, 1}}) {
        ArrayHandle a = newArray(0, c.upper);
        RuntimeDirectWriteIntArray(a, c.index, 77);
        EXPECT_EQ(a->first.count, c.count) << c.upper << " " << c.index;
        EXPECT_EQ(a->first.capacity, c.count);
        EXPECT_EQ(RuntimeDirectReadIntArray(a, c.index), 77);
        RuntimeDisposeIntArray(a);
    }
    // A second write inside the count does not grow again.
    ArrayHandle a = newArray(0, 100);
    RuntimeDirectWriteIntArray(a, 3, 1);
    RuntimeDirectWriteIntArray(a, 18, 2);
    EXPECT_EQ(a->first.count, 19);
    RuntimeDirectWriteIntArray(a, 19, 3);
    EXPECT_EQ(a->first.count, 35);
    EXPECT_EQ(intsOf(a)[3] + intsOf(a)[18] + intsOf(a)[19], 6);
    RuntimeDisposeIntArray(a);
}

TEST_F(Arrays, EveryElementKindKeepsItsValues) {
    ArrayHandle ints = newArray(0, 4);
    ArrayHandle singles = newArray(0, 4);
    ArrayHandle doubles = newArray(0, 4);
    RuntimeDirectWriteIntArray(ints, 4, -5);
    RuntimeDirectWriteSingleArray(singles, 2, 1.5f);
    RuntimeDirectWriteDoubleArray(doubles, 3, 1e300);
    RuntimeDoubleArrayAppend(doubles, -2.25);
    RuntimeSingleArrayInsert(singles, 0, 0.25f);
    EXPECT_EQ(RuntimeDirectReadIntArray(ints, 4), -5);
    EXPECT_EQ(RuntimeDirectReadSingleArray(singles, 3), 1.5f);
    EXPECT_EQ(RuntimeDirectReadSingleArray(singles, 0), 0.25f);
    EXPECT_EQ(RuntimeDirectReadSingleArray(singles, 5), 0.0f);
    EXPECT_EQ(doubles->first.elementSize, 8);
    EXPECT_EQ(RuntimeDirectReadDoubleArray(doubles, 3), 1e300);
    EXPECT_EQ(RuntimeDirectReadDoubleArray(doubles, 5), -2.25);
    EXPECT_EQ(RuntimeDirectReadDoubleArray(doubles, 0), 0.0);
    RuntimeDisposeIntArray(ints);
    RuntimeDisposeIntArray(singles);
    RuntimeDisposeIntArray(doubles);  // single and double arrays share the integer routines
}

TEST_F(Arrays, IndicesOutsideTheBoundRaiseAndChangeNothing) {
    ArrayHandle a = newArray(0, 10);
    RuntimeDirectWriteIntArray(a, 2, 9);
    const StringValue s = StringValue::fromCString("kept");
    const ObjectRef o = newObject();
    for (int32_t bad : {-1, 11, INT32_MIN, INT32_MAX}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(raisedBy(RuntimeDirectReadIntArray, a, bad), kOutOfBounds);
        EXPECT_EQ(raisedBy(RuntimeDirectReadSingleArray, a, bad), kOutOfBounds);
        EXPECT_EQ(raisedBy(RuntimeDirectReadDoubleArray, a, bad), kOutOfBounds);
        EXPECT_EQ(raisedBy(RuntimeDirectReadStringArray, a, bad), kOutOfBounds);
        EXPECT_EQ(raisedBy(RuntimeDirectReadObjectArray, a, bad), kOutOfBounds);
        EXPECT_EQ(raisedBy(RuntimeDirectWriteIntArray, a, bad, 1), kOutOfBounds);
        EXPECT_EQ(raisedBy(RuntimeDirectWriteSingleArray, a, bad, 1.0f), kOutOfBounds);
        EXPECT_EQ(raisedBy(RuntimeDirectWriteDoubleArray, a, bad, 1.0), kOutOfBounds);
        EXPECT_EQ(raisedBy(RuntimeDirectWriteStringArray, a, bad, s.get()), kOutOfBounds);
        EXPECT_EQ(raisedBy(RuntimeDirectWriteObjectArray, a, bad, o.get()), kOutOfBounds);
        EXPECT_EQ(raisedBy(RuntimeIntArrayInsert, a, bad, 1), kOutOfBounds);
        EXPECT_EQ(raisedBy(RuntimeStringArrayInsert, a, bad, s.get()), kOutOfBounds);
        EXPECT_EQ(raisedBy(RuntimeObjectArrayInsert, a, bad, o.get()), kOutOfBounds);
        EXPECT_EQ(raisedBy(RuntimeIntArrayRemove, a, bad), kOutOfBounds);
        EXPECT_EQ(raisedBy(RuntimeStringArrayRemove, a, bad), kOutOfBounds);
        EXPECT_EQ(raisedBy(RuntimeObjectArrayRemove, a, bad), kOutOfBounds);
    }
    EXPECT_EQ(RuntimeUBound(a), 10);
    EXPECT_EQ(a->first.count, 11);
    EXPECT_EQ(RuntimeDirectReadIntArray(a, 2), 9);
    EXPECT_EQ(refs(s), 1);
    EXPECT_EQ(refs(o), 1);
    // The last valid place is fine.
    EXPECT_EQ(raisedBy(RuntimeDirectReadIntArray, a, 10), "");
    RuntimeDisposeIntArray(a);
}

TEST_F(Arrays, NilArraysRaiseNilObjectAndDisposeQuietly) {
    ArrayHandle nil = nullptr;
    EXPECT_EQ(raisedBy(RuntimeUBound, nil), kNilObject);
    EXPECT_EQ(raisedBy(RuntimeDirectReadIntArray, nil, 0), kNilObject);
    EXPECT_EQ(raisedBy(RuntimeDirectWriteStringArray, nil, 0, static_cast<StringHandle>(nullptr)), kNilObject);
    EXPECT_EQ(raisedBy(RuntimeIntArrayAppend, nil, 1), kNilObject);
    EXPECT_EQ(raisedBy(RuntimeStringArraySort, nil), kNilObject);
    EXPECT_EQ(raisedBy(RuntimeArrayCreateAddIndex, nil, 0, 3), kNilObject);
    EXPECT_EQ(raisedBy(RuntimeRedimStringArrayLevel, nil, 0, 3), kNilObject);
    EXPECT_EQ(raisedBy(RuntimeArrayStartReadAccess, nil, 0), kNilObject);
    EXPECT_EQ(raisedBy(RuntimeDisposeObjectArray, nil), "");
    EXPECT_EQ(raisedBy(RuntimeDisposeFastBooleanArray, static_cast<FastBooleanHandle>(nullptr)), "");
    EXPECT_EQ(raisedBy(RuntimeFastReadBoolArray, static_cast<FastBooleanHandle>(nullptr), 0), kNilObject);
}

TEST_F(Arrays, DimensionsUpToTwentyAndBadSizesRaise) {
    ArrayHandle a = RuntimeCreateArray();
    for (int32_t d = 0; d < 20; ++d) EXPECT_EQ(RuntimeArrayCreateAddIndex(a, 1, 3 + d), d);
    EXPECT_EQ(raisedBy(RuntimeArrayCreateAddIndex, a, 0, 5), kOutOfBounds);  // a 21st dimension
    EXPECT_EQ(a->dimensions, 20);
    EXPECT_EQ(a->upperBounds[19], 21);
    EXPECT_EQ(a->accessLevel, 0);  // the word after the bounds table is untouched
    RuntimeDisposeIntArray(a);

    ArrayHandle b = RuntimeCreateArray();
    EXPECT_EQ(raisedBy(RuntimeArrayCreateAddIndex, b, 5, 3), kOutOfBounds);  // upper bound -2
    EXPECT_EQ(raisedBy(RuntimeArrayCreateAddIndex, b, INT32_MIN, INT32_MAX), kOutOfBounds);
    EXPECT_EQ(b->dimensions, 0);
    EXPECT_EQ(RuntimeArrayCreateAddIndex(b, 0, -1), 0);  // empty is fine
    EXPECT_EQ(RuntimeUBound(b), -1);
    EXPECT_EQ(raisedBy(RuntimeRedimIntArrayLevel, b, 0, -2), kOutOfBounds);
    EXPECT_EQ(raisedBy(RuntimeRedimIntArrayLevel, b, 1, 3), kOutOfBounds);  // no second dimension
    EXPECT_EQ(raisedBy(RuntimeRedimIntArrayLevel, b, 20, 3), kOutOfBounds);
    EXPECT_EQ(RuntimeUBound(b), -1);
    RuntimeDisposeIntArray(b);
}

TEST_F(Arrays, AFurtherDimensionNeedsAnEmptyFirstLevel) {
    // Elements of the first level would be taken for row vectors.
    const StringValue s = StringValue::fromCString("kept");
    ArrayHandle strings = newArray(0, 3);
    RuntimeDirectWriteStringArray(strings, 0, s.get());
    EXPECT_EQ(raisedBy(RuntimeArrayCreateAddIndex, strings, 0, 3), kOutOfBounds);
    EXPECT_EQ(strings->dimensions, 1);
    EXPECT_EQ(textOf(RuntimeDirectReadStringArray(strings, 0)), "kept");
    EXPECT_EQ(refs(s), 2);
    RuntimeDisposeStringArray(strings);
    EXPECT_EQ(refs(s), 1);

    ArrayHandle grid = newArray2(2, 2);
    RuntimeArrayStartWriteAccess(grid, 1);
    RuntimeWriteIntArray(grid, 1, 5);
    EXPECT_EQ(raisedBy(RuntimeArrayCreateAddIndex, grid, 0, 2), kOutOfBounds);  // rows exist
    EXPECT_EQ(grid->dimensions, 2);
    RuntimeDisposeIntArray(grid);

    // A level emptied of its doubles holds rows of the usual size afterwards.
    ArrayHandle doubles = newArray(0, -1);
    RuntimeDoubleArrayAppend(doubles, 2.5);
    RuntimeIntArrayRemove(doubles, 0);
    EXPECT_EQ(RuntimeArrayCreateAddIndex(doubles, 0, 4), 1);
    EXPECT_EQ(doubles->first.elementSize, 4);
    RuntimeRedimIntArrayLevel(doubles, 0, 4);
    RuntimeArrayStartWriteAccess(doubles, 3);
    RuntimeWriteDoubleArray(doubles, 4, 1.5);
    RuntimeArrayStartReadAccess(doubles, 3);
    EXPECT_EQ(RuntimeReadDoubleArray(doubles, 4), 1.5);
    RuntimeDisposeIntArray(doubles);
}

TEST_F(Arrays, AppendGoesAfterTheUpperBound) {
    ArrayHandle empty = newArray(0, -1);
    RuntimeIntArrayAppend(empty, 42);
    EXPECT_EQ(RuntimeUBound(empty), 0);
    EXPECT_EQ(intsOf(empty), std::vector<int32_t>{42});
    RuntimeDisposeIntArray(empty);

    ArrayHandle a = newArray(0, 3);
    RuntimeDirectWriteIntArray(a, 0, 1);
    RuntimeIntArrayAppend(a, 5);  // after the never-written places 1 to 3
    EXPECT_EQ(RuntimeUBound(a), 4);
    EXPECT_EQ(a->first.count, 5);
    EXPECT_EQ(intsOf(a), (std::vector<int32_t>{1, 0, 0, 0, 5}));
    RuntimeDisposeIntArray(a);
}

TEST_F(Arrays, InsertGrowsToTheIndexAndItsCapacityBySixteen) {
    ArrayHandle a = newArray(0, 10);
    EXPECT_EQ(raisedBy(RuntimeIntArrayInsert, a, 11, 1), kOutOfBounds);  // UBound + 1: append instead
    RuntimeIntArrayInsert(a, 5, 7);  // past the count: grown to 6, then inserted
    EXPECT_EQ(RuntimeUBound(a), 11);
    EXPECT_EQ(a->first.count, 7);
    EXPECT_EQ(a->first.capacity, 22);
    RuntimeIntArrayInsert(a, 0, 9);
    EXPECT_EQ(intsOf(a), (std::vector<int32_t>{9, 0, 0, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(a->first.count, 8);
    EXPECT_EQ(a->first.capacity, 22);  // room was left: no growth
    RuntimeDisposeIntArray(a);
}

TEST_F(Arrays, RemoveShiftsDownOrOnlyLowersTheBound) {
    ArrayHandle a = newArray(0, 9);
    for (int32_t i = 0; i < 4; ++i) RuntimeDirectWriteIntArray(a, i, i + 1);
    RuntimeDirectWriteIntArray(a, 3, 4);
    EXPECT_EQ(a->first.count, 10);
    RuntimeIntArrayRemove(a, 1);
    EXPECT_EQ(RuntimeUBound(a), 8);
    EXPECT_EQ(a->first.count, 9);
    EXPECT_EQ(intsOf(a), (std::vector<int32_t>{1, 3, 4, 0, 0, 0, 0, 0, 0}));

    ArrayHandle lazy = newArray(0, 20);
    RuntimeDirectWriteIntArray(lazy, 0, 1);  // count 16
    RuntimeIntArrayRemove(lazy, 18);         // never written: only the bound moves
    EXPECT_EQ(RuntimeUBound(lazy), 19);
    EXPECT_EQ(lazy->first.count, 16);
    RuntimeDisposeIntArray(lazy);
    RuntimeDisposeIntArray(a);
}

TEST_F(Arrays, StringElementsOwnExactlyOneReference) {
    const StringValue s = StringValue::fromCString("one");
    const StringValue t = StringValue::fromCString("two");
    ArrayHandle a = newArray(0, 10);

    RuntimeDirectWriteStringArray(a, 3, s.get());
    EXPECT_EQ(refs(s), 2);
    RuntimeDirectWriteStringArray(a, 3, s.get());  // the value the place holds
    EXPECT_EQ(refs(s), 2);
    RuntimeDirectWriteStringArray(a, 3, t.get());
    EXPECT_EQ(refs(s), 1);
    EXPECT_EQ(refs(t), 2);

    StringHandle read = RuntimeDirectReadStringArray(a, 3);  // locked for the caller
    EXPECT_EQ(read, t.get());
    EXPECT_EQ(refs(t), 3);
    RuntimeUnlockString(read);
    EXPECT_EQ(RuntimeDirectReadStringArray(a, 9), nullptr);  // never written: empty

    RuntimeStringArrayAppend(a, s.get());  // place 11
    RuntimeStringArrayInsert(a, 0, s.get());
    EXPECT_EQ(refs(s), 3);
    EXPECT_EQ(textOf(RuntimeDirectReadStringArray(a, 4)), "two");
    EXPECT_EQ(textOf(RuntimeDirectReadStringArray(a, 12)), "one");

    RuntimeStringArrayRemove(a, 0);
    EXPECT_EQ(refs(s), 2);
    RuntimeStringArrayRemove(a, 7);  // an empty place
    EXPECT_EQ(refs(s), 2);
    EXPECT_EQ(refs(t), 2);
    EXPECT_EQ(textOf(RuntimeDirectReadStringArray(a, 10)), "one");

    RuntimeDisposeStringArray(a);
    EXPECT_EQ(refs(s), 1);
    EXPECT_EQ(refs(t), 1);
}

TEST_F(Arrays, RedimReleasesTheDroppedStringsAndGrowingMakesNothing) {
    std::vector<StringValue> values;
    ArrayHandle a = newArray(0, 10);
    for (int32_t i = 0; i <= 10; ++i) {
        values.push_back(StringValue::fromInt(i));
        RuntimeDirectWriteStringArray(a, i, values.back().get());
    }
    RuntimeRedimStringArrayLevel(a, 0, 2);
    EXPECT_EQ(RuntimeUBound(a), 2);
    EXPECT_EQ(a->first.count, 3);
    for (int32_t i = 0; i <= 10; ++i) EXPECT_EQ(refs(values[i]), i <= 2 ? 2 : 1) << i;

    RuntimeRedimStringArrayLevel(a, 0, 20);
    EXPECT_EQ(RuntimeUBound(a), 20);
    EXPECT_EQ(a->first.count, 3);  // only the bound changed
    EXPECT_EQ(RuntimeDirectReadStringArray(a, 15), nullptr);

    RuntimeRedimStringArrayLevel(a, 0, -1);
    for (const StringValue& v : values) EXPECT_EQ(refs(v), 1);
    RuntimeDisposeStringArray(a);
}

TEST_F(Arrays, ObjectElementsOwnExactlyOneReference) {
    const ObjectRef x = newObject();
    const ObjectRef y = newObject();
    ArrayHandle a = newArray(0, 5);
    RuntimeDirectWriteObjectArray(a, 0, x.get());
    RuntimeDirectWriteObjectArray(a, 0, x.get());
    EXPECT_EQ(refs(x), 2);
    RuntimeObjectArrayAppend(a, y.get());
    RuntimeObjectArrayInsert(a, 1, y.get());
    EXPECT_EQ(refs(y), 3);
    ObjectHandle read = RuntimeDirectReadObjectArray(a, 1);
    EXPECT_EQ(read, y.get());
    EXPECT_EQ(refs(y), 4);
    RuntimeUnlockObject(read);
    EXPECT_EQ(RuntimeDirectReadObjectArray(a, 3), nullptr);

    RuntimeObjectArrayRemove(a, 1);
    EXPECT_EQ(refs(y), 2);
    RuntimeRedimObjectArrayLevel(a, 0, 0);  // drops the appended y
    EXPECT_EQ(refs(y), 1);
    EXPECT_EQ(refs(x), 2);

    // The only reference left with the array: disposing destroys the object.
    ObjectHandle lone = runtime::newObject(builtinClass("Object"));
    RuntimeObjectArrayAppend(a, lone);
    RuntimeUnlockObject(lone);
    EXPECT_EQ(liveObjectCount(), 3);
    RuntimeDisposeObjectArray(a);
    EXPECT_EQ(liveObjectCount(), 2);
    EXPECT_EQ(refs(x), 1);
}

// A class whose finaliser stands in for compiled code that reads the array
// holding it: every element it can still reach must be alive.
ArrayHandle gWatchedArray = nullptr;
std::vector<int32_t> gBoundsSeen;

void readWholeArray(ObjectHandle, ClassRecord*) {
    const int32_t bound = RuntimeUBound(gWatchedArray);
    gBoundsSeen.push_back(bound);
    for (int32_t i = 0; i <= bound; ++i) RuntimeUnlockObject(RuntimeDirectReadObjectArray(gWatchedArray, i));
}

ClassRecord* watchingClass() {
    static ClassRecord* cls = [] {
        ClassRecord* c = createClass("ArrayWatcher", builtinClass("Object"));
        c->finaliser = readWholeArray;
        return c;
    }();
    return cls;
}

TEST_F(Arrays, FinalisersRunByReleasesFindTheArrayWhole) {
    gWatchedArray = newArray(0, -1);
    for (int32_t i = 0; i < 5; ++i) {
        ObjectHandle o = runtime::newObject(watchingClass());
        RuntimeObjectArrayAppend(gWatchedArray, o);
        RuntimeUnlockObject(o);  // the array holds the only reference
    }
    RuntimeObjectArrayRemove(gWatchedArray, 0);
    EXPECT_EQ(gBoundsSeen, std::vector<int32_t>{3});
    RuntimeDirectWriteObjectArray(gWatchedArray, 0, nullptr);  // overwriting releases too
    EXPECT_EQ(gBoundsSeen, (std::vector<int32_t>{3, 3}));
    RuntimeRedimObjectArrayLevel(gWatchedArray, 0, 1);
    EXPECT_EQ(gBoundsSeen, (std::vector<int32_t>{3, 3, 1, 1}));
    EXPECT_EQ(liveObjectCount(), 1);
    RuntimeObjectArrayAppend(gWatchedArray, nullptr);
    RuntimeDisposeObjectArray(gWatchedArray);  // its last element goes while the array is torn down
    EXPECT_EQ(gBoundsSeen, (std::vector<int32_t>{3, 3, 1, 1, 2}));
    EXPECT_EQ(liveObjectCount(), 0);
    gWatchedArray = nullptr;
    gBoundsSeen.clear();
}

// A finaliser that raises once, as compiled code may.
bool gRaiseOnce = false;
int32_t gFinalised = 0;

void raiseOnceFinaliser(ObjectHandle, ClassRecord*) {
    ++gFinalised;
    if (!std::exchange(gRaiseOnce, false)) return;
    unwindException(newBuiltinException("RuntimeException"), RUNTIME_CURRENT_FRAME());
}

ClassRecord* raisingClass() {
    static ClassRecord* cls = [] {
        ClassRecord* c = createClass("RaisingFinaliser", builtinClass("Object"));
        c->finaliser = raiseOnceFinaliser;
        return c;
    }();
    return cls;
}

void storeNewRaising(ArrayHandle a, int32_t row, int32_t column) {
    ObjectHandle o = runtime::newObject(raisingClass());
    RuntimeArrayStartWriteAccess(a, row);
    RuntimeWriteObjectArray(a, column, o);
    RuntimeUnlockObject(o);
}

TEST_F(Arrays, AFinaliserThatRaisesLeavesNothingBehind) {
    ArrayHandle a = newArray(0, -1);
    for (int32_t i = 0; i < 4; ++i) {
        ObjectHandle o = runtime::newObject(raisingClass());
        RuntimeObjectArrayAppend(a, o);
        RuntimeUnlockObject(o);
    }
    gFinalised = 0;
    gRaiseOnce = true;
    // The first finaliser raises to the caller; the rest of the array is
    // still disposed on the way.
    EXPECT_EQ(raisedBy(RuntimeDisposeObjectArray, a), "RuntimeException");
    EXPECT_EQ(gFinalised, 4);
    EXPECT_EQ(liveObjectCount(), 0);

    // A re-dimensioning stopped by the raise leaves the array whole: what it
    // did not reach goes with the array.
    ArrayHandle grid = newArray2(3, 3);
    for (int32_t row = 0; row <= 3; ++row) {
        storeNewRaising(grid, row, 0);
        storeNewRaising(grid, row, 1);
    }
    gFinalised = 0;
    gRaiseOnce = true;
    EXPECT_EQ(raisedBy(RuntimeRedimObjectArrayLevel, grid, 0, 1), "RuntimeException");
    EXPECT_EQ(gFinalised, 1);
    EXPECT_EQ(liveObjectCount(), 7);
    RuntimeArrayStartReadAccess(grid, 1);
    RuntimeUnlockObject(RuntimeReadObjectArray(grid, 1));
    RuntimeDisposeObjectArray(grid);
    EXPECT_EQ(gFinalised, 8);
}

TEST_F(Arrays, TwoDimensionsAllocateOnlyWrittenRows) {
    ArrayHandle a = newArray2(9, 9);
    EXPECT_EQ(RuntimeUBound(a), 9);
    RuntimeArrayStartReadAccess(a, 5);
    EXPECT_EQ(RuntimeReadIntArray(a, 7), 0);
    EXPECT_EQ(a->first.count, 0);  // reading allocated nothing

    RuntimeArrayStartWriteAccess(a, 5);
    RuntimeWriteIntArray(a, 7, 42);
    ASSERT_EQ(a->first.count, 6);
    const auto* row = reinterpret_cast<ElementVector* const*>(a->first.buffer);
    for (int32_t r = 0; r < 5; ++r) EXPECT_EQ(row[r], nullptr) << r;
    ASSERT_NE(row[5], nullptr);
    EXPECT_EQ(row[5]->count, 8);

    RuntimeArrayStartReadAccess(a, 5);
    EXPECT_EQ(RuntimeReadIntArray(a, 7), 42);
    RuntimeArrayStartReadAccess(a, 5);
    EXPECT_EQ(RuntimeReadIntArray(a, 8), 0);
    RuntimeArrayStartReadAccess(a, 4);
    EXPECT_EQ(RuntimeReadIntArray(a, 7), 0);

    // Every index is checked against its own dimension, written or not.
    EXPECT_EQ(raisedBy(RuntimeArrayStartReadAccess, a, 10), kOutOfBounds);
    EXPECT_EQ(raisedBy(RuntimeArrayStartWriteAccess, a, -1), kOutOfBounds);
    RuntimeArrayStartReadAccess(a, 2);
    EXPECT_EQ(raisedBy(RuntimeReadIntArray, a, 10), kOutOfBounds);
    RuntimeArrayStartWriteAccess(a, 5);
    EXPECT_EQ(raisedBy(RuntimeWriteIntArray, a, 10, 1), kOutOfBounds);
    EXPECT_EQ(row[5]->count, 8);
    // The one-dimensional routines refuse it, and so does a last index
    // without its start call.
    EXPECT_EQ(raisedBy(RuntimeDirectReadIntArray, a, 0), kOutOfBounds);
    EXPECT_EQ(raisedBy(RuntimeDirectWriteIntArray, a, 0, 1), kOutOfBounds);
    EXPECT_EQ(raisedBy(RuntimeIntArrayAppend, a, 1), kOutOfBounds);
    EXPECT_EQ(raisedBy(RuntimeIntArraySort, a), kOutOfBounds);
    RuntimeArrayStartReadAccess(a, 5);
    EXPECT_EQ(RuntimeReadIntArray(a, 7), 42);  // ends the access
    EXPECT_EQ(raisedBy(RuntimeReadIntArray, a, 0), kOutOfBounds);
    EXPECT_EQ(raisedBy(RuntimeArrayAddReadIndex, a, 0), kOutOfBounds);  // only two dimensions
    RuntimeDisposeIntArray(a);

    ArrayHandle one = newArray(0, 3);
    EXPECT_EQ(raisedBy(RuntimeArrayStartWriteAccess, one, 0), kOutOfBounds);
    RuntimeDisposeIntArray(one);
}

TEST_F(Arrays, ThreeDimensionsOfDoublesAndStrings) {
    ArrayHandle d = RuntimeCreateArray();
    RuntimeArrayCreateAddIndex(d, 0, 2);
    RuntimeArrayCreateAddIndex(d, 0, 3);
    RuntimeArrayCreateAddIndex(d, 0, 4);
    RuntimeArrayStartWriteAccess(d, 2);
    RuntimeArrayAddWriteIndex(d, 3);
    RuntimeWriteDoubleArray(d, 4, 6.5);
    RuntimeArrayStartReadAccess(d, 2);
    RuntimeArrayAddReadIndex(d, 3);
    EXPECT_EQ(RuntimeReadDoubleArray(d, 4), 6.5);
    RuntimeArrayStartReadAccess(d, 2);
    RuntimeArrayAddReadIndex(d, 1);
    EXPECT_EQ(RuntimeReadDoubleArray(d, 4), 0.0);
    RuntimeArrayStartReadAccess(d, 0);
    EXPECT_EQ(raisedBy(RuntimeArrayAddReadIndex, d, 4), kOutOfBounds);  // row 0 was never written
    RuntimeDisposeIntArray(d);

    const StringValue s = StringValue::fromCString("cell");
    ArrayHandle a = RuntimeCreateArray();
    RuntimeArrayCreateAddIndex(a, 0, 3);
    RuntimeArrayCreateAddIndex(a, 0, 3);
    RuntimeArrayCreateAddIndex(a, 0, 3);
    for (int32_t i : {0, 1, 3}) {
        RuntimeArrayStartWriteAccess(a, i);
        RuntimeArrayAddWriteIndex(a, i);
        RuntimeWriteStringArray(a, 3, s.get());
        RuntimeArrayStartWriteAccess(a, i);
        RuntimeArrayAddWriteIndex(a, i);
        RuntimeWriteStringArray(a, 1, s.get());
    }
    EXPECT_EQ(refs(s), 7);
    RuntimeArrayStartReadAccess(a, 3);
    RuntimeArrayAddReadIndex(a, 3);
    EXPECT_EQ(textOf(RuntimeReadStringArray(a, 3)), "cell");
    EXPECT_EQ(refs(s), 7);

    RuntimeRedimStringArrayLevel(a, 2, 2);  // the last level of every branch: drops index 3
    EXPECT_EQ(refs(s), 4);
    RuntimeArrayStartReadAccess(a, 0);
    RuntimeArrayAddReadIndex(a, 0);
    EXPECT_EQ(raisedBy(RuntimeReadStringArray, a, 3), kOutOfBounds);
    RuntimeRedimStringArrayLevel(a, 0, 0);  // drops the rows 1 and 3 with what they hold
    EXPECT_EQ(refs(s), 2);
    EXPECT_EQ(a->first.count, 1);
    RuntimeDisposeStringArray(a);
    EXPECT_EQ(refs(s), 1);
}

TEST_F(Arrays, ObjectsInTwoDimensions) {
    const ObjectRef o = newObject();
    ArrayHandle a = newArray2(3, 3);
    RuntimeArrayStartWriteAccess(a, 1);
    RuntimeWriteObjectArray(a, 2, o.get());
    RuntimeArrayStartWriteAccess(a, 1);
    RuntimeWriteObjectArray(a, 2, o.get());
    EXPECT_EQ(refs(o), 2);
    RuntimeArrayStartReadAccess(a, 1);
    ObjectHandle read = RuntimeReadObjectArray(a, 2);
    EXPECT_EQ(read, o.get());
    EXPECT_EQ(refs(o), 3);
    RuntimeUnlockObject(read);
    RuntimeRedimObjectArrayLevel(a, 1, 1);
    EXPECT_EQ(refs(o), 1);
    RuntimeArrayStartWriteAccess(a, 3);
    RuntimeWriteObjectArray(a, 0, o.get());
    RuntimeDisposeObjectArray(a);
    EXPECT_EQ(refs(o), 1);
}

TEST_F(Arrays, SortingNumbers) {
    ArrayHandle a = newArray(0, -1);
    for (int32_t v : {3, 1, 2, 1}) RuntimeIntArrayAppend(a, v);
    RuntimeIntArraySort(a);
    EXPECT_EQ(intsOf(a), (std::vector<int32_t>{1, 1, 2, 3}));
    RuntimeDisposeIntArray(a);

    // The vector is set to UBound + 1 elements first: unwritten places sort as 0.
    ArrayHandle lazy = newArray(0, 20);
    RuntimeDirectWriteIntArray(lazy, 0, 5);
    RuntimeDirectWriteIntArray(lazy, 1, -5);
    RuntimeIntArraySort(lazy);
    EXPECT_EQ(lazy->first.count, 21);
    std::vector<int32_t> expected(21, 0);
    expected.front() = -5;
    expected.back() = 5;
    EXPECT_EQ(intsOf(lazy), expected);
    RuntimeDisposeIntArray(lazy);

    // Many values, with repeats, through both the partition and the selection.
    std::mt19937 random(7);
    std::vector<int32_t> values(5000);
    for (int32_t& v : values) v = static_cast<int32_t>(random() % 1000) - 500;
    ArrayHandle many = newArray(0, -1);
    ArrayHandle singles = newArray(0, -1);
    ArrayHandle doubles = newArray(0, -1);
    for (int32_t v : values) {
        RuntimeIntArrayAppend(many, v);
        RuntimeSingleArrayAppend(singles, static_cast<float>(v) / 4);
        RuntimeDoubleArrayAppend(doubles, static_cast<double>(v) / 8);
    }
    RuntimeIntArraySort(many);
    RuntimeSingleArraySort(singles);
    RuntimeDoubleArraySort(doubles);
    std::sort(values.begin(), values.end());
    for (int32_t i = 0; i < static_cast<int32_t>(values.size()); ++i) {
        ASSERT_EQ(RuntimeDirectReadIntArray(many, i), values[i]) << i;
        ASSERT_EQ(RuntimeDirectReadSingleArray(singles, i), static_cast<float>(values[i]) / 4) << i;
        ASSERT_EQ(RuntimeDirectReadDoubleArray(doubles, i), static_cast<double>(values[i]) / 8) << i;
    }
    RuntimeDisposeIntArray(many);
    RuntimeDisposeIntArray(singles);
    RuntimeDisposeIntArray(doubles);
}

TEST_F(Arrays, EqualDoublesEndWhereTheAlgorithmPutsThem) {
    // 0.0 and -0.0 compare equal; their signs show where each one went.
    ArrayHandle small = newArray(0, -1);
    for (double v : {0.0, -0.0, 1.0, -0.0}) RuntimeDoubleArrayAppend(small, v);
    RuntimeDoubleArraySort(small);
    // Selection: among equals the last one found sorts last.
    const std::vector<bool> smallSigns = {false, true, true};
    for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(std::signbit(RuntimeDirectReadDoubleArray(small, i)), smallSigns[i]) << i;
    EXPECT_EQ(RuntimeDirectReadDoubleArray(small, 3), 1.0);
    RuntimeDisposeIntArray(small);

    // Six elements: one partition around the middle element, then selection
    // of each side. Worked by hand: [-0, 1, +0, 2, -0, +0]; the pivot +0 goes
    // to the front: [+0, 1, -0, 2, -0, +0]; the elements that go before it are
    // swapped down: [+0, -0, -0, +0, 1, 2]; the pivot swaps with the last of
    // them (both +0); the selections of 0..2 and 4..5 move nothing.
    ArrayHandle six = newArray(0, -1);
    for (double v : {-0.0, 1.0, 0.0, 2.0, -0.0, 0.0}) RuntimeDoubleArrayAppend(six, v);
    RuntimeDoubleArraySort(six);
    const std::vector<double> expected = {0.0, -0.0, -0.0, 0.0, 1.0, 2.0};
    for (int32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(RuntimeDirectReadDoubleArray(six, i), expected[i]) << i;
        EXPECT_EQ(std::signbit(RuntimeDirectReadDoubleArray(six, i)), std::signbit(expected[i])) << i;
    }
    RuntimeDisposeIntArray(six);
}

TEST_F(Arrays, SortingStringsFollowsTheUserLocaleCollation) {
    // Shift-JIS kana in code page 932, accented letters in 1252: either way
    // the user locale's case-sensitive collation decides.
    const std::vector<std::string> texts = {"b", "B", "a", "A", "\x82\xa2", "\x82\xa0", "ab", "", "Ab", "c", "\xe9", "e",
                                            "f", "a"};
    std::vector<StringValue> values;
    ArrayHandle a = newArray(0, -1);
    for (const std::string& t : texts) {
        values.push_back(StringValue::fromBytes(t));
        RuntimeStringArrayAppend(a, values.back().get());
    }
    RuntimeStringArraySort(a);
    std::vector<std::string> sorted;
    for (int32_t i = 0; i <= RuntimeUBound(a); ++i) sorted.push_back(textOf(RuntimeDirectReadStringArray(a, i)));
    // In collation order, every element once.
    const auto collatesBefore = [](const std::string& x, const std::string& y) {
        const StringValue sx = StringValue::fromBytes(x);
        const StringValue sy = StringValue::fromBytes(y);
        return StringStrCompare(sx.get(), sy.get(), 1) < 0;
    };
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end(), collatesBefore));
    EXPECT_TRUE(std::is_permutation(sorted.begin(), sorted.end(), texts.begin(), texts.end()));
    EXPECT_LT(std::find(sorted.begin(), sorted.end(), "a"), std::find(sorted.begin(), sorted.end(), "b"));
    EXPECT_LT(std::find(sorted.begin(), sorted.end(), "A"), std::find(sorted.begin(), sorted.end(), "B"));
    EXPECT_LT(std::find(sorted.begin(), sorted.end(), "b"), std::find(sorted.begin(), sorted.end(), "c"));
    if (GetACP() == 932) {  // hiragana a before i
        EXPECT_LT(std::find(sorted.begin(), sorted.end(), "\x82\xa0"), std::find(sorted.begin(), sorted.end(), "\x82\xa2"));
    }
    for (size_t i = 0; i < values.size(); ++i) EXPECT_EQ(refs(values[i]), texts[i].empty() ? 0 : 2) << texts[i];
    RuntimeDisposeStringArray(a);
    for (size_t i = 0; i < values.size(); ++i) EXPECT_EQ(refs(values[i]), texts[i].empty() ? 0 : 1) << texts[i];
}

TEST_F(Arrays, EqualStringsEndWhereTheAlgorithmPutsThem) {
    // Equal texts in distinct records show where each one went. Goes-before
    // is "collates below", so among equals the first one found sorts last.
    struct Case {
        const char* texts;  // one letter per element; each letter its own record
        const char* order;  // positions (as digits) of the records after sorting
    };
    const Case cases[] = {
        {"kkk", "120"},        // selection only
        {"kmkpkk", "205413"},  // one partition around the middle element, then selection
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.texts);
        std::vector<StringValue> records;
        ArrayHandle a = newArray(0, -1);
        for (const char* t = c.texts; *t; ++t) {
            records.push_back(StringValue::fromBytes(std::string(1, *t)));
            RuntimeStringArrayAppend(a, records.back().get());
        }
        RuntimeStringArraySort(a);
        std::string order;
        for (int32_t i = 0; i <= RuntimeUBound(a); ++i) {
            const StringValue element = StringValue::adopt(RuntimeDirectReadStringArray(a, i));
            for (size_t r = 0; r < records.size(); ++r) {
                if (records[r].get() == element.get()) order += static_cast<char>('0' + r);
            }
        }
        EXPECT_EQ(order, c.order);
        RuntimeDisposeStringArray(a);
        for (const StringValue& r : records) EXPECT_EQ(refs(r), 1);
    }
}

std::vector<bool> boolsOf(FastBooleanHandle b) {
    std::vector<bool> values;
    for (int32_t i = 0; i <= RuntimeFastArrayUBound(b); ++i) values.push_back(RuntimeFastReadBoolArray(b, i));
    return values;
}

TEST_F(Arrays, CompactBooleansAcrossWordBoundaries) {
    FastBooleanHandle b = RuntimeCreateFastBooleanArray(4);
    EXPECT_EQ(RuntimeFastArrayUBound(b), 4);
    EXPECT_EQ(b->block->count, 5);
    EXPECT_EQ(boolsOf(b), std::vector<bool>(5, false));
    EXPECT_EQ(raisedBy(RuntimeFastReadBoolArray, b, 5), kOutOfBounds);
    EXPECT_EQ(raisedBy(RuntimeFastReadBoolArray, b, -1), kOutOfBounds);
    EXPECT_EQ(raisedBy(RuntimeFastWriteBoolArray, b, 5, true), kOutOfBounds);
    EXPECT_EQ(raisedBy(RuntimeFastBooleanArrayRemove, b, 5), kOutOfBounds);
    EXPECT_EQ(raisedBy(RuntimeFastBooleanArrayInsert, b, 6, true), kOutOfBounds);
    EXPECT_EQ(boolsOf(b), std::vector<bool>(5, false));

    EXPECT_TRUE(RuntimeFastWriteBoolArray(b, 3, true));  // the write returns its value
    EXPECT_FALSE(RuntimeFastWriteBoolArray(b, 1, false));
    RuntimeFastBooleanArrayInsert(b, 5, true);  // at the element count: the end
    RuntimeFastBooleanArrayAppend(b, true);
    RuntimeFastBooleanArrayAppend(b, false);
    RuntimeFastBooleanArrayAppend(b, true);
    // 0 1 2 3 | 4 5 6 7 | 8
    // F F F T | F T T F | T
    EXPECT_EQ(boolsOf(b), (std::vector<bool>{false, false, false, true, false, true, true, false, true}));
    RuntimeFastBooleanArrayInsert(b, 2, true);  // everything after moves across the word boundary
    EXPECT_EQ(boolsOf(b), (std::vector<bool>{false, false, true, false, true, false, true, true, false, true}));
    RuntimeFastBooleanArrayRemove(b, 0);
    RuntimeFastBooleanArrayRemove(b, 3);
    EXPECT_EQ(boolsOf(b), (std::vector<bool>{false, true, false, false, true, true, false, true}));
    EXPECT_EQ(RuntimeFastArrayUBound(b), 7);

    RuntimeRedimFastBoolArray(b, 2);
    EXPECT_EQ(boolsOf(b), (std::vector<bool>{false, true, false}));
    RuntimeRedimFastBoolArray(b, 6);  // new elements are false, even where true ones were
    EXPECT_EQ(boolsOf(b), (std::vector<bool>{false, true, false, false, false, false, false}));
    EXPECT_EQ(raisedBy(RuntimeRedimFastBoolArray, b, -2), kOutOfBounds);
    RuntimeRedimFastBoolArray(b, -1);
    EXPECT_EQ(RuntimeFastArrayUBound(b), -1);
    RuntimeFastBooleanArrayInsert(b, 0, true);
    EXPECT_EQ(boolsOf(b), std::vector<bool>{true});
    RuntimeDisposeFastBooleanArray(b);

    EXPECT_EQ(raisedBy(RuntimeCreateFastBooleanArray, -2), kOutOfBounds);
    FastBooleanHandle empty = RuntimeCreateFastBooleanArray(-1);
    EXPECT_EQ(RuntimeFastArrayUBound(empty), -1);
    RuntimeDisposeFastBooleanArray(empty);
}

TEST_F(Arrays, CompactBooleansGrowOneAtATime) {
    FastBooleanHandle b = RuntimeCreateFastBooleanArray(-1);
    for (int32_t i = 0; i < 1000; ++i) RuntimeFastBooleanArrayAppend(b, i % 3 == 0);
    EXPECT_EQ(RuntimeFastArrayUBound(b), 999);
    for (int32_t i = 0; i < 1000; ++i) ASSERT_EQ(RuntimeFastReadBoolArray(b, i), i % 3 == 0) << i;
    RuntimeDisposeFastBooleanArray(b);
}

}  // namespace
