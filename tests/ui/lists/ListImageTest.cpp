// An address-book window made by the image tool, run by sutakiba.exe under
// Wine: its compiled code works the list and the pop-up through the entry
// routines, this test clicks and double-clicks a row and picks a port with
// real input, leaves a screenshot, and closes the window.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/MessageBoxWatcher.h"
#include "support/PngWriter.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

HWND waitForWindow(const wchar_t* title) {
    for (int i = 0; i < 600; ++i) {
        if (HWND w = FindWindowW(L"VLWindow", title); w && IsWindowVisible(w)) return w;
        Sleep(50);
    }
    return nullptr;
}

HWND childOfClass(HWND parent, const wchar_t* className) { return FindWindowExW(parent, nullptr, className, nullptr); }

// Moves the pointer as a person would. The other process may still report an
// earlier position back for a moment (its queued motion), so the move is
// repeated until the pointer stays at the target for a while.
void moveTo(POINT screen) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = (screen.x * 65536 + sw - 1) / sw;  // rounded up: absolute positions truncate
    move.mi.dy = (screen.y * 65536 + sh - 1) / sh;
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    int steady = 0;
    for (int i = 0; i < 200 && steady < 8; ++i) {
        POINT now;
        GetCursorPos(&now);
        if (now.x == screen.x && now.y == screen.y) {
            ++steady;
        } else {
            steady = 0;
            SendInput(1, &move, sizeof(INPUT));
        }
        Sleep(25);
    }
}

void click() {
    INPUT press{};
    press.type = INPUT_MOUSE;
    press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &press, sizeof(INPUT));
    Sleep(60);
    press.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &press, sizeof(INPUT));
    Sleep(150);
}

BOOL CALLBACK findDroppedList(HWND w, LPARAM found) {
    wchar_t name[32] = {};
    GetClassNameW(w, name, 32);
    if (lstrcmpiW(name, L"ComboLBox") != 0 || !IsWindowVisible(w)) return TRUE;
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(ListImage, AddressListAndPortPopupThroughCompiledCodeAndRealInput) {
    const fs::path folder = fs::path(testProgramFolder()) / "scratch" / "lists";
    fs::remove_all(folder);
    fs::create_directories(folder);
    ChildProcess child;
    ASSERT_TRUE(startSiblingProgram("list_images\\lists.exe", "", child, folder.string()));
    HWND window = waitForWindow(L"アドレス帳");
    ASSERT_NE(window, nullptr);
    SetForegroundWindow(window);
    Sleep(300);
    HWND list = childOfClass(window, L"VL_Pane");
    HWND combo = childOfClass(window, L"ComboBox");
    ASSERT_NE(list, nullptr);
    ASSERT_NE(combo, nullptr);

    // The first row starts at the top of the list: a click there, and a
    // second one on the now selected row within the double-click time.
    POINT row0{30, 5};
    ClientToScreen(list, &row0);
    moveTo(row0);
    click();
    click();

    // Drop the port list down and choose its last row.
    RECT comboRect;
    GetWindowRect(combo, &comboRect);
    moveTo({comboRect.left + 20, comboRect.top + 10});
    click();
    Sleep(300);
    // The dropped list is a window of its own: found by its class, as
    // another process's combo box cannot be asked for it.
    HWND dropped = nullptr;
    for (int i = 0; i < 40 && !dropped; ++i, Sleep(50)) {
        EnumWindows(findDroppedList, reinterpret_cast<LPARAM>(&dropped));
    }
    ASSERT_NE(dropped, nullptr) << "the drop-down list of the pop-up";
    RECT droppedRect{};
    GetWindowRect(dropped, &droppedRect);
    const auto itemHeight = static_cast<LONG>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    moveTo({droppedRect.left + 20, droppedRect.top + itemHeight * 3 + itemHeight / 2});
    click();
    Sleep(300);
    EXPECT_TRUE(writeScreenshot("list_image_screenshot.png"));

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(child.wait(), 0u);
    // Compiled code: 3 columns, the default heading, the Japanese cells read
    // back exactly, the removed selected row left nothing selected (after a
    // Change with ListIndex -1), ListIndex set twice to the same port raised
    // Change twice. Then the input: a click (Change 0), a double click, the
    // fourth port (Change 3).
    EXPECT_EQ(readFile(folder / "lists_result.txt"),
              "columns=3|heading2=1|rows=3|cell=1|afterRemove=-1|portRows=4|portText=1|"
              "afterInput=0|port=4|trace=C1C-1P2P2|C0D0P3");
}

}  // namespace
