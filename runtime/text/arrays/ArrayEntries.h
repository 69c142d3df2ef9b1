// Entry routines of arrays and compact boolean arrays. An index outside its
// dimension raises OutOfBoundsException, a nil array NilObjectException; the
// failing call changes nothing. String and object arguments are borrowed;
// string and object results belong to the caller. Single and double arrays
// are re-dimensioned and disposed with the integer routines (same structure:
// every vector knows its own element size).
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"
#include "text/arrays/ArrayObject.h"
#include "text/arrays/FastBooleanArray.h"

// Creation and shape
RUNTIME_ENTRY ArrayHandle RuntimeCreateArray();
RUNTIME_ENTRY int32_t RuntimeArrayCreateAddIndex(ArrayHandle a, int32_t first, int32_t last);
RUNTIME_ENTRY int32_t RuntimeUBound(ArrayHandle a);
RUNTIME_ENTRY void RuntimeRedimIntArrayLevel(ArrayHandle a, int32_t dimension, int32_t upperBound);
RUNTIME_ENTRY void RuntimeRedimStringArrayLevel(ArrayHandle a, int32_t dimension, int32_t upperBound);
RUNTIME_ENTRY void RuntimeRedimObjectArrayLevel(ArrayHandle a, int32_t dimension, int32_t upperBound);
RUNTIME_ENTRY void RuntimeDisposeIntArray(ArrayHandle a);
RUNTIME_ENTRY void RuntimeDisposeStringArray(ArrayHandle a);
RUNTIME_ENTRY void RuntimeDisposeObjectArray(ArrayHandle a);

// One-dimensional access
RUNTIME_ENTRY int32_t RuntimeDirectReadIntArray(ArrayHandle a, int32_t i);
RUNTIME_ENTRY float RuntimeDirectReadSingleArray(ArrayHandle a, int32_t i);
RUNTIME_ENTRY double RuntimeDirectReadDoubleArray(ArrayHandle a, int32_t i);
RUNTIME_ENTRY StringHandle RuntimeDirectReadStringArray(ArrayHandle a, int32_t i);
RUNTIME_ENTRY ObjectHandle RuntimeDirectReadObjectArray(ArrayHandle a, int32_t i);
RUNTIME_ENTRY void RuntimeDirectWriteIntArray(ArrayHandle a, int32_t i, int32_t value);
RUNTIME_ENTRY void RuntimeDirectWriteSingleArray(ArrayHandle a, int32_t i, float value);
RUNTIME_ENTRY void RuntimeDirectWriteDoubleArray(ArrayHandle a, int32_t i, double value);
RUNTIME_ENTRY void RuntimeDirectWriteStringArray(ArrayHandle a, int32_t i, StringHandle value);
RUNTIME_ENTRY void RuntimeDirectWriteObjectArray(ArrayHandle a, int32_t i, ObjectHandle value);
RUNTIME_ENTRY void RuntimeIntArrayAppend(ArrayHandle a, int32_t value);
RUNTIME_ENTRY void RuntimeSingleArrayAppend(ArrayHandle a, float value);
RUNTIME_ENTRY void RuntimeDoubleArrayAppend(ArrayHandle a, double value);
RUNTIME_ENTRY void RuntimeStringArrayAppend(ArrayHandle a, StringHandle value);
RUNTIME_ENTRY void RuntimeObjectArrayAppend(ArrayHandle a, ObjectHandle value);
RUNTIME_ENTRY void RuntimeIntArrayInsert(ArrayHandle a, int32_t i, int32_t value);
RUNTIME_ENTRY void RuntimeSingleArrayInsert(ArrayHandle a, int32_t i, float value);
RUNTIME_ENTRY void RuntimeDoubleArrayInsert(ArrayHandle a, int32_t i, double value);
RUNTIME_ENTRY void RuntimeStringArrayInsert(ArrayHandle a, int32_t i, StringHandle value);
RUNTIME_ENTRY void RuntimeObjectArrayInsert(ArrayHandle a, int32_t i, ObjectHandle value);
RUNTIME_ENTRY void RuntimeIntArrayRemove(ArrayHandle a, int32_t i);
RUNTIME_ENTRY void RuntimeStringArrayRemove(ArrayHandle a, int32_t i);
RUNTIME_ENTRY void RuntimeObjectArrayRemove(ArrayHandle a, int32_t i);
RUNTIME_ENTRY void RuntimeIntArraySort(ArrayHandle a);
RUNTIME_ENTRY void RuntimeSingleArraySort(ArrayHandle a);
RUNTIME_ENTRY void RuntimeDoubleArraySort(ArrayHandle a);
RUNTIME_ENTRY void RuntimeStringArraySort(ArrayHandle a);

// Multi-dimensional access
RUNTIME_ENTRY void RuntimeArrayStartReadAccess(ArrayHandle a, int32_t i);
RUNTIME_ENTRY void RuntimeArrayAddReadIndex(ArrayHandle a, int32_t i);
RUNTIME_ENTRY int32_t RuntimeReadIntArray(ArrayHandle a, int32_t i);
RUNTIME_ENTRY float RuntimeReadSingleArray(ArrayHandle a, int32_t i);
RUNTIME_ENTRY double RuntimeReadDoubleArray(ArrayHandle a, int32_t i);
RUNTIME_ENTRY StringHandle RuntimeReadStringArray(ArrayHandle a, int32_t i);
RUNTIME_ENTRY ObjectHandle RuntimeReadObjectArray(ArrayHandle a, int32_t i);
RUNTIME_ENTRY void RuntimeArrayStartWriteAccess(ArrayHandle a, int32_t i);
RUNTIME_ENTRY void RuntimeArrayAddWriteIndex(ArrayHandle a, int32_t i);
RUNTIME_ENTRY void RuntimeWriteIntArray(ArrayHandle a, int32_t i, int32_t value);
RUNTIME_ENTRY void RuntimeWriteSingleArray(ArrayHandle a, int32_t i, float value);
RUNTIME_ENTRY void RuntimeWriteDoubleArray(ArrayHandle a, int32_t i, double value);
RUNTIME_ENTRY void RuntimeWriteStringArray(ArrayHandle a, int32_t i, StringHandle value);
RUNTIME_ENTRY void RuntimeWriteObjectArray(ArrayHandle a, int32_t i, ObjectHandle value);

// Compact boolean arrays
RUNTIME_ENTRY FastBooleanHandle RuntimeCreateFastBooleanArray(int32_t upperBound);
RUNTIME_ENTRY int32_t RuntimeFastArrayUBound(FastBooleanHandle b);
RUNTIME_ENTRY void RuntimeRedimFastBoolArray(FastBooleanHandle b, int32_t upperBound);
RUNTIME_ENTRY bool RuntimeFastReadBoolArray(FastBooleanHandle b, int32_t i);
RUNTIME_ENTRY bool RuntimeFastWriteBoolArray(FastBooleanHandle b, int32_t i, bool value);
RUNTIME_ENTRY void RuntimeFastBooleanArrayAppend(FastBooleanHandle b, bool value);
RUNTIME_ENTRY void RuntimeFastBooleanArrayInsert(FastBooleanHandle b, int32_t i, bool value);
RUNTIME_ENTRY void RuntimeFastBooleanArrayRemove(FastBooleanHandle b, int32_t i);
RUNTIME_ENTRY void RuntimeDisposeFastBooleanArray(FastBooleanHandle b);
