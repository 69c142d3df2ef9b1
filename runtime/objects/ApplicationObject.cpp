#include "objects/ApplicationObject.h"

#include <vector>

#include "objects/BuiltinClasses.h"
#include "objects/EventDelivery.h"
#include "objects/EventLoop.h"
#include "objects/ExceptionUnwinding.h"
#include "objects/UnwindScope.h"

namespace runtime {
namespace {

// Process-wide: the application object lives for the whole run.
ObjectRef gApplication;
bool gQuitInProgress = false;

std::vector<ObjectRef> adoptAll(std::vector<ObjectHandle> handles) {
    std::vector<ObjectRef> objects;
    for (ObjectHandle h : handles) objects.push_back(ObjectRef::adopt(h));
    return objects;
}

std::vector<ObjectRef> windowObjects() {
    WindowRoster* roster = windowRoster();
    return roster ? adoptAll(roster->windowObjects()) : std::vector<ObjectRef>{};
}

bool anyWindowRefusesToClose() {
    const EventDescriptor* cancelClose = builtinEvent("Window", "CancelClose");
    const Unwindable<std::vector<ObjectRef>> windows(windowObjects());
    for (const ObjectRef& window : *windows) {
        if (deliverEvent(window.get(), cancelClose)) return true;
    }
    return false;
}

void closeEveryWindow() {
    WindowRoster* roster = windowRoster();
    if (!roster) return;
    const Unwindable<std::vector<ObjectRef>> windows(windowObjects());
    for (const ObjectRef& window : *windows) roster->closeWindow(window.get());
}

// Runs the steps of a quit that call handlers; false when a window refused.
// A handler that raises ends the quit too: the mark is cleared either way.
bool closeForQuit() {
    UnwindAction clearMark([] { gQuitInProgress = false; });
    if (anyWindowRefusesToClose()) return false;
    deliverEvent(gApplication.get(), builtinEvent("Application", "Close"));
    closeEveryWindow();
    return true;
}

}  // namespace

void setApplicationObject(ObjectRef application) { gApplication = std::move(application); }
ObjectHandle applicationObject() { return gApplication.get(); }

void quitApplication(uintptr_t frame) {
    if (gQuitInProgress) return;
    gQuitInProgress = true;
    if (!closeForQuit()) return;
    unwindException(newBuiltinException("EndException"), frame);
}

}  // namespace runtime
