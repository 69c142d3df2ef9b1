// Entry routines of the event loop and the application-level events.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ClassRecord.h"

RUNTIME_ENTRY void RuntimeRun();
RUNTIME_ENTRY void ApplicationQuit();
RUNTIME_ENTRY void RuntimeBackgroundTask();
RUNTIME_ENTRY int32_t RuntimeTicks();
RUNTIME_ENTRY double RuntimeMicroseconds();
RUNTIME_ENTRY bool getUserCancelled();
RUNTIME_ENTRY ObjectHandle RuntimeEnableMenu(ObjectHandle menuItem);
RUNTIME_ENTRY void enableMenuItems();
RUNTIME_ENTRY bool ApplicationOpenDocument(ObjectHandle application, ObjectHandle folderItem);
RUNTIME_ENTRY bool ApplicationNewDocument(ObjectHandle application);
