// Resizing with locks: when the window's client area changes by (dw, dh),
// a control locked to the right edge follows it (and stretches when it is
// also locked to the left edge); likewise for the bottom edge.
#include <algorithm>

#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/UnwindScope.h"
#include "ui/ControlFields.h"
#include "ui/NativeWindow.h"
#include "ui/Pane.h"
#include "ui/WindowOperations.h"

namespace runtime {
namespace {

int16_t toInt16(int32_t v) { return static_cast<int16_t>(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX)); }

// The control's rectangle after the change; false when it does not move.
bool lockedBounds(const ControlFields& f, int32_t dw, int32_t dh, Bounds& moved) {
    moved = controlBounds(f);
    if (f.lockRight && dw != 0) {
        moved.right = toInt16(moved.right + dw);
        if (!f.lockLeft) moved.left = toInt16(moved.left + dw);
    }
    if (f.lockBottom && dh != 0) {
        moved.bottom = toInt16(moved.bottom + dh);
        if (!f.lockTop) moved.top = toInt16(moved.top + dh);
    }
    const Bounds old = controlBounds(f);
    return moved.left != old.left || moved.top != old.top || moved.right != old.right || moved.bottom != old.bottom;
}

}  // namespace

void moveLockedControls(NativeWindow* window, int32_t dw, int32_t dh) {
    if (!window || (dw == 0 && dh == 0)) return;
    const Unwindable<std::vector<ObjectRef>> controls(windowControls(window->windowObject()));
    for (const ObjectRef& c : *controls) {
        if (window->closed()) return;
        if (!inheritsFrom(c.classRecord(), builtinClass("RectControl"))) continue;
        ControlFields& f = controlFields(c.get());
        Bounds moved;
        if (!lockedBounds(f, dw, dh, moved)) continue;
        f.left = moved.left;
        f.top = moved.top;
        // The edges move as they are, even past each other while the window
        // is small, so growing it back restores the control's size; the pane
        // gives the system an empty window meanwhile.
        f.width = toInt16(moved.width());
        f.height = toInt16(moved.height());
        if (f.pane) f.pane->setBounds(controlBounds(f), true);
    }
}

}  // namespace runtime
