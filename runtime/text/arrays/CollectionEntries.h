// Entry routines of collections. Positions are 1-based; a position outside 1
// to the count raises OutOfBoundsException, a nil collection
// NilObjectException. Arguments are borrowed; a returned object belongs to the
// caller.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

RUNTIME_ENTRY void collectionAdd(ObjectHandle collection, ObjectHandle value, StringHandle key);
RUNTIME_ENTRY int32_t collectionCount(ObjectHandle collection);
RUNTIME_ENTRY ObjectHandle collectionIdxItem(ObjectHandle collection, int32_t position);
RUNTIME_ENTRY ObjectHandle collectionItem(ObjectHandle collection, StringHandle key);
RUNTIME_ENTRY void collectionIdxRemove(ObjectHandle collection, int32_t position);
RUNTIME_ENTRY void collectionKeyRemove(ObjectHandle collection, StringHandle key);
