// Check boxes and radio buttons: "BUTTON"s whose check state raises Action.
#pragma once

#include "RuntimeCall.h"
#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

RUNTIME_ENTRY StringHandle checkBoxTitleGetter(ObjectHandle c);
RUNTIME_ENTRY void checkBoxTitleSetter(ObjectHandle c, StringHandle caption);
RUNTIME_ENTRY bool checkBoxValueGetter(ObjectHandle c);
RUNTIME_ENTRY void checkBoxValueSetter(ObjectHandle c, bool value);
// Receivers of the check state's changes: their methods "dataChanging" and
// "dataChanged" (receiver, check box) run before and after Action.
RUNTIME_ENTRY void checkBoxAddDataNotificationReceiver(ObjectHandle c, ObjectHandle receiver);
RUNTIME_ENTRY void checkBoxRemoveDataNotificationReceiver(ObjectHandle c, ObjectHandle receiver);
RUNTIME_ENTRY StringHandle radioTitleGetter(ObjectHandle c);
RUNTIME_ENTRY void radioTitleSetter(ObjectHandle c, StringHandle caption);
RUNTIME_ENTRY bool radioValueGetter(ObjectHandle c);
RUNTIME_ENTRY void radioValueSetter(ObjectHandle c, bool value);
