// Window routines: contextual clicks, menu item texts, refresh, drawing
// into a graphics, new drag items.
#include "WindowTestProject.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "ui/DragItem.h"
#include "ui/ControlEntries.h"
#include "ui/FormEntries.h"
#include "loader/PluginGraphics.h"
#include "ui/Menus.h"

using namespace runtime;
using namespace window_tests;

namespace {

TEST(FormRoutines, ContextualClicksAndMenuItemTexts) {
    OpenWindow w(windowLayout(ix.testWindow));
    ASSERT_NE(w.object, nullptr);
    gTrace.clear();
    SendMessageW(w.handle(), WM_RBUTTONDOWN, 0, MAKELPARAM(5, 5));
    SendMessageW(w.handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(gTrace, "down:cmm down ");
    EXPECT_FALSE(IsCMMClick());

    StringValue name = StringValue::fromCString("Other");
    ObjectHandle item = RuntimeMenuReference(name.get());
    ASSERT_NE(item, nullptr);
    StringValue text = StringValue::fromCString("Renamed");
    StringValue key = StringValue::fromCString("K");
    menuItemTextSetter(item, text.get());
    menuItemCommandKeySetter(item, key.get());
    StringValue readBack = StringValue::adopt(menuItemTextGetter(item));
    EXPECT_EQ(viewOf(readBack.get()), "Renamed");
    const UINT command = commandForShortcut("Ctrl+K");
    ASSERT_NE(command, 0u);
    wchar_t label[64] = {};
    GetMenuStringW(GetMenu(w.handle()), command, label, 64, MF_BYCOMMAND);
    EXPECT_STREQ(label, L"Renamed\tCtrl+K");
    StringValue original = StringValue::fromCString("Other");
    StringValue originalKey = StringValue::fromCString("O");
    menuItemTextSetter(item, original.get());
    menuItemCommandKeySetter(item, originalKey.get());
    RuntimeUnlockObject(item);

    runPasses(2);
    UpdateWindow(w.handle());
    // Both invalidate and paint at once: Paint runs inside the call and
    // nothing is left to paint afterwards.
    gTrace.clear();
    formRefreshRect(w.object, 10, 20, 30, 40);
    EXPECT_NE(gTrace.find("paint"), std::string::npos);
    EXPECT_FALSE(GetUpdateRect(w.handle(), nullptr, FALSE));
    gTrace.clear();
    formRefresh(w.object);
    EXPECT_NE(gTrace.find("paint"), std::string::npos);
    EXPECT_FALSE(GetUpdateRect(w.handle(), nullptr, FALSE));
}

// A 32-bit bitmap in memory, filled with one colour, and a Graphics object
// that draws into it.
struct MemorySurface {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    ObjectRef graphics;
    MemorySurface(int width, int height, COLORREF fill) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        previous = SelectObject(dc, bitmap);
        const RECT all{0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(fill);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        graphics = plugins::newGraphicsFor(dc);
    }
    ~MemorySurface() {
        plugins::forgetGraphics(graphics.get());
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF at(int x, int y) const { return GetPixel(dc, x, y); }
};

TEST(FormRoutines, DrawIntoCopiesTheWindowIntoAGraphics) {
    OpenWindow w(windowLayout(ix.testWindow, {}, {{"HasBackColor", "True"}, {"BackColor", "16711680"}}));
    ASSERT_NE(w.object, nullptr);
    runPasses(3);
    SetForegroundWindow(w.handle());
    RedrawWindow(w.handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_TRUE(settlesTo(w.handle(), 5, 5, isRed));
    const COLORREF blue = RGB(0, 0, 255);
    MemorySurface surface(400, 300, blue);
    formDrawInto(w.object, surface.graphics.get(), 50, 40);
    EXPECT_TRUE(isRed(surface.at(50, 40)));
    EXPECT_TRUE(isRed(surface.at(50 + 299, 40 + 199)));  // the whole client area
    EXPECT_EQ(surface.at(49, 40), blue);                  // nothing left of x
    EXPECT_EQ(surface.at(50, 39), blue);
    EXPECT_EQ(surface.at(50 + 300, 100), blue);           // nor beyond the client width

    // Nothing is drawn for a Graphics that draws nowhere, a nil window or a
    // closed one.
    MemorySurface other(400, 300, blue);
    ObjectRef nowhere = ObjectRef::adopt(windowGraphicsGetter(w.object));
    ASSERT_NE(nowhere.get(), nullptr);
    EXPECT_TRUE(inheritsFrom(nowhere.classRecord(), builtinClass("Graphics")));
    formDrawInto(w.object, nowhere.get(), 0, 0);
    formDrawInto(nullptr, other.graphics.get(), 0, 0);
    formDrawInto(w.object, nullptr, 0, 0);
    EXPECT_EQ(other.at(10, 10), blue);
    RuntimeCloseWindow(w.object);
    formDrawInto(w.object, other.graphics.get(), 0, 0);
    EXPECT_EQ(other.at(10, 10), blue);
    EXPECT_EQ(windowGraphicsGetter(w.object), nullptr);
    EXPECT_EQ(windowGraphicsGetter(nullptr), nullptr);
}

TEST(FormRoutines, NewDragItemsStartFromTheGivenRectangle) {
    OpenWindow w(windowLayout(ix.testWindow));
    ASSERT_NE(w.object, nullptr);
    ObjectRef item = ObjectRef::adopt(formNewDragItem(w.object, 10, 20, 30, 40));
    ASSERT_NE(item.get(), nullptr);
    EXPECT_EQ(item.get()->refCount, 1);
    EXPECT_EQ((std::vector<int32_t>{dragItemDropLeft(item.get()), dragItemDropTop(item.get()),
                                    dragItemDropWidth(item.get()), dragItemDropHeight(item.get())}),
              (std::vector<int32_t>{10, 20, 30, 40}));
    EXPECT_FALSE(DragItemTextAvailable(item.get()));
    EXPECT_FALSE(DragItemFolderItemAvailable(item.get()));
    // What the item carries is set like a dropped one's.
    StringValue text = StringValue::fromCString("melody");
    dragItemTextSetter(item.get(), text.get());
    EXPECT_TRUE(DragItemTextAvailable(item.get()));
    EXPECT_EQ(formNewDragItem(nullptr, 0, 0, 1, 1), nullptr);
    RuntimeCloseWindow(w.object);
    EXPECT_EQ(formNewDragItem(w.object, 0, 0, 1, 1), nullptr);
}

}  // namespace
