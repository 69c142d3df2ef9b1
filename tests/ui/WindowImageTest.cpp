// A window layout written by the image tool, instantiated by sutakiba.exe
// under Wine from the image appended to it.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/MessageBoxWatcher.h"

using namespace testing_support;
namespace fs = std::filesystem;

TEST(WindowImage, LayoutFromTheProjectDescriptionBuildsItsWindow) {
    const fs::path folder = fs::path(testProgramFolder()) / "scratch" / "windows";
    fs::remove_all(folder);
    fs::create_directories(folder);
    ChildProcess child;
    ASSERT_TRUE(startSiblingProgram("window_images\\windows.exe", "", child, folder.string()));
    EXPECT_EQ(child.wait(), 0u);
    std::ifstream in(folder / "windows_result.txt", std::ios::binary);
    ASSERT_TRUE(in);
    const std::string result((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Controls' Open before the window's (the clone's Open after), Close at the end.
    EXPECT_EQ(result, "window=1|controls=5|cell2=1|bare=0|plain=1|clone3=1|title=1|width=240|closed=1|trace=ooooWoX");
}

TEST(WindowImage, CompiledCodeDrivesTheControlsOfALayout) {
    const fs::path folder = fs::path(testProgramFolder()) / "scratch" / "controls";
    fs::remove_all(folder);
    fs::create_directories(folder);
    ChildProcess child;
    ASSERT_TRUE(startSiblingProgram("window_images\\controls.exe", "", child, folder.string()));
    EXPECT_EQ(child.wait(), 0u);
    std::ifstream in(folder / "controls_result.txt", std::ios::binary);
    ASSERT_TRUE(in);
    const std::string result((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // One Action for the check box, whose own Action unchecked it again; the
    // group box makes a group of its three radio buttons; two tabs from the
    // definition split at NUL, the second tab shows its button; a progress
    // maximum beyond 16 bits.
    EXPECT_EQ(result,
              "actions=1|check=0|in1=0|in3=1|out1=1|tabs=2|page2=0|page2=1|max=200000|pos=150000|width=60|"
              "trace=rrrc1g");
}
