// The main window's melody: its digits, and the state of its preview while it
// plays. Kept in the window's instance (see Window1State.h).
#pragma once

#include "Window1State.h"

namespace app {

struct MelodyState {
    uint8_t unusedYet[kMelodyStateSize];
};
static_assert(sizeof(MelodyState) <= kMelodyStateSize);

inline MelodyState& melodyState(ObjectHandle window) {
    return *reinterpret_cast<MelodyState*>(window1State(window).melody);
}

}  // namespace app
