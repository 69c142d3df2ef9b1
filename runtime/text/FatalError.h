// Conditions that end the process at once.
#pragma once

namespace runtime {

// Exit codes of the process: a normal quit keeps 0.
enum ExitCode : unsigned {
    kExitLoadFailure = 1,
    kExitUnhandledException = 2,
    kExitOutOfMemory = 3,
};

// Shows "This application has run out of memory and must quit now." and ends
// the process with kExitOutOfMemory.
[[noreturn]] void runOutOfMemory();

// Shows `text` through the fatal-message hook (a message box without owner).
void showFatalMessage(const char* text);

}  // namespace runtime
