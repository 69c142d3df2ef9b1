// Finds a message box (window class "#32770") shown by a given process, reads
// its caption and text and dismisses it with one of its buttons. A message box
// blocks the thread that shows it, so tests watch from another thread or
// another process.
#pragma once

#include <windows.h>

#include <future>
#include <optional>
#include <string>

namespace testing_support {

struct MessageBoxSeen {
    std::string caption;
    std::string text;
};

// Waits up to `timeoutMs` for a visible message box of process `processId`,
// then reads it and presses the button `buttonId` (IDOK, IDCANCEL, ...).
std::optional<MessageBoxSeen> dismissMessageBox(DWORD processId, DWORD timeoutMs, int buttonId = IDOK);

// Watches on a thread of its own for the next message box of this process
// while the test thread calls the code that shows it.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(int buttonId = IDOK, DWORD timeoutMs = 20000,
                               DWORD processId = GetCurrentProcessId());
    // Waits for the watcher thread and returns what it saw.
    std::optional<MessageBoxSeen> result();

private:
    std::future<std::optional<MessageBoxSeen>> seen_;
};

// A child process started from a program beside the running test program.
struct ChildProcess {
    PROCESS_INFORMATION info{};
    ~ChildProcess();
    // Waits for the end of the process; returns its exit code.
    DWORD wait(DWORD timeoutMs = 60000);
};

// Starts `program` (a file name beside the test program) with `arguments`.
// `workingDirectory` empty: the test's current directory.
bool startSiblingProgram(const std::string& program, const std::string& arguments, ChildProcess& child,
                         const std::string& workingDirectory = {});

// The folder of the running test program, with a trailing backslash.
std::string testProgramFolder();

}  // namespace testing_support
