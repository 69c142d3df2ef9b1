// Registers the window classes and makes the windows take part in the loop.
#pragma once

namespace runtime {

// Called once at start (the window-class step of RuntimeInit).
void installWindowSubsystem();

}  // namespace runtime
