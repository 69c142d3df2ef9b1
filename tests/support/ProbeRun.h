// Runs a probe program beside the test in a process of its own: its log file,
// the message box it shows (dismissed) and its exit code.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "support/MessageBoxWatcher.h"

namespace testing_support {

struct ProbeRun {
    DWORD exitCode = 0;
    std::vector<std::string> log;
    std::optional<MessageBoxSeen> messageBox;
};

// Starts `program` with `mode` and a fresh log file in the temporary folder.
ProbeRun runProbe(const std::string& program, const std::string& mode, bool expectMessageBox = false);

}  // namespace testing_support
