// Entry routines of objects, classes and exceptions. Object arguments are
// borrowed; a returned object belongs to the caller.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ClassRecord.h"

RUNTIME_ENTRY ObjectHandle RuntimeNewObject(int32_t classIndex);
RUNTIME_ENTRY ObjectHandle RuntimeLockObject(ObjectHandle object);
RUNTIME_ENTRY ObjectHandle RuntimeUnlockObject(ObjectHandle object);
RUNTIME_ENTRY ObjectHandle objGetter(ObjectHandle object, int32_t offset);
RUNTIME_ENTRY void objSetter(ObjectHandle object, int32_t offset, ObjectHandle value);
RUNTIME_ENTRY bool RuntimeObjectIsa(ObjectHandle object, int32_t classIndex);
RUNTIME_ENTRY void RuntimeCheckCast(ObjectHandle object, int32_t classIndex);
RUNTIME_ENTRY void RuntimeNilObject();
RUNTIME_ENTRY void RuntimeRaiseException(ObjectHandle exception);
RUNTIME_ENTRY void RuntimeReraiseException();
RUNTIME_ENTRY CodeAddress RuntimeFindHookCode(ObjectHandle object, int32_t hookCode);
RUNTIME_ENTRY CodeAddress FindVTableCode(ObjectHandle object, int32_t slot);
RUNTIME_ENTRY CodeAddress FindInterfaceVTableCode(ObjectHandle object, int32_t slot, int32_t interfaceIndex);
RUNTIME_ENTRY ObjectHandle RuntimeProjectObject(int32_t index);
RUNTIME_ENTRY ObjectHandle RuntimePictureReference(int32_t index);
RUNTIME_ENTRY void RuntimeStackCheck();
RUNTIME_ENTRY ObjectHandle getAppObject();
RUNTIME_ENTRY void debugDumpObjects(StringHandle title);
