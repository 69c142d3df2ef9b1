// List boxes and pop-up menus on real windows under Wine: the entry routines
// as compiled code calls them, the events they raise, and real mouse and
// keyboard input. C++ functions stand in for the compiled handlers.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/LoopPasses.h"
#include "support/RealInput.h"
#include "objects/ClassRegistry.h"
#include "objects/EventLoop.h"
#include "objects/LoopEntries.h"
#include "objects/ObjectEntries.h"
#include "objects/ObjectLifetime.h"
#include "objects/ProjectData.h"
#include "objects/RuntimeStartup.h"
#include "objects/WindowInstantiation.h"
#include "objects/WindowLayout.h"
#include "support/PngWriter.h"
#include "text/CatchingCall.h"
#include "text/StringValue.h"
#include "ui/ControlFields.h"
#include "ui/NativeWindow.h"
#include "ui/ControlEntries.h"
#include "ui/WindowEntries.h"
#include "ui/WindowFields.h"
#include "ui/lists/ListboxEntries.h"
#include "ui/lists/ListboxPane.h"
#include "ui/lists/PopupMenuEntries.h"
#include "ui/lists/PopupMenuPane.h"

using namespace runtime;
using testing_support::ProjectData;
using testing_support::runPasses;
using testing_support::raisedBy;

namespace {

constexpr const char* kOutOfBounds = "OutOfBoundsException";

std::string gTrace;
bool gSortHandled = false;        // what SortColumn returns
bool gChangeSelectsAgain = false;  // a Change handler that sets ListIndex 0
int32_t gChildrenOnExpand = 0;

// Text in the code page of string values (Shift-JIS here) from UTF-8 source.
std::string sjis(const char* utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), n);
    const int m = WideCharToMultiByte(932, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(m), '\0');
    WideCharToMultiByte(932, 0, wide.c_str(), -1, bytes.data(), m, nullptr, nullptr);
    bytes.resize(static_cast<size_t>(m > 0 ? m - 1 : 0));
    return bytes;
}

// A string argument owned by the test.
struct Text {
    StringValue value;
    explicit Text(const std::string& bytes) : value(StringValue::fromBytes(bytes)) {}
    operator StringHandle() const { return value.get(); }
};

// A string result: taken over and read.
std::string taken(StringHandle s) { return std::string(StringValue::adopt(s).view()); }

extern "C" {
void listChange(ObjectHandle list) {
    gTrace += "Change(" + std::to_string(listSelectionGetter(list)) + ") ";
    if (gChangeSelectsAgain) listSelectionSetter(list, 0);
}
void listDoubleClick(ObjectHandle list) { gTrace += "Double(" + std::to_string(listSelectionGetter(list)) + ") "; }
void listCellAction(ObjectHandle, int32_t row, int32_t column) {
    gTrace += "Cell(" + std::to_string(row) + "," + std::to_string(column) + ") ";
}
bool listSortColumn(ObjectHandle, int32_t column) {
    gTrace += "Sort(" + std::to_string(column) + ") ";
    return gSortHandled;
}
void listExpandRow(ObjectHandle list, int32_t row) {
    gTrace += "Expand(" + std::to_string(row) + ") ";
    for (int32_t i = 0; i < gChildrenOnExpand; ++i) {
        const Text child("child" + std::to_string(i));
        RuntimeListAddRow(list, child);
    }
}
void listCollapseRow(ObjectHandle, int32_t row) { gTrace += "Collapse(" + std::to_string(row) + ") "; }
void listenerChanging(ObjectHandle, ObjectHandle list) { gTrace += "changing(" + std::to_string(listSelectionGetter(list)) + ") "; }
void listenerChanged(ObjectHandle, ObjectHandle list) { gTrace += "changed(" + std::to_string(listSelectionGetter(list)) + ") "; }
void popupChange(ObjectHandle popup) {
    gTrace += "PChange(" + std::to_string(RuntimePopupSelectionGetter(popup)) + ") ";
    if (gChangeSelectsAgain) RuntimePopupSelectionSetter(popup, 0);
}
}

void* code(auto* f) { return reinterpret_cast<void*>(f); }

struct Classes {
    int32_t exception, application, window, listbox, popup, testWindow, traceList, tracePopup, app, object, listener;
} ix;

ProjectData& project() {
    static ProjectData p;
    return p;
}

class RuntimeEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ProjectData& p = project();
        ix.exception = p.addNamedClass("RuntimeException");  // index 0, for catchingCall
        ix.application = p.addNamedClass("Application");
        ix.window = p.addNamedClass("Window");
        ix.listbox = p.addNamedClass("Listbox");
        ix.popup = p.addNamedClass("PopupMenu");
        ix.testWindow = p.addCompiledClass({.name = "ListWindow", .size = 112, .superIndex = ix.window});
        ix.traceList = p.addCompiledClass({.name = "", .size = 524, .superIndex = ix.listbox,
                                           .eventHandlers = {{"Change", code(listChange)},
                                                             {"DoubleClick", code(listDoubleClick)},
                                                             {"CellAction", code(listCellAction)},
                                                             {"SortColumn", code(listSortColumn)},
                                                             {"ExpandRow", code(listExpandRow)},
                                                             {"CollapseRow", code(listCollapseRow)}}});
        ix.tracePopup = p.addCompiledClass({.name = "", .size = 116, .superIndex = ix.popup,
                                            .eventHandlers = {{"Change", code(popupChange)}}});
        ix.app = p.addCompiledClass({.name = "ListApp", .size = 28, .superIndex = ix.application});
        ix.object = p.addNamedClass("Object");
        ix.listener = p.addCompiledClass({.name = "SelectionListener", .size = 24, .superIndex = ix.object,
                                          .methods = {{"selectionChanging", code(listenerChanging)},
                                                      {"selectionChanged", code(listenerChanged)}}});
        RuntimeInit(p.table());
    }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new RuntimeEnvironment);


LayoutControl control(int32_t cls, const std::string& name, int left, int top, int width, int height,
                      std::vector<PropertyText> more = {}) {
    LayoutControl c{cls,
                    {{"Name", name},
                     {"Left", std::to_string(left)},
                     {"Top", std::to_string(top)},
                     {"Width", std::to_string(width)},
                     {"Height", std::to_string(height)}}};
    c.properties.insert(c.properties.end(), more.begin(), more.end());
    return c;
}

// An open window with controls from a layout, closed at the end of the test.
struct OpenWindow {
    ObjectHandle object = nullptr;
    explicit OpenWindow(std::vector<LayoutControl> controls, const char* title = "Lists") {
        WindowLayout l;
        l.windowClass = ix.testWindow;
        l.properties = {{"Title", title}, {"Width", "460"}, {"Height", "300"}, {"Left", "40"}, {"Top", "60"}};
        l.controls = std::move(controls);
        const std::vector<uint8_t> bytes = encodeSizedWindowLayout(l);
        object = RuntimeCreateWindow(bytes.data(), nullptr);
    }
    ~OpenWindow() {
        if (!object) return;
        RuntimeCloseWindow(object);
        RuntimeUnlockObject(object);
    }
    HWND handle() const { return reinterpret_cast<HWND>(static_cast<intptr_t>(windowHWNDGetter(object))); }
    ObjectHandle fetch(const char* name) const {
        StringValue n = StringValue::fromCString(name);
        return RuntimeControlFetch(object, n.get());
    }
};

void settle(int passes = 20) {
    for (int i = 0; i < passes; ++i) {
        runPasses(1);
        Sleep(5);
    }
}

void addRows(ObjectHandle list, std::initializer_list<const char*> rows) {
    for (const char* r : rows) RuntimeListAddRow(list, Text(r));
}

std::vector<std::string> column(ObjectHandle list, int32_t c) {
    std::vector<std::string> out;
    for (int32_t r = 0; r < listCountGetter(list); ++r) out.push_back(taken(listGetCell(list, r, c)));
    return out;
}

std::vector<int32_t> widths(ObjectHandle list) {
    std::vector<int32_t> w;
    for (int32_t c = 0; c < listColumnCountGetter(list); ++c) w.push_back(listboxFields(list).columns->width[static_cast<size_t>(c)]);
    return w;
}

// --- Real input --------------------------------------------------------------------

void sendMouse(DWORD flags, POINT screen = {}) {
    if (flags & MOUSEEVENTF_MOVE) return testing_support::sendMouseAt(screen, flags);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(INPUT));
}

// Moves the pointer as a person would. A motion message still queued for an
// earlier position can move it back for a moment, so the move is repeated
// until the pointer stays at the target over several loop passes.
void moveTo(POINT screen) {
    int steady = 0;
    for (int i = 0; i < 300 && steady < 6; ++i) {
        settle(1);
        POINT now;
        GetCursorPos(&now);
        MSG queued;
        const bool pending = PeekMessageW(&queued, nullptr, 0, 0, PM_NOREMOVE);
        if (now.x != screen.x || now.y != screen.y) {
            steady = 0;
            sendMouse(MOUSEEVENTF_MOVE, screen);
        } else {
            steady = pending ? 0 : steady + 1;
        }
    }
    Sleep(50);
}

void clickAt(POINT screen, bool shift = false) {
    moveTo(screen);
    if (shift) {
        testing_support::sendKey(VK_SHIFT, true);
        settle(3);
    }
    sendMouse(MOUSEEVENTF_LEFTDOWN);
    sendMouse(MOUSEEVENTF_LEFTUP);
    settle();
    if (shift) {
        testing_support::sendKey(VK_SHIFT, false);
        settle(3);
    }
}

void pressKey(WORD vk) {
    testing_support::sendKeyChord({vk});
    settle();
}

void typeText(const wchar_t* text) {
    testing_support::sendUnicodeText(text);
    settle();
}

void bringToFront(const OpenWindow& w) {
    settle(5);
    SetForegroundWindow(w.handle());
    SetActiveWindow(w.handle());
    settle(5);
}

// The screen point inside row `row` (of the visible rows) and column `column`.
POINT rowPoint(ObjectHandle list, int32_t row, int32_t column = 0) {
    const ListboxPane* pane = listboxPaneOf(list);
    int32_t x = 0;
    for (int32_t c = 0; c < column; ++c) x += listboxFields(list).columns->width[static_cast<size_t>(c)];
    POINT p{x + 30, pane->rowsTop() + (row - pane->firstVisibleRow()) * pane->rowHeight() + pane->rowHeight() / 2};
    ClientToScreen(pane->handle(), &p);
    return p;
}

// --- Listbox: columns, rows and cells -----------------------------------------------------

TEST(Listbox, ColumnWidthsFollowTheWidthsTextAndTheColumnCount) {
    OpenWindow w({control(ix.traceList, "List", 10, 10, 217, 120, {{"ColumnCount", "3"}, {"ColumnWidths", "50,30%"}})});
    ASSERT_NE(w.object, nullptr);
    ObjectHandle list = w.fetch("List");
    EXPECT_EQ(widths(list), (std::vector<int32_t>{50, 60, 90}));
    EXPECT_EQ(taken(listColumnWidthsGetter(list)), "50,30%");
    listColumnWidthsSetter(list, Text(""));
    EXPECT_EQ(widths(list), (std::vector<int32_t>{66, 67, 67}));
    listColumnCountSetter(list, 0);
    EXPECT_EQ(listColumnCountGetter(list), 1);
    EXPECT_EQ(widths(list), (std::vector<int32_t>{200}));
    listColumnCountSetter(list, 100);
    EXPECT_EQ(listColumnCountGetter(list), 63);

    OpenWindow wider({control(ix.traceList, "List", 10, 10, 317, 120, {{"ColumnCount", "3"}})});
    EXPECT_EQ(widths(wider.fetch("List")), (std::vector<int32_t>{100, 100, 100}));
    ctlPosSetter(wider.fetch("List"), 2, 217);  // a narrower list lays its columns out again
    EXPECT_EQ(widths(wider.fetch("List")), (std::vector<int32_t>{66, 67, 67}));
}

TEST(Listbox, RowsCellsAndHeadings) {
    OpenWindow w({control(ix.traceList, "List", 10, 10, 300, 150, {{"ColumnCount", "3"}, {"HasHeading", "True"}})});
    ASSERT_NE(w.object, nullptr);
    ObjectHandle list = w.fetch("List");
    addRows(list, {"b", "c"});
    EXPECT_EQ(listLastIndexGetter(list), 1);
    RuntimeListInsertRow(list, -5, Text("a"));  // clamped to the first place
    EXPECT_EQ(listLastIndexGetter(list), 0);
    RuntimeListInsertRow(list, 99, Text("d"));  // and to the end
    EXPECT_EQ(listLastIndexGetter(list), 3);
    EXPECT_EQ(column(list, 0), (std::vector<std::string>{"a", "b", "c", "d"}));

    listSetCell(list, 1, 2, Text("two"));
    EXPECT_EQ(taken(listGetCell(list, 1, 2)), "two");
    EXPECT_EQ(listGetCell(list, 1, 1), nullptr) << "a column without a cell reads empty";
    RuntimeSetRow(list, 1, Text("B"));
    EXPECT_EQ(taken(RuntimeGetRow(list, 1)), "B");
    EXPECT_EQ(taken(listGetCell(list, 1, 2)), "two") << "the other cells stay";
    // Columns outside 0 to 63 are ignored by every routine.
    for (int32_t bad : {-1, 64, 1000}) {
        listSetCell(list, 1, bad, Text("x"));
        EXPECT_EQ(listGetCell(list, 1, bad), nullptr) << bad;
        listSetHeading(list, bad, Text("x"));
        EXPECT_EQ(listGetHeading(list, bad), nullptr) << bad;
        listColumnTypeSetter(list, bad, 2);
        EXPECT_EQ(listColumnTypeGetter(list, bad), 0) << bad;
        listCellCheckSetter(list, 1, bad, true);
        EXPECT_FALSE(listCellCheckGetter(list, 1, bad)) << bad;
    }
    EXPECT_EQ(taken(listGetHeading(list, 0)), "Field1");
    EXPECT_EQ(taken(listGetHeading(list, 1)), "Field2");
    EXPECT_EQ(taken(listGetHeading(list, 63)), "Field64");
    listSetHeading(list, 1, Text("Name"));
    EXPECT_EQ(taken(listGetHeading(list, 1)), "Name");

    // Cell styles and per-cell settings.
    listSetCellBold(list, 2, 0, true);
    listSetCellUnderline(list, 2, 0, true);
    EXPECT_TRUE(listGetCellBold(list, 2, 0));
    EXPECT_FALSE(listGetCellItalic(list, 2, 0));
    EXPECT_TRUE(listGetCellUnderline(list, 2, 0));
    listSetCellBold(list, 2, 0, false);
    EXPECT_FALSE(listGetCellBold(list, 2, 0));
    EXPECT_TRUE(listGetCellUnderline(list, 2, 0));
    listCellAlignmentSetter(list, 0, 1, 3);
    listCellAlignmentOffsetSetter(list, 0, 1, -4);
    EXPECT_EQ(listCellAlignmentGetter(list, 0, 1), 3);
    EXPECT_EQ(listCellAlignmentOffsetGetter(list, 0, 1), -4);
    listColumnAlignmentSetter(list, 2, 4);
    EXPECT_EQ(listColumnAlignmentGetter(list, 2), 4);

    RuntimeListEmpty(list);
    EXPECT_EQ(listCountGetter(list), 0);
}

TEST(Listbox, RowIndicesOutsideTheRowsRaiseAndChangeNothing) {
    OpenWindow w({control(ix.traceList, "List", 10, 10, 200, 100)});
    ASSERT_NE(w.object, nullptr);
    ObjectHandle list = w.fetch("List");
    addRows(list, {"a", "b", "c"});
    listSelectionSetter(list, 1);
    gTrace.clear();
    const Text x("x");
    for (int32_t bad : {-1, 3, 1000}) {
        EXPECT_EQ(raisedBy(RuntimeRemoveRow, list, bad), kOutOfBounds) << bad;
        EXPECT_EQ(raisedBy(RuntimeGetRow, list, bad), kOutOfBounds) << bad;
        EXPECT_EQ(raisedBy(RuntimeSetRow, list, bad, x.value.get()), kOutOfBounds) << bad;
        EXPECT_EQ(raisedBy(listGetCell, list, bad, 0), kOutOfBounds) << bad;
        EXPECT_EQ(raisedBy(listSetCell, list, bad, 1, x.value.get()), kOutOfBounds) << bad;
        EXPECT_EQ(raisedBy(listCellCheckSetter, list, bad, 0, true), kOutOfBounds) << bad;
        EXPECT_EQ(raisedBy(listCellTypeGetter, list, bad, 0), kOutOfBounds) << bad;
        EXPECT_EQ(raisedBy(listSetCellBold, list, bad, 0, true), kOutOfBounds) << bad;
    }
    EXPECT_EQ(raisedBy(RuntimeRemoveRow, list, 2), "");
    // listSetSelected ignores rows out of range.
    listSetSelected(list, listCountGetter(list), true);
    listSetSelected(list, -1, true);
    EXPECT_EQ(column(list, 0), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(listSelCountGetter(list), 1);
    EXPECT_EQ(listSelectionGetter(list), 1);
    EXPECT_EQ(gTrace, "");
}

TEST(Listbox, ClosedWindowListsReadNeutralValuesAndKeepTheirSettings) {
    ObjectHandle list = nullptr;
    {
        OpenWindow w({control(ix.traceList, "List", 10, 10, 200, 100)});
        ASSERT_NE(w.object, nullptr);
        list = w.fetch("List");
        RuntimeLockObject(list);
        addRows(list, {"a"});
        listSelectionSetter(list, 0);
    }
    EXPECT_EQ(listCountGetter(list), 0);
    EXPECT_EQ(listSelectionGetter(list), -1);
    EXPECT_EQ(listSelCountGetter(list), 0);
    EXPECT_EQ(listGetCell(list, 0, 0), nullptr);
    RuntimeListAddRow(list, Text("ignored"));
    EXPECT_EQ(raisedBy(RuntimeRemoveRow, list, 0), "");
    listColumnCountSetter(list, 4);
    EXPECT_EQ(listColumnCountGetter(list), 4);
    RuntimeUnlockObject(list);
}

TEST(Listbox, InitialValueGivesRowsAndCells) {
    OpenWindow w({control(ix.traceList, "List", 10, 10, 300, 100,
                          {{"ColumnCount", "2"}, {"InitialValue", "one\tuno\rtwo\r\nthree\tthree2"}})});
    ASSERT_NE(w.object, nullptr);
    ObjectHandle list = w.fetch("List");
    EXPECT_EQ(column(list, 0), (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(taken(listGetCell(list, 0, 1)), "uno");
    EXPECT_EQ(taken(listGetCell(list, 2, 1)), "three2");
}

// --- Listbox: selection and Change ----------------------------------------------------------

TEST(Listbox, ProgrammaticSelectionRaisesChange) {
    OpenWindow w({control(ix.traceList, "List", 10, 10, 200, 100, {{"SelectionType", "1"}})});
    ASSERT_NE(w.object, nullptr);
    ObjectHandle list = w.fetch("List");
    addRows(list, {"a", "b", "c", "d"});
    gTrace.clear();
    listSelectionSetter(list, 2);
    listSetSelected(list, 0, true);
    listSetSelected(list, 3, true);
    EXPECT_EQ(gTrace, "Change(2) Change(0) Change(0) ");
    EXPECT_EQ(listSelCountGetter(list), 3);
    EXPECT_EQ(taken(listTextGetter(list)), "a");
    listSetSelected(list, 0, false);
    EXPECT_EQ(listSelectionGetter(list), 2);
    EXPECT_FALSE(listGetSelected(list, 1));
    EXPECT_TRUE(listGetSelected(list, 3));
    gTrace.clear();
    listSelectionSetter(list, 99);  // outside the rows: nothing selected
    EXPECT_EQ(listSelCountGetter(list), 0);
    EXPECT_EQ(gTrace, "Change(-1) ");
}

TEST(Listbox, RemovingRowsMovesTheSelectionAndRemovingTheSelectedOneRaisesChange) {
    OpenWindow w({control(ix.traceList, "List", 10, 10, 200, 100)});
    ASSERT_NE(w.object, nullptr);
    ObjectHandle list = w.fetch("List");
    addRows(list, {"a", "b", "c"});
    listSelectionSetter(list, 2);
    gTrace.clear();
    RuntimeRemoveRow(list, 0);
    EXPECT_EQ(gTrace, "") << "the selected row only moved up";
    EXPECT_EQ(listSelectionGetter(list), 1);
    RuntimeListInsertRow(list, 0, Text("z"));
    EXPECT_EQ(listSelectionGetter(list), 2);
    EXPECT_EQ(taken(listTextGetter(list)), "c");
    RuntimeRemoveRow(list, 2);
    EXPECT_EQ(gTrace, "Change(-1) ");
    EXPECT_EQ(listSelectionGetter(list), -1);
    EXPECT_EQ(listTextGetter(list), nullptr);
}

TEST(Listbox, ChangeIsNotRaisedAgainWhileItsHandlerRuns) {
    OpenWindow w({control(ix.traceList, "List", 10, 10, 200, 100)});
    ASSERT_NE(w.object, nullptr);
    ObjectHandle list = w.fetch("List");
    addRows(list, {"a", "b"});
    gTrace.clear();
    gChangeSelectsAgain = true;
    listSelectionSetter(list, 1);
    gChangeSelectsAgain = false;
    EXPECT_EQ(gTrace, "Change(1) ");
    EXPECT_EQ(listSelectionGetter(list), 0) << "the handler's own change took effect";
    listSelectionSetter(list, 1);
    EXPECT_EQ(gTrace, "Change(1) Change(1) ") << "the guard was cleared afterwards";
}

TEST(Listbox, ListenersAreToldBeforeAndAfterEachChangeUntilRemoved) {
    OpenWindow w({control(ix.traceList, "List", 10, 10, 200, 100)});
    ASSERT_NE(w.object, nullptr);
    ObjectHandle list = w.fetch("List");
    addRows(list, {"a", "b"});
    ObjectHandle listener = RuntimeNewObject(ix.listener);
    ASSERT_NE(listener, nullptr);
    const int32_t refs = listener->refCount;
    listAddLSNR(list, listener);
    EXPECT_EQ(listener->refCount, refs + 1);
    gTrace.clear();
    listSelectionSetter(list, 1);
    RuntimeRemoveRow(list, 1);
    EXPECT_EQ(gTrace, "changing(-1) Change(1) changed(1) changing(1) Change(-1) changed(-1) ");
    listRemoveLSNR(list, listener);
    EXPECT_EQ(listener->refCount, refs);
    gTrace.clear();
    listSelectionSetter(list, 0);
    EXPECT_EQ(gTrace, "Change(0) ");
    listAddLSNR(list, listener);
    RuntimeCloseWindow(w.object);
    EXPECT_EQ(listener->refCount, refs) << "closing the window releases the listeners";
    RuntimeUnlockObject(listener);
}

// --- Listbox: real mouse and keys -------------------------------------------------------------

struct DoubleClickTime {
    UINT saved = GetDoubleClickTime();
    explicit DoubleClickTime(UINT ms) { SetDoubleClickTime(ms); }
    ~DoubleClickTime() { SetDoubleClickTime(saved); }
};

TEST(ListboxInput, ClicksSelectAndASecondClickInTimeIsADoubleClick) {
    OpenWindow w({control(ix.traceList, "List", 10, 10, 300, 200)});
    ASSERT_NE(w.object, nullptr);
    ObjectHandle list = w.fetch("List");
    addRows(list, {"zero", "one", "two"});
    bringToFront(w);
    const DoubleClickTime generous(2000);
    gTrace.clear();
    clickAt(rowPoint(list, 1));
    EXPECT_EQ(gTrace, "Change(1) ");
    EXPECT_EQ(GetFocus(), listboxPaneOf(list)->handle()) << "a click gives the list the focus";
    clickAt(rowPoint(list, 1));
    EXPECT_EQ(gTrace, "Change(1) Double(1) ");
    // Another row: no double click, whatever the time.
    clickAt(rowPoint(list, 2));
    EXPECT_EQ(gTrace, "Change(1) Double(1) Change(2) ");
    // Past the double-click time the same row is only selected again.
    {
        const DoubleClickTime brief(100);
        clickAt(rowPoint(list, 0));
        Sleep(400);
        gTrace.clear();
        clickAt(rowPoint(list, 0));
        EXPECT_EQ(gTrace, "");
        EXPECT_EQ(listSelectionGetter(list), 0);
    }
    // Below the last row: the selection is cleared.
    POINT below = rowPoint(list, 6);
    clickAt(below);
    EXPECT_EQ(gTrace, "Change(-1) ");
}

TEST(ListboxInput, ShiftClickExtendsAMultipleSelectionFromTheAnchor) {
    OpenWindow w({control(ix.traceList, "List", 10, 10, 300, 200, {{"SelectionType", "1"}})});
    ASSERT_NE(w.object, nullptr);
    ObjectHandle list = w.fetch("List");
    addRows(list, {"0", "1", "2", "3", "4"});
    bringToFront(w);
    clickAt(rowPoint(list, 1));
    clickAt(rowPoint(list, 3), true);
    EXPECT_EQ(listSelCountGetter(list), 3);
    EXPECT_EQ(listSelectionGetter(list), 1);
    EXPECT_TRUE(listGetSelected(list, 2));
    EXPECT_FALSE(listGetSelected(list, 4));
    clickAt(rowPoint(list, 4));
    EXPECT_EQ(listSelCountGetter(list), 1) << "a plain click selects only that row";
}

TEST(ListboxInput, ArrowKeysMoveAndExtendTheSelection) {
    OpenWindow w({control(ix.traceList, "List", 10, 10, 300, 200, {{"SelectionType", "1"}})});
    ASSERT_NE(w.object, nullptr);
    ObjectHandle list = w.fetch("List");
    addRows(list, {"0", "1", "2", "3"});
    bringToFront(w);
    clickAt(rowPoint(list, 3));  // the list takes the focus
    listSelectionSetter(list, -1);
    gTrace.clear();
    pressKey(VK_DOWN);
    EXPECT_EQ(gTrace, "Change(0) ") << "with nothing selected Down selects row 0";
    pressKey(VK_DOWN);
    pressKey(VK_DOWN);
    EXPECT_EQ(listSelectionGetter(list), 2);
    testing_support::sendKey(VK_SHIFT, true);
    pressKey(VK_UP);
    testing_support::sendKey(VK_SHIFT, false);
    settle(3);
    EXPECT_EQ(listSelCountGetter(list), 2);
    EXPECT_EQ(listSelectionGetter(list), 1);
    pressKey(VK_DOWN);  // several selected: reduced to the highest
    EXPECT_EQ(listSelCountGetter(list), 1);
    EXPECT_EQ(listSelectionGetter(list), 2);
    pressKey(VK_DOWN);
    pressKey(VK_DOWN);  // already at the last row
    EXPECT_EQ(listSelectionGetter(list), 3);
}

TEST(ListboxInput, HeadingClickRaisesSortColumnAndSortsUnlessHandled) {
    OpenWindow w({control(ix.traceList, "List", 10, 10, 317, 200,
                          {{"ColumnCount", "3"}, {"HasHeading", "True"}})});
    ASSERT_NE(w.object, nullptr);
    ObjectHandle list = w.fetch("List");
    addRows(list, {"c", "a", "b"});
    for (int32_t r = 0; r < 3; ++r) listSetCell(list, r, 1, Text(std::to_string(3 - r)));
    listSelectionSetter(list, 0);  // "c"
    bringToFront(w);
    POINT heading{100 + 50, 10};  // inside the second heading
    ClientToScreen(listboxPaneOf(list)->handle(), &heading);
    gTrace.clear();
    gSortHandled = true;
    clickAt(heading);
    EXPECT_EQ(gTrace, "Sort(1) ");
    EXPECT_EQ(column(list, 0), (std::vector<std::string>{"c", "a", "b"})) << "the handler took the sort";
    gSortHandled = false;
    clickAt(heading);
    EXPECT_EQ(column(list, 1), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(column(list, 0), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(listHeadingIndexGetter(list), 1);
    EXPECT_EQ(taken(listTextGetter(list)), "c") << "the selection moved with its row";
    listHeadingIndexSetter(list, 0);
    EXPECT_EQ(column(list, 0), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(ListboxInput, CheckBoxAndEditableCells) {
    OpenWindow w({control(ix.traceList, "List", 10, 10, 317, 200, {{"ColumnCount", "2"}})});
    ASSERT_NE(w.object, nullptr);
    ObjectHandle list = w.fetch("List");
    addRows(list, {"alpha", "beta"});
    listColumnTypeSetter(list, 1, 2);   // check boxes
    listCellTypeSetter(list, 1, 0, 3);  // one editable cell
    bringToFront(w);
    gTrace.clear();
    clickAt(rowPoint(list, 0, 1));
    EXPECT_EQ(gTrace, "Cell(0,1) ");
    EXPECT_TRUE(listCellCheckGetter(list, 0, 1));
    EXPECT_EQ(listSelectionGetter(list), -1) << "the cell took the click";

    gTrace.clear();
    clickAt(rowPoint(list, 1, 0));
    HWND field = GetFocus();
    wchar_t className[16] = {};
    GetClassNameW(field, className, 16);
    ASSERT_STREQ(className, L"Edit");
    typeText(L"-2");
    pressKey(VK_RETURN);
    EXPECT_EQ(taken(listGetCell(list, 1, 0)), "beta-2");
    EXPECT_EQ(gTrace, "Cell(1,0) ");
    EXPECT_FALSE(IsWindow(field));

    clickAt(rowPoint(list, 1, 0));
    typeText(L"zzz");
    pressKey(VK_ESCAPE);
    EXPECT_EQ(taken(listGetCell(list, 1, 0)), "beta-2") << "Escape keeps the cell";
    EXPECT_EQ(gTrace, "Cell(1,0) ");
}

TEST(Listbox, HierarchicalRowsExpandIntoChildrenAndCollapse) {
    OpenWindow w({control(ix.traceList, "List", 10, 10, 300, 200, {{"Hierarchical", "True"}})});
    ASSERT_NE(w.object, nullptr);
    ObjectHandle list = w.fetch("List");
    RuntimeListAddParent(list, Text("folder"));
    addRows(list, {"after"});
    gChildrenOnExpand = 2;
    gTrace.clear();
    listSetExpanded(list, 0, true);
    EXPECT_EQ(gTrace, "Expand(0) ");
    EXPECT_EQ(column(list, 0), (std::vector<std::string>{"folder", "child0", "child1", "after"}));
    EXPECT_EQ(listLastIndexGetter(list), 2);
    EXPECT_TRUE(listGetExpanded(list, 0));
    EXPECT_EQ(listboxPaneOf(list)->rows()[1].depth, 1);
    listSelectionSetter(list, 2);
    gTrace.clear();
    listSetExpanded(list, 0, false);
    EXPECT_EQ(gTrace, "Collapse(0) Change(-1) ");
    EXPECT_EQ(column(list, 0), (std::vector<std::string>{"folder", "after"}));
    listSetExpanded(list, 1, true);  // not a parent row
    EXPECT_EQ(gTrace, "Collapse(0) Change(-1) ");
    EXPECT_GE(listboxPaneOf(list)->rowHeight(), 18);
    gChildrenOnExpand = 0;
}

// --- PopupMenu ---------------------------------------------------------------------------------

TEST(PopupMenu, RowsTagsAndInitialValue) {
    OpenWindow w({control(ix.tracePopup, "Ports", 10, 10, 120, 22, {{"InitialValue", "A\rB\r"}})});
    ASSERT_NE(w.object, nullptr);
    ObjectHandle popup = w.fetch("Ports");
    EXPECT_EQ(RuntimePopupCountGetter(popup), 2) << "a final CR adds no row";
    RECT combo;
    GetWindowRect(controlFields(popup).pane->handle(), &combo);
    EXPECT_EQ(RuntimePopupSelectionGetter(popup), -1);
    EXPECT_EQ(popupTextGetter(popup), nullptr);

    RuntimePopupAddSeparator(popup);
    RuntimePopupInsertRow(popup, 0, Text("first"));
    EXPECT_EQ(taken(RuntimePopupGetRow(popup, 0)), "first");
    EXPECT_EQ(taken(RuntimePopupGetRow(popup, 3)), "-");

    ObjectHandle tag = RuntimeNewObject(ix.app);
    ASSERT_NE(tag, nullptr);
    const int32_t refs = tag->refCount;
    RuntimePopupSetRowTag(tag, popup, 1);
    EXPECT_EQ(tag->refCount, refs + 1);
    RuntimePopupSetRowTag(tag, popup, 1);  // the same tag again
    EXPECT_EQ(tag->refCount, refs + 1);
    RuntimePopupSetRow(Text("A2"), popup, 1);
    EXPECT_EQ(taken(RuntimePopupGetRow(popup, 1)), "A2");
    ObjectHandle got = getPopupRowTag(popup, 1);
    EXPECT_EQ(got, tag) << "the tag stays with the replaced row";
    RuntimeUnlockObject(got);
    EXPECT_EQ(RuntimePopupGetRowTag(popup, 0), nullptr);
    RuntimePopupRemoveRow(popup, 1);
    EXPECT_EQ(tag->refCount, refs) << "removing the row releases its tag";
    setPopupRowTag(popup, 0, tag);
    RuntimePopupEmpty(popup);
    EXPECT_EQ(tag->refCount, refs) << "emptying releases every tag";
    EXPECT_EQ(RuntimePopupCountGetter(popup), 0);
    RuntimeUnlockObject(tag);
}

TEST(PopupMenu, RowIndicesOutsideTheRowsRaise) {
    OpenWindow w({control(ix.tracePopup, "Ports", 10, 10, 120, 22, {{"InitialValue", "A\rB"}})});
    ASSERT_NE(w.object, nullptr);
    ObjectHandle popup = w.fetch("Ports");
    const Text x("x");
    for (int32_t bad : {-1, 2}) {
        EXPECT_EQ(raisedBy(RuntimePopupRemoveRow, popup, bad), kOutOfBounds) << bad;
        EXPECT_EQ(raisedBy(RuntimePopupGetRow, popup, bad), kOutOfBounds) << bad;
        EXPECT_EQ(raisedBy(RuntimePopupSetRow, x.value.get(), popup, bad), kOutOfBounds) << bad;
        EXPECT_EQ(raisedBy(RuntimePopupGetRowTag, popup, bad), kOutOfBounds) << bad;
        EXPECT_EQ(raisedBy(RuntimePopupSetRowTag, static_cast<ObjectHandle>(nullptr), popup, bad), kOutOfBounds) << bad;
    }
    EXPECT_EQ(RuntimePopupCountGetter(popup), 2);
    EXPECT_EQ(taken(RuntimePopupGetRow(popup, 1)), "B");
}

TEST(PopupMenu, ListIndexRaisesChangeEvenForTheSelectedRowAndNeverNested) {
    OpenWindow w({control(ix.tracePopup, "Ports", 10, 10, 120, 22, {{"InitialValue", "COM1\rCOM2\rCOM3"}})});
    ASSERT_NE(w.object, nullptr);
    ObjectHandle popup = w.fetch("Ports");
    gTrace.clear();
    RuntimePopupSelectionSetter(popup, 1);
    RuntimePopupSelectionSetter(popup, 1);
    EXPECT_EQ(gTrace, "PChange(1) PChange(1) ");
    EXPECT_EQ(taken(popupTextGetter(popup)), "COM2");
    EXPECT_EQ(taken(RuntimePopupGetString(popup)), "COM2");
    gTrace.clear();
    gChangeSelectsAgain = true;
    RuntimePopupSelectionSetter(popup, 2);
    gChangeSelectsAgain = false;
    EXPECT_EQ(gTrace, "PChange(2) ");
    EXPECT_EQ(RuntimePopupSelectionGetter(popup), 0);
    gTrace.clear();
    RuntimePopupSelectionSetter(popup, -1);
    EXPECT_EQ(gTrace, "PChange(-1) ");
    EXPECT_EQ(popupTextGetter(popup), nullptr);
}

TEST(PopupMenu, ARowChosenWithTheMouseRaisesChange) {
    OpenWindow w({control(ix.traceList, "List", 10, 60, 200, 100),
                  control(ix.tracePopup, "Ports", 20, 20, 120, 22, {{"InitialValue", "COM1\rCOM2\rCOM3\rCOM4"}})});
    ASSERT_NE(w.object, nullptr);
    ObjectHandle popup = w.fetch("Ports");
    HWND combo = controlFields(popup).pane->handle();
    bringToFront(w);
    // A row of a list clicked first: the pop-up still takes the focus.
    addRows(w.fetch("List"), {"a"});
    clickAt(rowPoint(w.fetch("List"), 0));
    RECT r;
    GetWindowRect(combo, &r);
    gTrace.clear();
    clickAt({r.left + 30, r.top + 10});
    settle(10);
    ASSERT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) << "the list dropped down";
    COMBOBOXINFO info{sizeof(info)};
    GetComboBoxInfo(combo, &info);
    const auto itemHeight = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    RECT list;
    GetWindowRect(info.hwndList, &list);
    clickAt({list.left + 20, list.top + itemHeight * 2 + itemHeight / 2});
    EXPECT_EQ(gTrace, "PChange(2) ");
    EXPECT_EQ(taken(popupTextGetter(popup)), "COM3");
}

TEST(PopupMenu, TheComboBoxMovesWithTheControl) {
    OpenWindow w({control(ix.tracePopup, "Ports", 10, 10, 120, 22, {{"InitialValue", "COM1\rCOM2"}})});
    ASSERT_NE(w.object, nullptr);
    ObjectHandle popup = w.fetch("Ports");
    HWND combo = controlFields(popup).pane->handle();
    ctlPosSetter(popup, 0, 60);
    ctlPosSetter(popup, 2, 150);
    RECT placed{};
    GetWindowRect(combo, &placed);
    MapWindowPoints(nullptr, w.handle(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 60);
    EXPECT_EQ(placed.right - placed.left, 150);
    EXPECT_EQ(controlFields(popup).pane->bounds().height(), 22) << "the pane's bounds are the control's";
}

TEST(PopupMenu, FontFamilyIsStoredAndApplied) {
    OpenWindow w({control(ix.tracePopup, "Ports", 10, 10, 120, 22, {{"TextSize", "16"}, {"Bold", "True"}})});
    ASSERT_NE(w.object, nullptr);
    ObjectHandle popup = w.fetch("Ports");
    EXPECT_EQ(popupTextSizeGetter(popup), 16);
    EXPECT_TRUE(popupBoldGetter(popup));
    HWND combo = controlFields(popup).pane->handle();
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(combo, WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_GE(font.lfWeight, FW_BOLD);
    popupItalicSetter(popup, true);
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(combo, WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_TRUE(font.lfItalic);
    popupTextFontSetter(popup, Text("Courier"));
    EXPECT_EQ(taken(popupTextFontGetter(popup)), "Courier");
}

// --- A populated list, for the eye -------------------------------------------------------------

TEST(Screenshot, ThreeColumnAddressListWithJapaneseTextAndAPortPopup) {
    OpenWindow w({control(ix.traceList, "Addresses", 10, 10, 420, 160,
                          {{"ColumnCount", "3"}, {"ColumnWidths", "120,40%"}, {"HasHeading", "True"}}),
                  control(ix.tracePopup, "Ports", 10, 190, 120, 22, {{"InitialValue", "COM1\rCOM2\rCOM3\rCOM4"}})},
                 "Lists");
    ASSERT_NE(w.object, nullptr);
    ObjectHandle list = w.fetch("Addresses");
    const char* headings[] = {"名前", "番号", "センター"};
    for (int32_t c = 0; c < 3; ++c) listSetHeading(list, c, Text(sjis(headings[c])));
    const char* rows[][3] = {{"山田太郎", "070-1234-5678", "東京"},
                             {"鈴木花子", "070-2345-6789", "大阪"},
                             {"佐藤一郎", "070-3456-7890", "名古屋"},
                             {"高橋ソ表", "070-4567-8901", "札幌"}};
    for (const auto& row : rows) {
        RuntimeListAddRow(list, Text(sjis(row[0])));
        for (int32_t c = 1; c < 3; ++c) listSetCell(list, listLastIndexGetter(list), c, Text(sjis(row[c])));
    }
    listSelectionSetter(list, 1);
    RuntimePopupSelectionSetter(w.fetch("Ports"), 0);
    EXPECT_EQ(taken(listGetCell(list, 3, 0)), sjis("高橋ソ表"));
    bringToFront(w);
    UpdateWindow(w.handle());
    Sleep(300);
    settle(5);
    EXPECT_TRUE(testing_support::writeScreenshot("list_screenshot.png"));
    // The selected row is filled with the highlight colour, read from the screen.
    POINT selected = rowPoint(list, 1, 2);
    selected.x += 60;
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, selected.x, selected.y), GetSysColor(COLOR_HIGHLIGHT));
    ReleaseDC(nullptr, screen);
}

}  // namespace
