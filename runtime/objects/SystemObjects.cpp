#include "objects/SystemObjects.h"

#include <windows.h>

#include "objects/BuiltinClasses.h"
#include "objects/ObjectRef.h"
#include "text/StringValue.h"

namespace runtime {
namespace {

// Process-wide: both objects live until the process ends.
ObjectRef gSystemObject;
ObjectRef gKeyboardObject;

}  // namespace

void createSystemObject() {
    if (gSystemObject) return;
    gSystemObject = ObjectRef::adopt(newObject(builtinClass("System")));
    *gSystemObject.field<StringHandle>(kSystemNameOffset) = StringValue::fromCString("System").release();
}

}  // namespace runtime

using namespace runtime;

ObjectHandle getSystemObject() { return ObjectRef(gSystemObject).release(); }

ObjectHandle getKeyboardObject() {
    if (!gKeyboardObject) gKeyboardObject = ObjectRef::adopt(newObject(builtinClass("Keyboard")));
    return ObjectRef(gKeyboardObject).release();
}

void lineTrace() {}

StringHandle win32getCommandLine() { return StringValue::fromCString(GetCommandLineA()).release(); }
