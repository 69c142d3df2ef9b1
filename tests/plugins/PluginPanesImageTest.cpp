// The appearance controls in a window of an image built by the project's
// tool, run by sutakiba.exe and driven with real mouse and keyboard input from
// this process: the drop-down menu of a bevel button, a toggle button, what
// the controls draw on the screen, and screenshots of them left in the build
// tree (plugin_panes.png, bevel_menu_open.png, bevel_menu_checked.png).
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/RealInput.h"
#include "support/MessageBoxWatcher.h"
#include "support/PngWriter.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

constexpr DWORD kWaitMs = 30000;

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

template <typename Condition>
bool waitFor(Condition condition, DWORD timeoutMs = kWaitMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (condition()) return true;
        Sleep(50);
    }
    return condition();
}

bool cursorAt(POINT screen) {
    POINT now;
    GetCursorPos(&now);
    return now.x == screen.x && now.y == screen.y;
}

// Moves the pointer and waits until it stays there: a motion still on its way
// from an earlier move can put it back for a moment.
void moveTo(POINT screen) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        testing_support::sendMouseAt(screen, 0);
        int steady = 0;
        for (int i = 0; i < 20 && steady < 3; ++i) {
            Sleep(60);
            steady = cursorAt(screen) ? steady + 1 : 0;
        }
        if (steady >= 3) break;
    }
}

// Buttons are pressed and released at the pointer's place, given again, so
// that the event cannot carry an older position.
POINT gPointer{};

void press() {
    testing_support::sendMouseAt(gPointer, MOUSEEVENTF_LEFTDOWN);
    Sleep(150);
}

void release() {
    testing_support::sendMouseAt(gPointer, MOUSEEVENTF_LEFTUP);
    Sleep(150);
}

void moveAndKeep(POINT screen) {
    gPointer = screen;
    moveTo(screen);
}

void clickAt(POINT screen) {
    moveAndKeep(screen);
    press();
    release();
}

// Press and release in one go, at the given place: both are queued before
// the control sees the press, so a control that repeats while held cannot
// repeat yet.
void quickClickAt(POINT screen) {
    moveAndKeep(screen);
    INPUT click[2] = {testing_support::absoluteMouseInput(screen, MOUSEEVENTF_LEFTDOWN),
                      testing_support::absoluteMouseInput(screen, MOUSEEVENTF_LEFTUP)};
    SendInput(2, click, sizeof(INPUT));
    Sleep(150);
}

void pressKey(WORD key) {
    testing_support::sendKeyChord({key});
    Sleep(120);
}

HWND openPopupMenu() {
    HWND menu = nullptr;
    waitFor([&] {
        menu = FindWindowW(L"#32768", nullptr);
        return menu && IsWindowVisible(menu);
    });
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

bool popupMenuGone() {
    return waitFor([] {
        HWND menu = FindWindowW(L"#32768", nullptr);
        return !menu || !IsWindowVisible(menu);
    });
}

COLORREF screenPixel(POINT screen) {
    HDC dc = GetDC(nullptr);
    const COLORREF colour = GetPixel(dc, screen.x, screen.y);
    ReleaseDC(nullptr, dc);
    return colour;
}

// Whether any pixel of the rectangle (screen coordinates) is near black.
bool darkPixelIn(POINT topLeft, POINT bottomRight) {
    HDC dc = GetDC(nullptr);
    bool found = false;
    for (int y = topLeft.y; y < bottomRight.y && !found; ++y) {
        for (int x = topLeft.x; x < bottomRight.x && !found; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            found = GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80;
        }
    }
    ReleaseDC(nullptr, dc);
    return found;
}

// The image's window, started in a scratch folder of its own.
class PanesImage : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::path(testProgramFolder()) / "scratch" / "panes";
        fs::remove_all(folder);
        fs::create_directories(folder);
        ASSERT_TRUE(startSiblingProgram("plugin_panes.exe", "", child, folder.string()));
        ASSERT_TRUE(waitFor([&] {
            window = FindWindowW(L"VLWindow", L"PluginPanes");
            return window && IsWindowVisible(window) && result() == "open;";
        })) << "the window did not open; result: " << result();
        SetForegroundWindow(window);
        Sleep(800);  // first painting of every pane
    }
    void TearDown() override {
        if (window && IsWindow(window)) {
            PostMessageW(window, WM_CLOSE, 0, 0);
            EXPECT_EQ(child.wait(kWaitMs), 0u) << "closing the last window ends the run";
        }
    }

    std::string result() const { return readText(folder / "panes_result.txt"); }
    bool resultBecomes(const std::string& expected) {
        return waitFor([&] { return result() == expected; });
    }
    POINT screen(int x, int y) const {
        POINT p{x, y};
        ClientToScreen(window, &p);
        return p;
    }
    std::string artifact(const char* name) const { return (fs::path(testProgramFolder()) / name).string(); }

    fs::path folder;
    ChildProcess child;
    HWND window = nullptr;
};

TEST_F(PanesImage, EveryControlDrawsItselfAndTheBevelsFollowTheBevelWidth) {
    EXPECT_TRUE(writeScreenshot(artifact("plugin_panes.png")));
    // The recipients button: the black frame, then a highlight ring.
    EXPECT_EQ(screenPixel(screen(20, 30)), RGB(0, 0, 0));
    EXPECT_EQ(screenPixel(screen(21, 30)), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(screenPixel(screen(22, 30)), GetSysColor(COLOR_BTNFACE));
    // The icon button has Bevel 2: three rings, then the face, then the
    // (blank, black) icon at IconDX from the inner left edge.
    for (int x = 291; x <= 293; ++x) EXPECT_EQ(screenPixel(screen(x, 30)), GetSysColor(COLOR_BTNHIGHLIGHT)) << x;
    EXPECT_EQ(screenPixel(screen(294, 30)), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(screenPixel(screen(300, 30)), RGB(0, 0, 0));
    EXPECT_EQ(screenPixel(screen(315, 30)), RGB(0, 0, 0));
    // A disabled button draws no rings.
    EXPECT_EQ(screenPixel(screen(21, 70)), GetSysColor(COLOR_BTNFACE));
    // Caption right of the icon (placement 2): its CaptionAlign 1 (right) has
    // no effect, so the text starts after the icon and stays off the right.
    EXPECT_TRUE(darkPixelIn(screen(322, 22), screen(340, 44)));
    EXPECT_FALSE(darkPixelIn(screen(360, 22), screen(393, 44)));
    // The image well shows its (black) picture centred.
    EXPECT_EQ(screenPixel(screen(146, 112)), RGB(0, 0, 0));
    EXPECT_EQ(screenPixel(screen(135, 100)), GetSysColor(COLOR_WINDOW));
}

TEST_F(PanesImage, SmallControlsRaiseTheirEventsFromTheirOwnAreas) {
    clickAt(screen(25, 111));  // the disclosure triangle
    EXPECT_TRUE(resultBecomes("open;triangle=1;")) << result();
    quickClickAt(screen(76, 105));  // the upper half of the little arrows
    quickClickAt(screen(76, 118));  // the lower half
    EXPECT_TRUE(resultBecomes("open;triangle=1;up;down;")) << result();
    // The image well passes its mouse on in window coordinates; the press
    // was taken, so the release outside reaches it too.
    moveAndKeep(screen(140, 100));
    press();
    moveAndKeep(screen(200, 170));
    release();
    EXPECT_TRUE(resultBecomes("open;triangle=1;up;down;welldown=140,100;wellup=200,170;")) << result();
}

// Where the open menu shows its check mark: on the first row ("A") or the
// last ("B"), read from the screen left of the row texts.
enum class Checked { kFirst, kLast, kUnclear };
Checked checkedRow(const RECT& menu) {
    const bool first = darkPixelIn(POINT{menu.left + 3, menu.top + 3}, POINT{menu.left + 16, menu.top + 16});
    const bool last = darkPixelIn(POINT{menu.left + 3, menu.bottom - 16}, POINT{menu.left + 16, menu.bottom - 3});
    if (first != last) return first ? Checked::kFirst : Checked::kLast;
    return Checked::kUnclear;
}

TEST_F(PanesImage, ChoosingARowWithTheMouseSetsMenuValueAndRaisesAction) {
    clickAt(screen(85, 33));
    HWND menu = openPopupMenu();
    ASSERT_NE(menu, nullptr) << "the drop-down menu opens";
    Sleep(300);
    EXPECT_TRUE(writeScreenshot(artifact("bevel_menu_open.png")));
    RECT r;
    GetWindowRect(menu, &r);
    EXPECT_LE(std::abs(r.left - screen(20, 46).x), 2) << "at the button's bottom-left corner";
    EXPECT_LE(std::abs(r.top - screen(20, 46).y), 2);
    EXPECT_EQ(checkedRow(r), Checked::kFirst) << "MenuValue 0 checks the first row";
    clickAt(POINT{r.left + 20, r.bottom - 8});  // "B", the last row
    EXPECT_TRUE(resultBecomes("open;menu=2 list1=nil list2=B;")) << result();

    // Dismissed with Escape: nothing is chosen and nothing raised, MenuValue
    // stays 2, so the next menu checks "B".
    clickAt(screen(85, 33));
    menu = openPopupMenu();
    ASSERT_NE(menu, nullptr);
    pressKey(VK_ESCAPE);
    ASSERT_TRUE(popupMenuGone());
    clickAt(screen(85, 33));
    menu = openPopupMenu();
    ASSERT_NE(menu, nullptr);
    Sleep(300);
    EXPECT_TRUE(writeScreenshot(artifact("bevel_menu_checked.png")));
    GetWindowRect(menu, &r);
    EXPECT_EQ(checkedRow(r), Checked::kLast);
    EXPECT_EQ(result(), "open;menu=2 list1=nil list2=B;");
    clickAt(POINT{r.left + 20, r.top + 8});  // "A"
    EXPECT_TRUE(resultBecomes("open;menu=2 list1=nil list2=B;menu=0 list1=nil list2=B;")) << result();
}

TEST_F(PanesImage, AToggleButtonChangesValuePerCompletedClickOnly) {
    const POINT toggle = screen(220, 33);
    clickAt(toggle);
    EXPECT_TRUE(resultBecomes("open;toggle=1;")) << result();
    Sleep(300);
    // Pressed in: the face is drawn in the shadow colour.
    EXPECT_EQ(screenPixel(screen(250, 40)), GetSysColor(COLOR_BTNSHADOW));
    clickAt(toggle);
    EXPECT_TRUE(resultBecomes("open;toggle=1;toggle=0;")) << result();

    // Pressed, dragged outside and released there: no Action, no change.
    moveAndKeep(toggle);
    press();
    moveAndKeep(screen(220, 90));
    release();
    clickAt(toggle);
    EXPECT_TRUE(resultBecomes("open;toggle=1;toggle=0;toggle=1;")) << result();
}

}  // namespace
