// Edit fields of a window layout written by the image tool, driven by the
// image's compiled code inside sutakiba.exe: the routines, and Japanese typed
// with real key input into a plain and a rich field.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/MessageBoxWatcher.h"

using namespace testing_support;
namespace fs = std::filesystem;

TEST(EditFieldImage, RoutinesAndTypedJapaneseFromCompiledCode) {
    const fs::path folder = fs::path(testProgramFolder()) / "scratch" / "editfields";
    fs::remove_all(folder);
    fs::create_directories(folder);
    ChildProcess child;
    ASSERT_TRUE(startSiblingProgram("window_images\\editfields.exe", "", child, folder.string()));
    EXPECT_EQ(child.wait(), 0u);
    std::ifstream in(folder / "editfields_result.txt", std::ios::binary);
    ASSERT_TRUE(in);
    const std::string result((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(result,
              // the masked field: its text, and six mask characters on screen
              "masked=1|shown=1|"
              // selection 2 to 5, then SelStart 10 selects 5 to 10
              "start=2|length=3|start=5|length=5|"
              // SelText: TextChange, then SelChange, and the text replaced
              "seltext=TS|text=1|"
              // ソxa表 typed into the plain field: x kept out by KeyDown
              "typed=1|keys=4|changes=3|"
              // 送x信 typed into the rich field
              "rich=1|keys=3|changes=2|");
}
