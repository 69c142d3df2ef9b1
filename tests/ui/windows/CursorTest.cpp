// Mouse cursors: resource words, the application, control and window
// choices, the capture holder.
#include "WindowTestProject.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ui/ControlEntries.h"
#include "ui/MouseCursors.h"

using namespace runtime;
using namespace window_tests;

namespace {

// The cursor the system shows, read the way another program would.
HCURSOR shownCursor() {
    CURSORINFO info{};
    info.cbSize = sizeof(info);
    return GetCursorInfo(&info) ? info.hCursor : nullptr;
}

HCURSOR stockCursor(LPCSTR id) { return LoadCursorA(nullptr, id); }

// Holds a new MouseCursor object (a resource word) for the test's length.
struct CursorObject {
    ObjectRef ref;
    explicit CursorObject(uint32_t word) : ref(newMouseCursor(word)) {}
    ObjectHandle get() const { return ref.get(); }
};

// Clears every cursor setting of the test window's objects and of the
// application.
void clearCursors(ObjectHandle window, std::initializer_list<ObjectHandle> controls) {
    appMouseCursorSetter(nullptr, nullptr);
    formMouseCursorSetter(window, nullptr);
    for (ObjectHandle c : controls) controlMouseCursorSetter(c, nullptr);
}

TEST(Cursors, ResourceWordsNameSystemCursorsOrNothing) {
    struct Case {
        uint32_t word;
        LPCSTR expected;  // null: the object sets no cursor
    };
    for (const Case& c : {Case{32512, IDC_ARROW}, Case{32513, IDC_IBEAM}, Case{32514, IDC_WAIT}, Case{32515, IDC_CROSS},
                          Case{32649, IDC_HAND}, Case{128, nullptr}, Case{0, nullptr}, Case{0x10000 + 32514, nullptr}}) {
        CursorObject cursor(c.word);
        EXPECT_EQ(systemCursor(cursor.get()), c.expected ? stockCursor(c.expected) : nullptr) << c.word;
    }
    EXPECT_EQ(systemCursor(nullptr), nullptr);
    // An object of another class is no cursor, whatever its first word holds.
    ObjectRef picture = ObjectRef::adopt(RuntimeProjectObject(pictures.red));
    EXPECT_EQ(systemCursor(picture.get()), nullptr);
    // The stock cursors of the entry table.
    struct Stock {
        ObjectHandle (*get)();
        LPCSTR expected;
    };
    for (const Stock& stock : {Stock{getArrowCursor, IDC_ARROW}, Stock{getWatchCursor, IDC_WAIT},
                               Stock{getIBeamCursor, IDC_IBEAM}}) {
        ObjectRef cursor = ObjectRef::adopt(stock.get());
        EXPECT_EQ(cursor->refCount, 1);
        EXPECT_EQ(systemCursor(cursor.get()), stockCursor(stock.expected));
    }
}

TEST(Cursors, TheShownCursorFollowsApplicationThenControlThenWindow) {
    std::vector<LayoutControl> controls{
        control(ix.traceControl, "Pad", {{"Left", "20"}, {"Top", "20"}, {"Width", "80"}, {"Height", "40"}}),
        control(ix.editControl, "Entry", {{"Left", "20"}, {"Top", "100"}, {"Width", "120"}, {"Height", "24"}})};
    OpenWindow w(windowLayout(ix.testWindow, controls, {{"Placement", "9"}}));
    ASSERT_NE(w.object, nullptr);
    runPasses(3);
    ObjectHandle pad = w.fetch("Pad");
    ObjectHandle entry = w.fetch("Entry");
    ASSERT_NE(pad, nullptr);
    ASSERT_NE(entry, nullptr);
    CursorObject watch(32514), ibeam(32513), cross(32515), hand(32649), unknown(128);
    const POINT outside = screenPoint(w.handle(), 360, 20);
    const POINT overWindow = screenPoint(w.handle(), 200, 160);
    const POINT overPad = screenPoint(w.handle(), 40, 40);
    const POINT overEntry = screenPoint(w.handle(), 40, 110);

    struct Case {
        const char* what;
        ObjectHandle app, window, pad, entry;
        POINT at;
        LPCSTR expected;
    };
    const Case cases[] = {
        {"nothing set: the arrow", nullptr, nullptr, nullptr, nullptr, overWindow, IDC_ARROW},
        {"nothing set: a system control keeps its own", nullptr, nullptr, nullptr, nullptr, overEntry, IDC_IBEAM},
        {"the window's own", nullptr, watch.get(), nullptr, nullptr, overWindow, IDC_WAIT},
        {"the window's, over a control without one", nullptr, watch.get(), nullptr, nullptr, overPad, IDC_WAIT},
        {"the control's before the window's", nullptr, watch.get(), hand.get(), nullptr, overPad, IDC_HAND},
        {"the control's over a system control", nullptr, nullptr, nullptr, cross.get(), overEntry, IDC_CROSS},
        {"the application's before all", cross.get(), watch.get(), hand.get(), nullptr, overPad, IDC_CROSS},
        {"the application's over the window", cross.get(), watch.get(), nullptr, nullptr, overWindow, IDC_CROSS},
        {"a cursor that names nothing counts as none", unknown.get(), unknown.get(), nullptr, nullptr, overWindow,
         IDC_ARROW},
    };
    for (const Case& c : cases) {
        // Set while the pointer is elsewhere: the system asks the window as
        // the pointer comes in.
        moveMouse(outside);
        appMouseCursorSetter(nullptr, c.app);
        formMouseCursorSetter(w.object, c.window);
        controlMouseCursorSetter(pad, c.pad);
        controlMouseCursorSetter(entry, c.entry);
        moveMouse(c.at);
        runPasses(2);
        EXPECT_EQ(shownCursor(), stockCursor(c.expected)) << c.what;
    }

    // A setting made while the pointer rests shows at once.
    clearCursors(w.object, {pad, entry});
    moveMouse(overWindow);
    runPasses(2);
    ASSERT_EQ(shownCursor(), stockCursor(IDC_ARROW));
    formMouseCursorSetter(w.object, watch.get());
    EXPECT_EQ(shownCursor(), stockCursor(IDC_WAIT));
    appMouseCursorSetter(nullptr, ibeam.get());
    EXPECT_EQ(shownCursor(), stockCursor(IDC_IBEAM));
    appMouseCursorSetter(nullptr, nullptr);
    EXPECT_EQ(shownCursor(), stockCursor(IDC_WAIT));
    clearCursors(w.object, {pad, entry});
}

TEST(Cursors, TheCaptureHolderChoosesBeforeTheApplication) {
    OpenWindow w(windowLayout(ix.testWindow, {}, {{"Placement", "9"}}));
    ASSERT_NE(w.object, nullptr);
    runPasses(3);
    CursorObject watch(32514), cross(32515);
    const POINT start = screenPoint(w.handle(), 60, 60);
    moveMouse(start);
    formMouseCursorSetter(w.object, watch.get());
    appMouseCursorSetter(nullptr, cross.get());
    ASSERT_EQ(shownCursor(), stockCursor(IDC_CROSS));
    gTakeMouse = true;
    INPUT press{};
    press.type = INPUT_MOUSE;
    press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &press, sizeof(INPUT));
    for (int i = 0; i < 200 && GetCapture() != w.handle(); ++i) {
        runPasses(1);
        Sleep(5);
    }
    EXPECT_EQ(GetCapture(), w.handle());
    EXPECT_EQ(shownCursor(), stockCursor(IDC_WAIT));  // the holder's, not the application's
    press.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &press, sizeof(INPUT));
    for (int i = 0; i < 200 && GetCapture(); ++i) {
        runPasses(1);
        Sleep(5);
    }
    gTakeMouse = false;
    EXPECT_EQ(GetCapture(), nullptr);
    // Once released, the application's cursor is shown again.
    moveMouse({start.x + 5, start.y + 5});
    runPasses(2);
    EXPECT_EQ(shownCursor(), stockCursor(IDC_CROSS));
    clearCursors(w.object, {});
}

}  // namespace
