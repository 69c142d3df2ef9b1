// The Line control: a straight line between two points of the window, drawn
// by the runtime in a pane that just encloses it.
#pragma once

#include "RuntimeCall.h"
#include "objects/ObjectHeader.h"

// Selector 0 X1, 1 Y1, 2 X2, 3 Y2 (window coordinates); other selectors do
// nothing. A live line moves its pane and repaints.
RUNTIME_ENTRY void linePosSetter(ObjectHandle c, int32_t selector, int32_t value);
