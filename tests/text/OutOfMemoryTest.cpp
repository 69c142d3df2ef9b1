// Exhausted memory ends the process with its message and exit code 3.
#include <gtest/gtest.h>

#include "support/MessageBoxWatcher.h"

using namespace testing_support;

namespace {

TEST(OutOfMemory, ShowsTheMessageAndExitsWithCode3) {
    ChildProcess child;
    ASSERT_TRUE(startSiblingProgram("oom_probe.exe", "", child));
    auto seen = dismissMessageBox(child.info.dwProcessId, 30000);
    ASSERT_TRUE(seen.has_value()) << "no message box appeared";
    EXPECT_EQ(seen->text, "This application has run out of memory and must quit now.");
    EXPECT_EQ(seen->caption, "Message");
    EXPECT_EQ(child.wait(), 3u);
}

}  // namespace
