// The application object and quitting.
#pragma once

#include "objects/ObjectRef.h"

namespace runtime {

void setApplicationObject(ObjectRef application);
ObjectHandle applicationObject();  // borrowed

// Asks every window whether it may close, delivers Close to the application,
// closes the windows and raises EndException from `frame`. Returns only when
// a window refused or a quit is already in progress.
void quitApplication(uintptr_t frame);

}  // namespace runtime
