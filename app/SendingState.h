// The main window's state while it sends a message, by modem or by mail: kept
// in the window's instance (see Window1State.h).
#pragma once

#include "Window1State.h"

namespace app {

struct SendingState {
    uint8_t unusedYet[kSendingStateSize];
};
static_assert(sizeof(SendingState) <= kSendingStateSize);

inline SendingState& sendingState(ObjectHandle window) {
    return *reinterpret_cast<SendingState*>(window1State(window).sending);
}

}  // namespace app
