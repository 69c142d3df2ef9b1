// Native windows: frames, placements, geometry, closing, modality, mouse
// and keys, size limits and the window list.
#include "WindowTestProject.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "objects/LoopEntries.h"
#include "ui/NativeWindow.h"
#include "ui/Pane.h"
#include "ui/Timer.h"
#include "ui/WindowFields.h"

using namespace runtime;
using namespace window_tests;

namespace {

TEST(NativeWindows, FrameKindsGiveTheirStyles) {
    struct Case {
        const char* frame;
        const char* grow;
        DWORD style, absentStyle, exStyle;
    };
    const Case cases[] = {
        {"0", "True", WS_CAPTION | WS_THICKFRAME | WS_SYSMENU, WS_POPUP, 0},
        {"1", "True", WS_POPUP | WS_CAPTION, WS_THICKFRAME, WS_EX_DLGMODALFRAME},
        {"2", "True", WS_POPUP | WS_DLGFRAME, WS_THICKFRAME, 0},
        {"3", "True", WS_CAPTION | WS_THICKFRAME, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST},
        {"4", "False", WS_POPUP | WS_BORDER, WS_THICKFRAME, 0},
        {"6", "True", WS_CAPTION | WS_SYSMENU, WS_THICKFRAME, 0},
        {"7", "True", WS_POPUP | WS_THICKFRAME, 0, 0},
        {"12", "False", WS_CAPTION, WS_POPUP | WS_THICKFRAME, 0},  // outside 0 to 7: as 0
    };
    for (const Case& c : cases) {
        OpenWindow w(windowLayout(ix.window, {}, {{"Frame", c.frame}, {"GrowIcon", c.grow}}));
        ASSERT_NE(w.object, nullptr) << c.frame;
        const auto style = static_cast<DWORD>(GetWindowLongA(w.handle(), GWL_STYLE));
        const auto ex = static_cast<DWORD>(GetWindowLongA(w.handle(), GWL_EXSTYLE));
        EXPECT_EQ(style & c.style, c.style) << "Frame " << c.frame;
        EXPECT_EQ(style & c.absentStyle, 0u) << "Frame " << c.frame;
        EXPECT_EQ(ex & c.exStyle, c.exStyle) << "Frame " << c.frame;
    }
}

TEST(NativeWindows, PlacementsGiveTheirRectangles) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        const char* frame;
        const char* placement;
        int left, top;
    };
    const Case cases[] = {
        {"0", "0", 10, 50},                                   // the document kind's default, 4
        {"0", "1", (sw - 300) / 2, (sh - 200) / 4},           // 1 is 2
        {"3", "0", 4, 100},                                   // the floating kind's default, 0
        {"0", "3", (sw - 300) / 2, (sh - 200) / 4},
        {"0", "9", 0, 0},                                     // unknown: unchanged
    };
    for (const Case& c : cases) {
        OpenWindow w(windowLayout(ix.window, {}, {{"Frame", c.frame}, {"Placement", c.placement}}));
        ASSERT_NE(w.object, nullptr);
        POINT origin{0, 0};
        ClientToScreen(w.handle(), &origin);
        EXPECT_EQ(origin.x, c.left) << c.frame << "/" << c.placement;
        EXPECT_EQ(origin.y, c.top) << c.frame << "/" << c.placement;
        EXPECT_EQ(windowPosGetter(w.object, 0), c.left);
        RECT client;
        GetClientRect(w.handle(), &client);
        EXPECT_EQ(client.right, 300);
        EXPECT_EQ(client.bottom, 200);
    }
}

TEST(NativeWindows, WidthChangesTheScreenAtTheNextIdlePassAndLeftMovesAtOnce) {
    OpenWindow w(windowLayout(ix.testWindow));
    ASSERT_NE(w.object, nullptr);
    runPasses(2);
    gTrace.clear();
    windowPosSetter(w.object, 2, 360);
    RECT client;
    GetClientRect(w.handle(), &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(gTrace, "");
    EXPECT_EQ(windowPosGetter(w.object, 2), 360);
    runPasses(1);
    GetClientRect(w.handle(), &client);
    EXPECT_EQ(client.right, 360);
    EXPECT_NE(gTrace.find("resized"), std::string::npos);

    gTrace.clear();
    const int32_t left = windowPosGetter(w.object, 0);
    windowPosSetter(w.object, 0, left + 20);
    EXPECT_EQ(gTrace, "moved ");  // before anything moved on screen
    POINT origin{0, 0};
    ClientToScreen(w.handle(), &origin);
    EXPECT_EQ(origin.x, left);
    runPasses(1);
    origin = {0, 0};
    ClientToScreen(w.handle(), &origin);
    EXPECT_EQ(origin.x, left + 20);
}

TEST(NativeWindows, CancelCloseKeepsTheWindowOpen) {
    OpenWindow w(windowLayout(ix.testWindow));
    ASSERT_NE(w.object, nullptr);
    gRefuseClose = true;
    RuntimeCloseWindow(w.object);
    EXPECT_NE(windowFields(w.object).native, nullptr);
    SendMessageW(w.handle(), WM_CLOSE, 0, 0);  // the close box
    EXPECT_NE(windowFields(w.object).native, nullptr);
    ApplicationQuit();  // refused: returns
    EXPECT_NE(windowFields(w.object).native, nullptr);
    gRefuseClose = false;
    gTrace.clear();
    SendMessageW(w.handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(windowFields(w.object).native, nullptr);
    EXPECT_EQ(gTrace, "W:close ");
}

ObjectHandle gModal = nullptr;
void CALLBACK hideModalLater(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    RuntimeHideWindow(gModal);
}

TEST(NativeWindows, ShowModalReturnsWhenTheWindowIsHidden) {
    OpenWindow w(windowLayout(ix.testWindow, {}, {{"Frame", "1"}}));
    ASSERT_NE(w.object, nullptr);
    gModal = w.object;
    SetTimer(nullptr, 0, 50, hideModalLater);
    RuntimeShowModal(w.object);
    EXPECT_NE(windowFields(w.object).native, nullptr);
    EXPECT_FALSE(IsWindowVisible(w.handle()));
}

TEST(NativeWindows, ClicksOnAnotherWindowDuringAModalOneAreSwallowed) {
    OpenWindow other(windowLayout(ix.testWindow));
    OpenWindow modal(windowLayout(ix.testWindow, {}, {{"Frame", "1"}}));
    ASSERT_NE(modal.object, nullptr);
    runPasses(3);
    EXPECT_EQ(GetWindow(modal.handle(), GW_OWNER), other.handle());  // owned by the document window
    const LRESULT answer = SendMessageW(other.handle(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(other.handle()),
                                        MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(answer, MA_NOACTIVATEANDEAT);
    EXPECT_NE(SendMessageW(modal.handle(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(modal.handle()),
                           MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_NOACTIVATEANDEAT);
}

TEST(NativeWindows, RealClicksDuringAModalWindowNeverReachTheOtherWindow) {
    OpenWindow other(windowLayout(ix.testWindow, {}, {{"Placement", "9"}}));
    ASSERT_NE(other.object, nullptr);
    runPasses(3);
    gTrace.clear();
    clickAt(screenPoint(other.handle(), 150, 150));
    EXPECT_NE(gTrace.find("down"), std::string::npos);  // without a modal window the click arrives
    {
        OpenWindow modal(windowLayout(ix.window, {}, {{"Frame", "1"}, {"Placement", "9"}, {"Width", "100"}, {"Height", "60"}}));
        ASSERT_NE(modal.object, nullptr);
        runPasses(3);
        gTrace.clear();
        clickAt(screenPoint(other.handle(), 250, 150));
        EXPECT_EQ(gTrace.find("down"), std::string::npos) << gTrace;
    }
}

TEST(NativeWindows, MouseEnterMoveExitAndDragAreFoundByPolling) {
    std::vector<LayoutControl> controls{control(ix.traceControl, "Pad",
                                                {{"Left", "200"}, {"Top", "100"}, {"Width", "60"}, {"Height", "60"}})};
    OpenWindow w(windowLayout(ix.testWindow, controls, {{"Placement", "9"}}));
    ASSERT_NE(w.object, nullptr);
    // A point of the screen right of the window.
    const POINT outside = screenPoint(w.handle(), 360, 20);
    moveMouse(outside);
    runPasses(3);
    gTrace.clear();
    // Wine's cursor position can step back to a position already left while
    // older mouse messages are taken; what the polling makes of the path is
    // checked by its order and balance.
    auto count = [](const std::string& text, const std::string& word) {
        size_t n = 0;
        for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
        return n;
    };
    moveMouse(screenPoint(w.handle(), 20, 20));
    ASSERT_GE(gTrace.size(), 5u);
    EXPECT_EQ(gTrace.substr(gTrace.size() - 5), "move ") << gTrace;  // the window's move comes last
    EXPECT_EQ(gTrace.find("exit "), std::string::npos) << gTrace;
    gTrace.clear();
    const POINT pad = screenPoint(w.handle(), 210, 110);
    moveMouse(pad);
    EXPECT_EQ(gTrace.substr(0, 15), "enter:Pad move ");
    EXPECT_EQ(count(gTrace, "enter:Pad "), count(gTrace, "exit:Pad ") + 1) << gTrace;
    gTrace.clear();
    runPasses(3);
    EXPECT_EQ(gTrace, "");  // the mouse did not move
    moveMouse(outside);
    ASSERT_GE(gTrace.size(), 5u);
    EXPECT_EQ(gTrace.substr(0, 5), "exit ");
    EXPECT_EQ(gTrace.substr(gTrace.size() - 5), "exit ");
    EXPECT_EQ(count(gTrace, "exit "), count(gTrace, "enter ") + 1) << gTrace;

    // A MouseDown handler that returns True gets the drag and the release.
    gTakeMouse = true;
    const POINT start = screenPoint(w.handle(), 30, 30);
    moveMouse(start);
    gTrace.clear();
    INPUT press{};
    press.type = INPUT_MOUSE;
    press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &press, sizeof(INPUT));
    runPasses(3);
    moveMouse({start.x + 15, start.y + 5});
    press.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &press, sizeof(INPUT));
    runPasses(3);
    gTakeMouse = false;
    EXPECT_EQ(gTrace.substr(0, 5), "down ");
    EXPECT_NE(gTrace.find("drag "), std::string::npos) << gTrace;
    EXPECT_NE(gTrace.find("up "), std::string::npos) << gTrace;
    EXPECT_EQ(gTrace.find("move "), std::string::npos) << gTrace;  // the capture holder drags instead

    // One that returns False gets neither for that press.
    moveMouse(start);
    gTrace.clear();
    press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &press, sizeof(INPUT));
    runPasses(3);
    moveMouse({start.x + 15, start.y + 5});
    press.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &press, sizeof(INPUT));
    runPasses(3);
    EXPECT_EQ(gTrace.substr(0, 5), "down ");
    EXPECT_EQ(gTrace.find("drag "), std::string::npos) << gTrace;
    EXPECT_EQ(gTrace.find("up "), std::string::npos) << gTrace;
}

TEST(NativeWindows, KeysMoveTheFocusAndPushDefaultAndCancelButtons) {
    std::vector<LayoutControl> controls;
    int x = 10;
    for (const char* name : {"First", "OK", "Cancel"}) {
        controls.push_back(control(ix.traceControl, name,
                                   {{"Left", std::to_string(x)}, {"Top", "10"}, {"Width", "60"}, {"Height", "24"}}));
        x += 70;
    }
    OpenWindow w(windowLayout(ix.testWindow, controls));
    ASSERT_NE(w.object, nullptr);
    runPasses(3);
    SetForegroundWindow(w.handle());
    SetActiveWindow(w.handle());
    runPasses(2);
    NativeWindow* native = windowFields(w.object).native;
    const std::vector<Pane*> panes = native->panes();
    ASSERT_EQ(panes.size(), 3u);
    native->setFocusedPane(panes[0]);
    SetFocus(panes[0]->handle());
    auto key = [&](WPARAM vk) {
        PostMessageW(GetFocus(), WM_KEYDOWN, vk, 1);
        runPasses(2);
    };
    key(VK_TAB);
    EXPECT_EQ(native->focusedPane(), panes[1]);
    EXPECT_EQ(GetFocus(), panes[1]->handle());
    key(VK_TAB);
    key(VK_TAB);
    EXPECT_EQ(native->focusedPane(), panes[0]);  // round to the first again
    gTrace.clear();
    key(VK_RETURN);  // the focus is on a push button: that one
    EXPECT_EQ(gTrace, "push:First ");
    gTrace.clear();
    key(VK_ESCAPE);
    EXPECT_EQ(gTrace, "push:Cancel ");
}

TEST(NativeWindows, SizeLimitsAndTheWindowList) {
    OpenWindow w(windowLayout(ix.testWindow, {control(ix.rectControl, "a"), control(ix.timer, "t", {{"Period", "750"}})},
                              {{"MinWidth", "250"}, {"GrowIcon", "True"}, {"MaxHeight", "260"}}));
    ASSERT_NE(w.object, nullptr);
    runPasses(2);
    SetWindowPos(w.handle(), nullptr, 0, 0, 60, 600, SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(w.handle(), &client);
    EXPECT_EQ(client.right, 250);
    EXPECT_EQ(client.bottom, 260);
    EXPECT_EQ(windowPosGetter(w.object, 2), 250);  // the bounds follow the screen

    EXPECT_EQ(windowControlCountGetter(w.object), 1);  // the timer is no control
    EXPECT_EQ(timerPeriodGetter(w.fetch("t")), 750);   // but is registered, with its settings
    ObjectHandle first = windowControl(w.object, 0);
    EXPECT_EQ(nameOf(first), "a");
    RuntimeUnlockObject(first);
    EXPECT_EQ(windowControl(w.object, 1), nullptr);
    ASSERT_EQ(getWindowCount(), 1);
    ObjectHandle listed = getWindow(0);
    EXPECT_EQ(listed, w.object);
    RuntimeUnlockObject(listed);
    EXPECT_EQ(getWindow(1), nullptr);
}

}  // namespace
