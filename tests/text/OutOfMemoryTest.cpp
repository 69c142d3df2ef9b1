// Exhausted memory ends the process with its message and exit code 3.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>

#include "support/MessageBoxWatcher.h"

using namespace testing_support;

namespace {

// `beforeDismissing` runs while the message is up.
void expectOutOfMemory(const std::string& arguments, const std::function<void()>& beforeDismissing = [] {}) {
    SCOPED_TRACE(arguments);
    ChildProcess child;
    ASSERT_TRUE(startSiblingProgram("oom_probe.exe", arguments, child));
    beforeDismissing();
    auto seen = dismissMessageBox(child.info.dwProcessId, 30000);
    ASSERT_TRUE(seen.has_value()) << "no message box appeared";
    EXPECT_EQ(seen->text, "This application has run out of memory and must quit now.");
    EXPECT_EQ(seen->caption, "Message");
    EXPECT_EQ(child.wait(), 3u);
}

TEST(OutOfMemory, ShowsTheMessageAndExitsWithCode3) {
    expectOutOfMemory("");
    // The size of the text buffer (length + 2) must not wrap around.
    expectOutOfMemory("string");
}

TEST(OutOfMemory, PoolStaysUsableWhileTheMessageIsUp) {
    char tempFolder[MAX_PATH];
    GetTempPathA(MAX_PATH, tempFolder);
    const std::string logPath = std::string(tempFolder) + "oom_probe_chunk.log";
    DeleteFileA(logPath.c_str());
    std::string line;
    expectOutOfMemory("chunk \"" + logPath + "\"", [&] {
        // The probe's timer allocates inside the message's loop.
        for (int tries = 0; tries < 300 && line.empty(); ++tries) {
            Sleep(100);
            std::ifstream in(logPath);
            std::getline(in, line);
        }
    });
    EXPECT_EQ(line, "written");  // cut from the rest of the old chunk
}

}  // namespace
