// The event guard of panes: Action, Change, TextChange, SelChange and
// ValueChanged are not raised again for a control while a handler of the
// same event runs for it. The handler may close the window and so destroy the
// pane: the flag is cleared through the control, whose pane is then gone.
#pragma once

#include "objects/ObjectRef.h"
#include "objects/UnwindScope.h"
#include "ui/ControlFields.h"
#include "ui/Pane.h"

namespace runtime {

struct EventGuardReset {
    ObjectHandle control;
    uint8_t bit;
    void operator()() const {
        if (Pane* pane = controlFields(control).pane) pane->runningEvents_ &= static_cast<uint8_t>(~bit);
    }
};

template <typename Deliver>
bool Pane::guarded(GuardedEvent event, Deliver&& deliver) {
    const auto bit = static_cast<uint8_t>(event);
    if ((runningEvents_ & bit) != 0 || windowClosed()) return false;
    runningEvents_ |= bit;
    // Nothing of this pane is touched after the handler: it may be gone.
    const Unwindable<ObjectRef> keep(ObjectRef::borrow(control_));
    UnwindAction reset(EventGuardReset{control_, bit});
    deliver();
    return true;
}

}  // namespace runtime
