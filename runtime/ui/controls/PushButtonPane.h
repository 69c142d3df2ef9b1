// Push buttons: a subclassed "BUTTON"; the window's default button (the
// focused push button, else the one marked Default) carries
// BS_DEFPUSHBUTTON.
#pragma once

#include "RuntimeCall.h"
#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

RUNTIME_ENTRY StringHandle pushButtonTitleGetter(ObjectHandle c);
RUNTIME_ENTRY void pushButtonTitleSetter(ObjectHandle c, StringHandle caption);
RUNTIME_ENTRY bool pushButtonDefaultGetter(ObjectHandle c);
RUNTIME_ENTRY void pushButtonDefaultSetter(ObjectHandle c, bool value);
RUNTIME_ENTRY bool pushButtonCancelGetter(ObjectHandle c);
RUNTIME_ENTRY void pushButtonCancelSetter(ObjectHandle c, bool value);
RUNTIME_ENTRY void pushButtonPush(ObjectHandle c);
