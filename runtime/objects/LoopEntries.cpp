#include "objects/LoopEntries.h"

#include <windows.h>
#include <ole2.h>

#include "objects/ApplicationObject.h"
#include "objects/BuiltinClasses.h"
#include "objects/EventDelivery.h"
#include "objects/EventLoop.h"
#include "objects/MenuBarModel.h"
#include "objects/UnwindScope.h"

using namespace runtime;

void RuntimeRun() {
    runEventLoop();
    if (WindowRoster* roster = windowRoster()) callSystem([roster] { roster->closeAllWindows(); });
    OleUninitialize();
}

__attribute__((noinline)) void ApplicationQuit() {
    quitApplication(reinterpret_cast<uintptr_t>(__builtin_frame_address(0)));
}

void RuntimeBackgroundTask() {
    // Within one millisecond there is nothing new to do.
    static DWORD lastCall = 0;
    const DWORD now = GetTickCount();
    if (now == lastCall) return;
    lastCall = now;
    runDuePeriodicTasks();
}

int32_t RuntimeTicks() { return static_cast<int32_t>(GetTickCount() >> 4); }

double RuntimeMicroseconds() { return GetTickCount() * 1000.0; }

bool getUserCancelled() { return false; }

// The result is the item again, with a reference for the caller like every
// object a routine returns.
ObjectHandle RuntimeEnableMenu(ObjectHandle menuItem) {
    if (menuItem) menuItemFields(menuItem).enabled = 1;
    return ObjectRef::borrow(menuItem).release();
}

void enableMenuItems() {}

bool ApplicationOpenDocument(ObjectHandle application, ObjectHandle folderItem) {
    return deliverEvent(application, builtinEvent("Application", "OpenDocument"), folderItem);
}

bool ApplicationNewDocument(ObjectHandle application) {
    return deliverEvent(application, builtinEvent("Application", "NewDocument"));
}
