// Menus and keys: shortcuts, menu commands and their handlers, the
// menu-bar refresh, references and clones, KeyDown.
#include "WindowTestProject.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "support/RealInput.h"
#include "ui/Menus.h"

using namespace runtime;
using namespace window_tests;

namespace {

TEST(Menus, ShortcutRunsTheItemAndHandlersAreSearchedInTheWindowsOwnClass) {
    OpenWindow w(windowLayout(ix.testWindow));
    ASSERT_NE(w.object, nullptr);
    const UINT saveAll = commandForShortcut("Ctrl+Shft+S");
    ASSERT_NE(saveAll, 0u);
    EXPECT_EQ(commandForShortcut("ctrl+shft+s"), saveAll);
    EXPECT_NE(commandForShortcut("Ctrl+O"), 0u);  // a letter key stands for Ctrl + the letter
    EXPECT_EQ(commandForShortcut("Ctrl+S"), 0u);
    gTrace.clear();
    SendMessageW(w.handle(), WM_COMMAND, saveAll, 0);
    EXPECT_EQ(gTrace, "window:SaveAll ");

    // A window whose class inherits the handler does not get the command.
    OpenWindow sub(windowLayout(ix.subWindow));
    ASSERT_NE(sub.object, nullptr);
    runPasses(2);
    SetForegroundWindow(sub.handle());
    SetActiveWindow(sub.handle());
    ASSERT_EQ(GetActiveWindow(), sub.handle());
    gTrace.clear();
    SendMessageW(sub.handle(), WM_COMMAND, saveAll, 0);
    EXPECT_EQ(gTrace, "app:SaveAll ");
}

TEST(Menus, TypedShortcutReachesTheMenuCommand) {
    OpenWindow w(windowLayout(ix.testWindow));
    ASSERT_NE(w.object, nullptr);
    SetForegroundWindow(w.handle());
    SetActiveWindow(w.handle());
    SetFocus(w.handle());
    runPasses(3);
    gTrace.clear();
    testing_support::sendKeyChord({VK_CONTROL, VK_SHIFT, 'S'});
    for (int i = 0; i < 50 && gTrace.find("SaveAll") == std::string::npos; ++i) {
        runPasses(1);
        Sleep(10);
    }
    EXPECT_EQ(gTrace, "window:SaveAll ");
}

// A window that holds the keyboard focus itself hears keys too (a box without
// focusable controls has no other way to learn of one); True from its
// KeyDown keeps the key from the window's own keys (Escape, its cancel button).
TEST(Keys, AWindowHoldingTheFocusHearsKeyDown) {
    const struct {
        bool take;
        std::string trace;
    } cases[] = {{false, "key:27 push:Cancel "}, {true, "key:27 "}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.trace);
        OpenWindow w(windowLayout(
            ix.keyWindow,
            {control(ix.traceControl, "Cancel", {{"Left", "10"}, {"Top", "10"}, {"Width", "80"}, {"Height", "24"}})}));
        ASSERT_NE(w.object, nullptr);
        SetForegroundWindow(w.handle());
        SetActiveWindow(w.handle());
        SetFocus(w.handle());
        runPasses(3);
        ASSERT_EQ(GetFocus(), w.handle());
        gTakeKey = c.take;
        gTrace.clear();
        testing_support::sendKeyChord({VK_ESCAPE});
        for (int i = 0; i < 100 && gTrace != "key:27 push:Cancel "; ++i) {
            runPasses(1);
            Sleep(5);
        }
        gTakeKey = false;
        EXPECT_EQ(gTrace, c.trace);
    }
}

TEST(Menus, RefreshDisablesItemsThatNoHandlerEnables) {
    OpenWindow w(windowLayout(ix.testWindow));
    ASSERT_NE(w.object, nullptr);
    HMENU bar = GetMenu(w.handle());
    ASSERT_NE(bar, nullptr);
    const UINT saveAll = commandForShortcut("Ctrl+Shft+S");
    const UINT other = commandForShortcut("Ctrl+O");
    gEnableSaveAll = true;
    SendMessageW(w.handle(), WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
    EXPECT_EQ(GetMenuState(bar, saveAll, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_NE(GetMenuState(bar, other, MF_BYCOMMAND) & MF_GRAYED, 0u);
    gEnableSaveAll = false;
    SendMessageW(w.handle(), WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
    EXPECT_NE(GetMenuState(bar, saveAll, MF_BYCOMMAND) & MF_GRAYED, 0u);
    gEnableSaveAll = true;
}

TEST(Menus, ReferencesAndArrayClones) {
    StringValue name = StringValue::fromCString("SaveAll");
    ObjectHandle item = RuntimeMenuReference(name.get());
    ASSERT_NE(item, nullptr);
    ObjectHandle clone = RuntimeCloneMenu(item);
    ASSERT_NE(clone, nullptr);
    ObjectHandle found = RuntimeMenuArrayReference(name.get(), 0);
    EXPECT_EQ(found, clone);
    RuntimeCloseMenuItem(clone);
    EXPECT_EQ(RuntimeMenuArrayReference(name.get(), 0), nullptr);
    RuntimeUnlockObject(found);
    RuntimeUnlockObject(clone);
    RuntimeUnlockObject(item);
}

}  // namespace
