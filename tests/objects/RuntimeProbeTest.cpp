// Start-up, quitting, the loop and unhandled exceptions, each in a process of
// its own (the probe), observed through its log, its message boxes and its
// exit code.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/ProbeRun.h"

using namespace testing_support;

namespace {

ProbeRun runProbe(const std::string& mode, bool expectMessageBox = false) {
    return testing_support::runProbe("runtime_probe", mode, expectMessageBox);
}

using Lines = std::vector<std::string>;

TEST(RuntimeProbe, UnhandledNilObjectShowsTheMessageAndExitsWith2) {
    ProbeRun run = runProbe("nil", true);
    ASSERT_TRUE(run.messageBox.has_value());
    EXPECT_EQ(run.messageBox->text, "An exception of class NilObjectException was not handled.\rThe application must shut down.");
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_EQ(run.log, (Lines{"open"}));
}

TEST(RuntimeProbe, AClassNamedButNowhereDefinedRefusesToStart) {
    ProbeRun run = runProbe("missing-class", true);
    ASSERT_TRUE(run.messageBox.has_value());
    EXPECT_EQ(run.messageBox->text, "The application could not be started because the class Gizmo could not be found.");
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_TRUE(run.log.empty());  // no Open
}

TEST(RuntimeProbe, UnhandledEndExceptionEndsSilently) {
    ProbeRun run = runProbe("end");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.log, (Lines{"open"}));  // nothing after the raise ran
}

TEST(RuntimeProbe, QuitAsksTheWindowsClosesTheApplicationAndEnds) {
    ProbeRun run = runProbe("quit");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.log, (Lines{"open", "cancel close", "app close", "close window"}));
}

TEST(RuntimeProbe, CancelCloseAbandonsTheQuit) {
    ProbeRun run = runProbe("cancel");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.log, (Lines{"open", "cancel close", "quit returned", "end of main"}));
}

TEST(RuntimeProbe, LoopRunsPeriodicTasksUntilWmQuit) {
    ProbeRun run = runProbe("loop");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.log, (Lines{"open", "task ran 3 times", "run returned", "end of main"}));
}

TEST(RuntimeProbe, ClosingTheLastWindowEndsTheLoop) {
    ProbeRun run = runProbe("last-window");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.log, (Lines{"open", "task ran 3 times", "run returned", "end of main"}));
}

TEST(RuntimeProbe, WithoutAnyWindowTheLoopEndsAtOnce) {
    ProbeRun run = runProbe("no-window");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.log, (Lines{"open", "run returned", "end of main"}));
}

}  // namespace
