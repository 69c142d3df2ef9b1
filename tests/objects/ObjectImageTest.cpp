// The object model through images made by the image tool: sutakiba.exe with
// the fixture's image appended, run under Wine in a folder of its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/MessageBoxWatcher.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

struct FixtureRun {
    DWORD exitCode = STILL_ACTIVE;
    std::optional<MessageBoxSeen> box;
    std::optional<std::string> result;  // objects_result.txt, when written
};

FixtureRun runFixture(const std::string& program, const std::string& mode, bool expectBox = false) {
    const fs::path folder = fs::path(testProgramFolder()) / "scratch" / (program + "-" + mode);
    fs::remove_all(folder);
    fs::create_directories(folder);
    FixtureRun run;
    ChildProcess child;
    if (!startSiblingProgram("object_images\\" + program, mode, child, folder.string())) {
        ADD_FAILURE() << "cannot start " << program;
        return run;
    }
    if (expectBox) run.box = dismissMessageBox(child.info.dwProcessId, 30000);
    run.exitCode = child.wait();
    std::ifstream in(folder / "objects_result.txt", std::ios::binary);
    if (in) run.result = std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return run;
}

TEST(ObjectImage, StartsTheLastApplicationClassAndKeepsEveryCountExact) {
    const FixtureRun run = runFixture("objects.exe", "checks");
    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_TRUE(run.result.has_value());
    EXPECT_EQ(*run.result,
              "open=O|app=1|appRefs=2|newDoc=1|new=1|locked=2|unlocked=1|isa=1|vtable=1|live=1|"
              "caught=1|excRefs=2|strRefs=1|caught2=1|outer=1|localRefs=1|strRefs2=1|nil=1|"
              "viaRuntime=1|appKept=1|viaRuntime=1|appKept=1|trace=MbBbcCBbBMM");
}

TEST(ObjectImage, UnhandledNilObjectShowsTheSettingsMessageAndExitsWith2) {
    const FixtureRun run = runFixture("objects.exe", "nil", true);
    ASSERT_TRUE(run.box.has_value());
    EXPECT_EQ(run.box->text, "An exception of class NilObjectException was not handled.\rThe application must shut down.");
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_FALSE(run.result.has_value());
}

TEST(ObjectImage, UnhandledEndExceptionEndsSilently) {
    const FixtureRun run = runFixture("objects.exe", "end");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_FALSE(run.result.has_value());
}

TEST(ObjectImage, QuitDeliversCloseToTheApplicationAndEnds) {
    const FixtureRun run = runFixture("objects.exe", "quit");
    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_TRUE(run.result.has_value());
    EXPECT_EQ(*run.result, "OX");  // Open, then Close from the quit; nothing after
}

TEST(ObjectImage, AClassNamedButNowhereDefinedRefusesToStart) {
    const FixtureRun run = runFixture("missing_class.exe", "checks", true);
    ASSERT_TRUE(run.box.has_value());
    EXPECT_EQ(run.box->text, "The application could not be started because the class Gizmo could not be found.");
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_FALSE(run.result.has_value());
}

}  // namespace
