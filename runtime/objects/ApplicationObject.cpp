#include "objects/ApplicationObject.h"

#include <vector>

#include "objects/BuiltinClasses.h"
#include "objects/EventDelivery.h"
#include "objects/EventLoop.h"
#include "objects/ExceptionUnwinding.h"

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
    for (const ObjectRef& window : windowObjects()) {
        if (deliverEvent(window.get(), cancelClose)) return true;
    }
    return false;
}

}  // namespace

void setApplicationObject(ObjectRef application) { gApplication = std::move(application); }
ObjectHandle applicationObject() { return gApplication.get(); }

void quitApplication(uintptr_t frame) {
    if (gQuitInProgress) return;
    gQuitInProgress = true;
    if (anyWindowRefusesToClose()) {
        gQuitInProgress = false;
        return;
    }
    deliverEvent(gApplication.get(), builtinEvent("Application", "Close"));
    if (WindowRoster* roster = windowRoster()) {
        for (const ObjectRef& window : windowObjects()) roster->closeWindow(window.get());
    }
    gQuitInProgress = false;
    unwindException(newBuiltinException("EndException"), frame);
}

}  // namespace runtime
