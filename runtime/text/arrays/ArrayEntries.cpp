#include "text/arrays/ArrayEntries.h"

#include "objects/UnwindScope.h"
#include "text/StringEntries.h"
#include "text/arrays/ArrayAccess.h"
#include "text/arrays/ArrayRef.h"
#include "text/arrays/ObjectElement.h"
#include "text/arrays/RaiseErrors.h"

using namespace runtime::arrays;

namespace {

template <typename E>
typename E::Value readDirect(ArrayHandle a, int32_t i) {
    typename E::Value value{};
    requireAccepted(directRead<E>(nonNil(a), i, value));
    return value;
}

template <typename E>
typename E::Value readLast(ArrayHandle a, int32_t i) {
    typename E::Value value{};
    requireAccepted(readAt<E>(nonNil(a), i, value));
    return value;
}

void redim(ArrayHandle a, int32_t dimension, int32_t upperBound, ElementRelease release) {
    ArrayObject& array = nonNil(a);
    requireAccepted(dimension >= 0 && dimension < std::max(array.dimensions, 1) && isUpperBound(upperBound));
    redimension(array, dimension, upperBound, release);
}

// Strings sort by the user locale's case-sensitive collation.
bool stringGoesBefore(StringHandle x, StringHandle y) { return StringStrCompare(x, y, 1) < 0; }

}  // namespace

// Creation and shape

ArrayHandle RuntimeCreateArray() { return createArray(); }

int32_t RuntimeArrayCreateAddIndex(ArrayHandle a, int32_t first, int32_t last) {
    int32_t number = 0;
    requireAccepted(addDimension(nonNil(a), first, last, number));
    return number;
}

int32_t RuntimeUBound(ArrayHandle a) { return upperBound(nonNil(a)); }

void RuntimeRedimIntArrayLevel(ArrayHandle a, int32_t k, int32_t u) { redim(a, k, u, IntElement::kRelease); }
void RuntimeRedimStringArrayLevel(ArrayHandle a, int32_t k, int32_t u) { redim(a, k, u, StringElement::kRelease); }
void RuntimeRedimObjectArrayLevel(ArrayHandle a, int32_t k, int32_t u) { redim(a, k, u, ObjectElement::kRelease); }

// Each handle disposes the array it adopted when it goes.
void RuntimeDisposeIntArray(ArrayHandle a) { ArrayRef<IntElement>::adopt(a); }
void RuntimeDisposeStringArray(ArrayHandle a) { ArrayRef<StringElement>::adopt(a); }
void RuntimeDisposeObjectArray(ArrayHandle a) {
    // Finalisers may raise: whatever is left is then disposed as the
    // exception leaves this frame. The releases happen while the scope is
    // armed; on a normal return the handle frees an empty array.
    runtime::Unwindable<ArrayRef<ObjectElement>> array(ArrayRef<ObjectElement>::adopt(a));
    array->releaseElements();
}

// One-dimensional access

int32_t RuntimeDirectReadIntArray(ArrayHandle a, int32_t i) { return readDirect<IntElement>(a, i); }
float RuntimeDirectReadSingleArray(ArrayHandle a, int32_t i) { return readDirect<SingleElement>(a, i); }
double RuntimeDirectReadDoubleArray(ArrayHandle a, int32_t i) { return readDirect<DoubleElement>(a, i); }
StringHandle RuntimeDirectReadStringArray(ArrayHandle a, int32_t i) { return readDirect<StringElement>(a, i); }
ObjectHandle RuntimeDirectReadObjectArray(ArrayHandle a, int32_t i) { return readDirect<ObjectElement>(a, i); }

void RuntimeDirectWriteIntArray(ArrayHandle a, int32_t i, int32_t v) { requireAccepted(directWrite<IntElement>(nonNil(a), i, v)); }
void RuntimeDirectWriteSingleArray(ArrayHandle a, int32_t i, float v) { requireAccepted(directWrite<SingleElement>(nonNil(a), i, v)); }
void RuntimeDirectWriteDoubleArray(ArrayHandle a, int32_t i, double v) { requireAccepted(directWrite<DoubleElement>(nonNil(a), i, v)); }
void RuntimeDirectWriteStringArray(ArrayHandle a, int32_t i, StringHandle v) { requireAccepted(directWrite<StringElement>(nonNil(a), i, v)); }
void RuntimeDirectWriteObjectArray(ArrayHandle a, int32_t i, ObjectHandle v) { requireAccepted(directWrite<ObjectElement>(nonNil(a), i, v)); }

void RuntimeIntArrayAppend(ArrayHandle a, int32_t v) { requireAccepted(append<IntElement>(nonNil(a), v)); }
void RuntimeSingleArrayAppend(ArrayHandle a, float v) { requireAccepted(append<SingleElement>(nonNil(a), v)); }
void RuntimeDoubleArrayAppend(ArrayHandle a, double v) { requireAccepted(append<DoubleElement>(nonNil(a), v)); }
void RuntimeStringArrayAppend(ArrayHandle a, StringHandle v) { requireAccepted(append<StringElement>(nonNil(a), v)); }
void RuntimeObjectArrayAppend(ArrayHandle a, ObjectHandle v) { requireAccepted(append<ObjectElement>(nonNil(a), v)); }

void RuntimeIntArrayInsert(ArrayHandle a, int32_t i, int32_t v) { requireAccepted(insert<IntElement>(nonNil(a), i, v)); }
void RuntimeSingleArrayInsert(ArrayHandle a, int32_t i, float v) { requireAccepted(insert<SingleElement>(nonNil(a), i, v)); }
void RuntimeDoubleArrayInsert(ArrayHandle a, int32_t i, double v) { requireAccepted(insert<DoubleElement>(nonNil(a), i, v)); }
void RuntimeStringArrayInsert(ArrayHandle a, int32_t i, StringHandle v) { requireAccepted(insert<StringElement>(nonNil(a), i, v)); }
void RuntimeObjectArrayInsert(ArrayHandle a, int32_t i, ObjectHandle v) { requireAccepted(insert<ObjectElement>(nonNil(a), i, v)); }

void RuntimeIntArrayRemove(ArrayHandle a, int32_t i) { requireAccepted(remove<IntElement>(nonNil(a), i)); }
void RuntimeStringArrayRemove(ArrayHandle a, int32_t i) { requireAccepted(remove<StringElement>(nonNil(a), i)); }
void RuntimeObjectArrayRemove(ArrayHandle a, int32_t i) { requireAccepted(remove<ObjectElement>(nonNil(a), i)); }

void RuntimeIntArraySort(ArrayHandle a) { requireAccepted(sortNumbers<IntElement>(nonNil(a))); }
void RuntimeSingleArraySort(ArrayHandle a) { requireAccepted(sortNumbers<SingleElement>(nonNil(a))); }
void RuntimeDoubleArraySort(ArrayHandle a) { requireAccepted(sortNumbers<DoubleElement>(nonNil(a))); }
void RuntimeStringArraySort(ArrayHandle a) { requireAccepted(sort<StringElement>(nonNil(a), stringGoesBefore)); }

// Multi-dimensional access

void RuntimeArrayStartReadAccess(ArrayHandle a, int32_t i) { requireAccepted(startReadAccess(nonNil(a), i)); }
void RuntimeArrayAddReadIndex(ArrayHandle a, int32_t i) { requireAccepted(addReadIndex(nonNil(a), i)); }
int32_t RuntimeReadIntArray(ArrayHandle a, int32_t i) { return readLast<IntElement>(a, i); }
float RuntimeReadSingleArray(ArrayHandle a, int32_t i) { return readLast<SingleElement>(a, i); }
double RuntimeReadDoubleArray(ArrayHandle a, int32_t i) { return readLast<DoubleElement>(a, i); }
StringHandle RuntimeReadStringArray(ArrayHandle a, int32_t i) { return readLast<StringElement>(a, i); }
ObjectHandle RuntimeReadObjectArray(ArrayHandle a, int32_t i) { return readLast<ObjectElement>(a, i); }

void RuntimeArrayStartWriteAccess(ArrayHandle a, int32_t i) { requireAccepted(startWriteAccess(nonNil(a), i)); }
void RuntimeArrayAddWriteIndex(ArrayHandle a, int32_t i) { requireAccepted(addWriteIndex(nonNil(a), i)); }
void RuntimeWriteIntArray(ArrayHandle a, int32_t i, int32_t v) { requireAccepted(writeAt<IntElement>(nonNil(a), i, v)); }
void RuntimeWriteSingleArray(ArrayHandle a, int32_t i, float v) { requireAccepted(writeAt<SingleElement>(nonNil(a), i, v)); }
void RuntimeWriteDoubleArray(ArrayHandle a, int32_t i, double v) { requireAccepted(writeAt<DoubleElement>(nonNil(a), i, v)); }
void RuntimeWriteStringArray(ArrayHandle a, int32_t i, StringHandle v) { requireAccepted(writeAt<StringElement>(nonNil(a), i, v)); }
void RuntimeWriteObjectArray(ArrayHandle a, int32_t i, ObjectHandle v) { requireAccepted(writeAt<ObjectElement>(nonNil(a), i, v)); }

// Compact boolean arrays

FastBooleanHandle RuntimeCreateFastBooleanArray(int32_t u) {
    FastBooleanHandle b = createFastBooleans(u);
    requireAccepted(b != nullptr);
    return b;
}

int32_t RuntimeFastArrayUBound(FastBooleanHandle b) { return fastUpperBound(nonNil(b)); }
void RuntimeRedimFastBoolArray(FastBooleanHandle b, int32_t u) { requireAccepted(redimFastBooleans(nonNil(b), u)); }

bool RuntimeFastReadBoolArray(FastBooleanHandle b, int32_t i) {
    bool value = false;
    requireAccepted(readFastBoolean(nonNil(b), i, value));
    return value;
}

bool RuntimeFastWriteBoolArray(FastBooleanHandle b, int32_t i, bool v) {
    requireAccepted(writeFastBoolean(nonNil(b), i, v));
    return v;
}

void RuntimeFastBooleanArrayAppend(FastBooleanHandle b, bool v) { requireAccepted(appendFastBoolean(nonNil(b), v)); }
void RuntimeFastBooleanArrayInsert(FastBooleanHandle b, int32_t i, bool v) { requireAccepted(insertFastBoolean(nonNil(b), i, v)); }
void RuntimeFastBooleanArrayRemove(FastBooleanHandle b, int32_t i) { requireAccepted(removeFastBoolean(nonNil(b), i)); }
void RuntimeDisposeFastBooleanArray(FastBooleanHandle b) { disposeFastBooleans(b); }
