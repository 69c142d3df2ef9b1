// Exceptions raised by handlers that the runtime called, caught by compiled
// code above the runtime routine, the loop or a window procedure: each
// scenario runs in the unwind probe, and its log shows where the exception
// arrived and that every count is as it was.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/ProbeRun.h"

using namespace testing_support;

namespace {

using Lines = std::vector<std::string>;

ProbeRun runProbe(const std::string& mode, bool expectMessageBox = false) {
    return testing_support::runProbe("unwind_probe", mode, expectMessageBox);
}

// Before and after every exception: the runtime's reference to the
// application, the live objects (the application, the system object and the
// windows), and the thread's handler chain.
const std::string kCounts = "app=1 live=2 seh=same";
const std::string kCountsWithWindow = "app=1 live=3 seh=same";
const std::string kCountsWithTwoWindows = "app=1 live=4 seh=same";

TEST(Unwinding, HandlerCalledByARuntimeRoutineRaisesToTheCompiledCaller) {
    const ProbeRun run = runProbe("runtime-routine");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.log, (Lines{kCounts,
                              "new document", "first: caught NilObjectException refs=1", kCounts,
                              "new document", "second: caught NilObjectException refs=1", kCounts,
                              "new document", "no raise: caught nothing", kCounts,
                              "end of main"}));
}

TEST(Unwinding, PeriodicTaskOfTheLoopRaisesToTheCallerOfTheLoop) {
    const ProbeRun run = runProbe("periodic-task");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.log, (Lines{kCounts,
                              "new document", "first: caught NilObjectException refs=1", kCountsWithWindow,
                              "new document", "second: caught NilObjectException refs=1", kCountsWithWindow,
                              "end of main"}));
}

TEST(Unwinding, WindowProcedureReturnsToTheSystemAndTheLoopRaisesAgain) {
    const ProbeRun run = runProbe("window-procedure");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.log, (Lines{kCounts,
                              "new document", "window procedure returned to the system",
                              "first: caught NilObjectException refs=1", kCountsWithWindow,
                              "new document", "window procedure returned to the system",
                              "second: caught NilObjectException refs=1", kCountsWithWindow,
                              "end of main"}));
}

TEST(Unwinding, CancelCloseThatRaisesAbandonsTheQuit) {
    const ProbeRun run = runProbe("quit-cancel-close");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.log, (Lines{kCounts,
                              "cancel close", "first: caught NilObjectException refs=1", kCountsWithTwoWindows,
                              "windows=2",
                              // The next quit is not refused as already in progress.
                              "cancel close", "cancel close", "app close", "close window", "close window",
                              "second: caught EndException refs=1", kCounts,
                              "windows=0", "end of main"}));
}

TEST(Unwinding, ApplicationCloseThatRaisesAbandonsTheQuit) {
    const ProbeRun run = runProbe("quit-close");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.log, (Lines{kCounts,
                              "cancel close", "app close", "first: caught NilObjectException refs=1",
                              kCountsWithWindow, "windows=1",
                              "cancel close", "app close", "close window",
                              "second: caught EndException refs=1", kCounts, "windows=0", "end of main"}));
}

TEST(Unwinding, InitialiserThatRaisesLeavesNoObjectBehind) {
    const ProbeRun run = runProbe("initialiser-raises");
    EXPECT_EQ(run.exitCode, 0u);
    // The object's finaliser releases what its initialisers set up.
    EXPECT_EQ(run.log, (Lines{kCounts,
                              "fragile init", "fragile final", "first: caught NilObjectException refs=1", kCounts,
                              "fragile init", "fragile final", "second: caught NilObjectException refs=1", kCounts,
                              "end of main"}));
}

TEST(Unwinding, FinaliserThatRaisesStillRunsTheSuperclassFinalisersAndFreesTheObject) {
    const ProbeRun run = runProbe("finaliser-raises");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.log, (Lines{kCounts,
                              "brittle final", "base final", "first: caught NilObjectException refs=1", kCounts,
                              "brittle final", "base final", "second: caught NilObjectException refs=1", kCounts,
                              "end of main"}));
}

TEST(Unwinding, UncaughtRaisesEndWithTheMessageAndExitCode2) {
    // Nothing after the raise runs but the window procedure's return to the
    // system; the loop then raises it again and nothing catches it.
    const std::pair<std::string, std::string> cases[] = {
        {"runtime-routine-uncaught", "new document"},
        {"window-procedure-uncaught", "window procedure returned to the system"},
    };
    for (const auto& [mode, lastLine] : cases) {
        SCOPED_TRACE(mode);
        const ProbeRun run = runProbe(mode, true);
        ASSERT_TRUE(run.messageBox.has_value());
        EXPECT_EQ(run.messageBox->text,
                  "An exception of class NilObjectException was not handled.\rThe application must shut down.");
        EXPECT_EQ(run.exitCode, 2u);
        EXPECT_EQ(run.messageBox->caption, "Message");
        EXPECT_EQ(run.log.back(), lastLine);
    }
}

TEST(Unwinding, UncaughtInFrameModeIsCaptionedWithTheFrameTitle) {
    const ProbeRun run = runProbe("uncaught-in-frame-mode", true);
    ASSERT_TRUE(run.messageBox.has_value());
    EXPECT_EQ(run.messageBox->caption, "Probe Frame");
    EXPECT_EQ(run.exitCode, 2u);
}

}  // namespace
