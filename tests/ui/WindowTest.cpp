// Windows built from layouts, under Wine with real native windows: C++
// functions stand in for the compiled handlers of the classes below.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/RealInput.h"
#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/ControlRegistry.h"
#include "objects/DataStreamWriter.h"
#include "objects/EventLoop.h"
#include "objects/LoopEntries.h"
#include "objects/ObjectEntries.h"
#include "objects/ObjectLifetime.h"
#include "objects/ProjectData.h"
#include "objects/RuntimeStartup.h"
#include "objects/WindowInstantiation.h"
#include "objects/WindowLayout.h"
#include "support/PngWriter.h"
#include "text/StringValue.h"
#include "ui/ControlFields.h"
#include "ui/DragItem.h"
#include "ui/DropTarget.h"
#include "ui/FontCache.h"
#include "ui/ControlEntries.h"
#include "ui/FormEntries.h"
#include "ui/MouseCursors.h"
#include "loader/PluginEntries.h"
#include "loader/PluginGraphics.h"
#include "ui/PictureDrawing.h"
#include "ui/RuntimePalette.h"
#include "ui/Menus.h"
#include "ui/NativeWindow.h"
#include "ui/Pane.h"
#include "ui/Timer.h"
#include "ui/WindowEntries.h"
#include "ui/WindowFields.h"

using namespace runtime;
using testing_support::ProjectData;

namespace {

std::string gTrace;
bool gRefuseClose = false;
bool gEnableSaveAll = true;
bool gTakeMouse = false;
bool gTakeKey = false;

std::string nameOf(ObjectHandle control) { return std::string(viewOf(controlFields(control).name)); }

// A pane that stands in for the controls: a system button.
class ButtonPane final : public Pane {
public:
    ButtonPane(ObjectHandle control, NativeWindow* window) : Pane(control, window) {
        const ControlFields& f = controlFields(control);
        const RECT r{f.left, f.top, f.left + f.width, f.top + f.height};
        const std::wstring caption(f.name ? std::wstring(viewOf(f.name).begin(), viewOf(f.name).end()) : L"");
        createChild(L"BUTTON", WS_VISIBLE | BS_PUSHBUTTON, r, caption.c_str());
    }
    bool isPushButton() const override { return true; }
    bool isDefaultButton() const override { return nameOf(control()) == "OK"; }
    bool isCancelButton() const override { return nameOf(control()) == "Cancel"; }
    void push() override { gTrace += "push:" + nameOf(control()) + " "; }
};

// A pane that stands in for an edit field: a system edit control, which
// shows the I-beam of its class.
class EditPane final : public Pane {
public:
    EditPane(ObjectHandle control, NativeWindow* window) : Pane(control, window) {
        const ControlFields& f = controlFields(control);
        createChild(L"EDIT", WS_VISIBLE | WS_BORDER, RECT{f.left, f.top, f.left + f.width, f.top + f.height});
    }
};

extern "C" {
void editPaneCreate(ObjectHandle c) {
    ControlFields& f = controlFields(c);
    f.pane = new EditPane(c, f.parent);
}
void paneCreate(ObjectHandle c) {
    gTrace += "P:" + nameOf(c) + " ";
    ControlFields& f = controlFields(c);
    f.pane = new ButtonPane(c, f.parent);
}
void controlOpen(ObjectHandle c) { gTrace += "O:" + nameOf(c) + " "; }
void windowOpen(ObjectHandle) { gTrace += "W:open "; }
void windowClose(ObjectHandle) { gTrace += "W:close "; }
bool windowCancelClose(ObjectHandle) { return gRefuseClose; }
void windowResized(ObjectHandle) { gTrace += "resized "; }
void windowMoved(ObjectHandle) { gTrace += "moved "; }
bool windowMouseDown(ObjectHandle, int32_t, int32_t) {
    gTrace += IsCMMClick() ? "down:cmm " : "down ";
    return gTakeMouse;
}
void windowMouseDrag(ObjectHandle, int32_t, int32_t) { gTrace += "drag "; }
void windowMouseUp(ObjectHandle, int32_t, int32_t) { gTrace += "up "; }
void windowMouseEnter(ObjectHandle) { gTrace += "enter "; }
void windowMouseExit(ObjectHandle) { gTrace += "exit "; }
void windowMouseMove(ObjectHandle, int32_t, int32_t) { gTrace += "move "; }
void controlMouseEnter(ObjectHandle c) { gTrace += "enter:" + nameOf(c) + " "; }
void controlMouseExit(ObjectHandle c) { gTrace += "exit:" + nameOf(c) + " "; }
void windowEnableMenuItems(ObjectHandle) {
    if (!gEnableSaveAll) return;
    StringValue name = StringValue::fromCString("SaveAll");
    RuntimeUnlockObject(RuntimeEnableMenu(RuntimeMenuReference(name.get())));
}
bool windowSaveAll(ObjectHandle) {
    gTrace += "window:SaveAll ";
    return true;
}
bool appSaveAll(ObjectHandle) {
    gTrace += "app:SaveAll ";
    return true;
}
void closeInOpen(ObjectHandle w) { RuntimeCloseWindow(w); }
bool windowKeyDown(ObjectHandle, StringHandle key) {
    const std::string_view text = viewOf(key);
    gTrace += "key:" + (text.empty() ? std::string("?") : std::to_string(static_cast<uint8_t>(text[0]))) + " ";
    return gTakeKey;
}
void windowPaint(ObjectHandle, ObjectHandle) { gTrace += "paint "; }

// What a drop brought: its text or file, and where it landed.
std::string dropText(ObjectHandle item) {
    StringValue text = StringValue::adopt(dragItemTextGetter(item));
    std::string what(viewOf(text.get()));
    if (DragItemFolderItemAvailable(item)) what += "[file]";
    return what + "@" + std::to_string(dragItemDropLeft(item)) + "," + std::to_string(dragItemDropTop(item)) + " ";
}
void windowDrop(ObjectHandle, ObjectHandle item) { gTrace += "window-drop:" + dropText(item); }
void controlDrop(ObjectHandle c, ObjectHandle item) { gTrace += "drop:" + nameOf(c) + ":" + dropText(item); }

// Bindings: the binder records what it binds; a part is the control itself
// for the part text "self", nil otherwise.
void binderBind(ObjectHandle, ObjectHandle source, ObjectHandle target) {
    gTrace += "bind:" + nameOf(source) + ">" + nameOf(target) + " ";
}
ObjectHandle boundPart(ObjectHandle control, StringHandle text, StringHandle name) {
    gTrace += "part:" + std::string(viewOf(text)) + "/" + std::string(viewOf(name)) + " ";
    return viewOf(text) == "self" ? RuntimeLockObject(control) : nullptr;
}
}

void* code(auto* f) { return reinterpret_cast<void*>(f); }

struct Classes {
    int32_t application, window, canvas, rectControl, timer, testWindow, traceControl, subWindow, closing, app, keyWindow;
    int32_t bindingInterface, binder, notABinder, partControl, editControl;
} ix;

// Project objects (item index + 1): pictures for backdrops.
struct Pictures {
    int32_t red, eightBits, short_;
} pictures;

constexpr uint16_t kRed555 = 0x7C00;
constexpr int32_t kPictureWidth = 8, kPictureHeight = 4;

// A picture item: kind 1, resource word, then the description.
std::vector<uint32_t> pictureItem(uint32_t bits, int32_t width, int32_t height, uint32_t byteCount, uint16_t pixel) {
    std::vector<uint32_t> words{1, 0x1234, bits, static_cast<uint32_t>(width), static_cast<uint32_t>(height), byteCount};
    const size_t pixelWords = (byteCount + 3) / 4;
    for (size_t i = 0; i < pixelWords; ++i) words.push_back(pixel | (uint32_t{pixel} << 16));
    return words;
}

ProjectData& project() {
    static ProjectData p;
    return p;
}

std::vector<uint32_t> streamItem(uint32_t kind, const std::vector<uint8_t>& bytes) {
    std::vector<uint32_t> words{kind, static_cast<uint32_t>(bytes.size())};
    words.resize(2 + (bytes.size() + 3) / 4);
    std::memcpy(&words[2], bytes.data(), bytes.size());
    return words;
}

void buildProject() {
    ProjectData& p = project();
    ix.application = p.addNamedClass("Application");
    ix.window = p.addNamedClass("Window");
    ix.canvas = p.addNamedClass("Canvas");
    ix.rectControl = p.addNamedClass("RectControl");
    ix.timer = p.addNamedClass("Timer");
    ix.testWindow = p.addCompiledClass({.name = "TestWindow", .size = 112, .superIndex = ix.window,
                                        .eventHandlers = {{"Open", code(windowOpen)},
                                                          {"Close", code(windowClose)},
                                                          {"CancelClose", code(windowCancelClose)},
                                                          {"Resized", code(windowResized)},
                                                          {"Moved", code(windowMoved)},
                                                          {"MouseDown", code(windowMouseDown)},
                                                          {"MouseDrag", code(windowMouseDrag)},
                                                          {"MouseUp", code(windowMouseUp)},
                                                          {"MouseEnter", code(windowMouseEnter)},
                                                          {"MouseExit", code(windowMouseExit)},
                                                          {"MouseMove", code(windowMouseMove)},
                                                          {"Paint", code(windowPaint)},
                                                          {"DropObject", code(windowDrop)},
                                                          {"EnableMenuItems", code(windowEnableMenuItems)}},
                                        .menuHandlers = {{"SaveAll", code(windowSaveAll)}}});
    ix.traceControl = p.addCompiledClass({.name = "", .size = 100, .superIndex = ix.rectControl,
                                          .eventHandlers = {{"CreatePane", code(paneCreate)},
                                                            {"Open", code(controlOpen)},
                                                            {"MouseEnter", code(controlMouseEnter)},
                                                            {"MouseExit", code(controlMouseExit)},
                                                            {"DropObject", code(controlDrop)}}});
    ix.subWindow = p.addCompiledClass({.name = "SubWindow", .size = 112, .superIndex = ix.testWindow});
    ix.closing = p.addCompiledClass({.name = "Closing", .size = 112, .superIndex = ix.window,
                                     .eventHandlers = {{"Open", code(closeInOpen)}}});
    ix.keyWindow = p.addCompiledClass({.name = "KeyWindow", .size = 112, .superIndex = ix.window,
                                       .eventHandlers = {{"KeyDown", code(windowKeyDown)}}});
    ix.app = p.addCompiledClass({.name = "TestApp", .size = 28, .superIndex = ix.application,
                                 .menuHandlers = {{"SaveAll", code(appSaveAll)}}});
    ix.bindingInterface = p.addCompiledClass({.name = "Binding", .isInterface = true, .methods = {{"bind", nullptr}}});
    ix.binder = p.addCompiledClass({.name = "Binder", .interfaces = {ix.bindingInterface},
                                    .methods = {{"bind", code(binderBind)}}});
    ix.notABinder = p.addCompiledClass({.name = "NotABinder", .methods = {{"bind", code(binderBind)}}});
    ix.partControl = p.addCompiledClass({.name = "", .size = 100, .superIndex = ix.traceControl,
                                         .methods = {{"getBoundPart", code(boundPart)}}});
    ix.editControl = p.addCompiledClass({.name = "", .size = 100, .superIndex = ix.rectControl,
                                         .eventHandlers = {{"CreatePane", code(editPaneCreate)}}});

    MenuBarStream bar;
    MenuEntry file{.text = "File", .name = "FileMenu", .classIndex = -1};
    file.items.push_back({.text = "Save All", .name = "SaveAll", .shortcut = "Ctrl+Shft+S", .classIndex = -1});
    file.items.push_back({.text = "Other", .name = "Other", .shortcut = "O", .classIndex = -1});
    bar.menus = {file};
    p.addItem(streamItem(2, encodeMenuBarStream(bar)));
    SettingsStream settings;
    settings.firstByte = 13;  // the script number: Japanese
    std::vector<uint32_t> settingsItem = streamItem(4, encodeSettingsStream(settings));
    settingsItem.insert(settingsItem.begin() + 1, 0);  // a settings item has a 0 word before its count
    p.addItem(settingsItem);
    const uint32_t bytes = kPictureWidth * 2 * kPictureHeight;
    p.addItem(pictureItem(16, kPictureWidth, kPictureHeight, bytes, kRed555));
    p.addItem(pictureItem(8, kPictureWidth, kPictureHeight, bytes, kRed555));
    p.addItem(pictureItem(16, kPictureWidth, kPictureHeight, bytes - 2, kRed555));
    pictures = {3, 4, 5};
}

class RuntimeEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        buildProject();
        RuntimeInit(project().table());
    }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new RuntimeEnvironment);

LayoutControl control(int32_t cls, const std::string& name, std::vector<PropertyText> more = {}) {
    LayoutControl c{cls, {{"Name", name}}};
    c.properties.insert(c.properties.end(), more.begin(), more.end());
    return c;
}

WindowLayout windowLayout(int32_t cls, std::vector<LayoutControl> controls = {}, std::vector<PropertyText> props = {}) {
    WindowLayout l;
    l.windowClass = cls;
    l.properties = {{"Title", "Test"}, {"Width", "300"}, {"Height", "200"}, {"CloseBox", "True"}};
    l.properties.insert(l.properties.end(), props.begin(), props.end());
    l.controls = std::move(controls);
    return l;
}

// An open window, closed and released at the end of the test.
struct OpenWindow {
    ObjectHandle object = nullptr;
    explicit OpenWindow(const WindowLayout& layout) {
        const std::vector<uint8_t> bytes = encodeSizedWindowLayout(layout);
        object = RuntimeCreateWindow(bytes.data(), nullptr);
    }
    ~OpenWindow() {
        gRefuseClose = false;
        if (object) {
            RuntimeCloseWindow(object);
            RuntimeUnlockObject(object);
        }
    }
    HWND handle() const { return reinterpret_cast<HWND>(static_cast<intptr_t>(windowHWNDGetter(object))); }
    ObjectHandle fetch(const char* name) const {
        StringValue n = StringValue::fromCString(name);
        return RuntimeControlFetch(object, n.get());
    }
};

// Runs loop passes; when nothing is queued, a posted message makes sure the
// pass does not wait (posted messages come before input: only then).
void runPasses(int n) {
    for (int i = 0; i < n; ++i) {
        MSG queued;
        if (!PeekMessageW(&queued, nullptr, 0, 0, PM_NOREMOVE)) PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
        runLoopPass();
    }
}

TEST(LayoutWindows, PanesThenControlsOpenThenTheWindow) {
    gTrace.clear();
    OpenWindow w(windowLayout(ix.testWindow, {control(ix.traceControl, "a"), control(ix.traceControl, "b")}));
    ASSERT_NE(w.object, nullptr);
    EXPECT_EQ(gTrace, "P:a P:b O:a O:b W:open ");
    EXPECT_EQ(windowControlCountGetter(w.object), 2);
}

TEST(LayoutWindows, RegistryKeysForIndexedAndPlainControls) {
    OpenWindow w(windowLayout(ix.testWindow, {control(ix.rectControl, "Solo", {{"Index", "-2147483648"}}),
                                             control(ix.rectControl, "Arr", {{"Index", "2"}})}));
    ASSERT_NE(w.object, nullptr);
    EXPECT_NE(w.fetch("Solo"), nullptr);
    EXPECT_NE(w.fetch("solo"), nullptr);  // keys compare ignoring case
    EXPECT_EQ(w.fetch("Arr"), nullptr);
    StringValue arr = StringValue::fromCString("Arr");
    ObjectHandle two = RuntimeControlArrayItemReference(w.object, arr.get(), 2);
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(controlFields(two).index, 2);
    EXPECT_EQ(RuntimeControlReference(w.object, arr.get()), nullptr);
    RuntimeUnlockObject(two);
    EXPECT_EQ(registryKey("Arr", 2), "Arr$2");
}

TEST(LayoutWindows, SameNameWithoutIndexReplacesInPlaceAndKeepsTheFirstDescriptor) {
    OpenWindow w(windowLayout(ix.testWindow, {control(ix.rectControl, "Dup", {{"Left", "1"}}),
                                             control(ix.rectControl, "Mid"),
                                             control(ix.rectControl, "Dup", {{"Left", "7"}})}));
    ASSERT_NE(w.object, nullptr);
    ASSERT_EQ(windowControlCountGetter(w.object), 2);
    ObjectHandle first = windowControl(w.object, 0);
    EXPECT_EQ(controlFields(first).left, 7);  // the later control, at the earlier position
    RuntimeUnlockObject(first);
    StringValue dup = StringValue::fromCString("Dup");
    ObjectHandle clone = RuntimeCloneControlReference(w.object, dup.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(controlFields(clone).left, 1);  // made from the first descriptor
    EXPECT_NE(w.fetch("Dup*0"), nullptr);
    RuntimeUnlockObject(clone);
}

TEST(LayoutWindows, BooleanTexts) {
    struct Case {
        const char* text;
        bool visible;
    };
    for (const Case& c : {Case{"True", true}, Case{"true", true}, Case{"TRUE", true}, Case{"1", false},
                          Case{"False", false}, Case{"", false}, Case{"yes", false}}) {
        OpenWindow w(windowLayout(ix.testWindow, {control(ix.rectControl, "c", {{"Visible", c.text}})}));
        ASSERT_NE(w.object, nullptr);
        EXPECT_EQ(controlFields(w.fetch("c")).visible != 0, c.visible) << c.text;
    }
}

TEST(LayoutWindows, ControlInsideACanvasGetsItAsContainer) {
    auto rect = [](const char* l, const char* t, const char* wd, const char* h) {
        return std::vector<PropertyText>{{"Left", l}, {"Top", t}, {"Width", wd}, {"Height", h}};
    };
    OpenWindow w(windowLayout(ix.testWindow, {control(ix.canvas, "outer", rect("0", "0", "200", "200")),
                                             control(ix.canvas, "frame", rect("10", "10", "100", "100")),
                                             control(ix.rectControl, "inside", rect("10", "10", "100", "100")),
                                             control(ix.rectControl, "across", rect("90", "90", "30", "30"))}));
    ASSERT_NE(w.object, nullptr);
    EXPECT_EQ(controlFields(w.fetch("inside")).container, w.fetch("frame"));  // the last enclosing canvas
    EXPECT_EQ(controlFields(w.fetch("across")).container, w.fetch("outer"));
    EXPECT_EQ(controlFields(w.fetch("outer")).container, nullptr);
}

TEST(LayoutWindows, ClonesOfAnArrayTakeTheNextFreeIndex) {
    std::vector<LayoutControl> controls;
    for (const char* i : {"0", "1", "2"}) controls.push_back(control(ix.traceControl, "Btn", {{"Index", i}}));
    OpenWindow w(windowLayout(ix.testWindow, controls));
    ASSERT_NE(w.object, nullptr);
    StringValue btn = StringValue::fromCString("Btn");
    gTrace.clear();
    ObjectHandle third = RuntimeCloneControlReference(w.object, btn.get());
    ObjectHandle fourth = RuntimeCloneControlReference(w.object, btn.get());
    ASSERT_NE(third, nullptr);
    ASSERT_NE(fourth, nullptr);
    EXPECT_EQ(controlFields(third).index, 3);
    EXPECT_EQ(controlFields(fourth).index, 4);
    EXPECT_EQ(third->refCount, 2);  // the caller's and the registry's
    EXPECT_EQ(gTrace, "P:Btn O:Btn P:Btn O:Btn ");
    EXPECT_EQ(w.fetch("Btn$4"), fourth);
    RuntimeUnlockObject(third);
    RuntimeUnlockObject(fourth);
}

TEST(LayoutWindows, AClosedWindowFindsAndClonesNothing) {
    OpenWindow w(windowLayout(ix.testWindow, {control(ix.traceControl, "Btn", {{"Index", "0"}})}));
    ASSERT_NE(w.object, nullptr);
    RuntimeCloseWindow(w.object);
    ASSERT_EQ(windowFields(w.object).native, nullptr);
    StringValue btn = StringValue::fromCString("Btn");
    gTrace.clear();
    EXPECT_EQ(RuntimeCloneControlReference(w.object, btn.get()), nullptr);
    EXPECT_EQ(RuntimeControlArrayItemReference(w.object, btn.get(), 0), nullptr);
    EXPECT_EQ(windowControlCountGetter(w.object), 0);
    EXPECT_EQ(gTrace, "");  // no pane was made for a window that is gone
}

TEST(LayoutWindows, WindowClosedInItsOwnOpenGivesNilAndClearsTheImplicitInstance) {
    const int32_t live = liveObjectCount();
    ObjectHandle implicitInstance = nullptr;
    const std::vector<uint8_t> bytes = encodeSizedWindowLayout(windowLayout(ix.closing, {control(ix.rectControl, "x")}));
    EXPECT_EQ(RuntimeCreateWindow(bytes.data(), &implicitInstance), nullptr);
    EXPECT_EQ(implicitInstance, nullptr);
    EXPECT_EQ(liveObjectCount(), live);
    EXPECT_EQ(NativeWindow::first(), nullptr);
}

TEST(LayoutWindows, DamagedLayoutsGiveNilAndLeakNothing) {
    const std::vector<uint8_t> good =
        encodeWindowLayout(windowLayout(ix.testWindow, {control(ix.rectControl, "c", {{"Left", "5"}})}));
    std::vector<std::pair<std::string, std::vector<uint8_t>>> cases;
    for (size_t cut : {size_t{0}, size_t{1}, size_t{5}, good.size() / 2, good.size() - 1}) {
        cases.emplace_back("truncated at " + std::to_string(cut), std::vector<uint8_t>(good.begin(), good.begin() + cut));
    }
    std::vector<uint8_t> extra = good;
    extra.push_back(0);
    cases.emplace_back("a byte left over", extra);
    cases.emplace_back("window class outside the table", encodeWindowLayout(windowLayout(999)));
    cases.emplace_back("control class outside the table",
                       encodeWindowLayout(windowLayout(ix.testWindow, {control(-1, "c")})));
    DataStreamWriter huge;
    huge.writeVarint(0x0FFFFFFF);  // a property count far beyond the stream
    huge.writeVarint(ix.testWindow);
    cases.emplace_back("a count past the end", huge.bytes());
    const int32_t live = liveObjectCount();
    for (const auto& [what, stream] : cases) {
        std::vector<uint8_t> bytes(4);
        const auto n = static_cast<uint32_t>(stream.size());
        std::memcpy(bytes.data(), &n, 4);
        bytes.insert(bytes.end(), stream.begin(), stream.end());
        EXPECT_EQ(RuntimeCreateWindow(bytes.data(), nullptr), nullptr) << what;
    }
    EXPECT_EQ(liveObjectCount(), live);
    EXPECT_EQ(NativeWindow::first(), nullptr);
}

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

// Takes every queued message first.
void drainMessages() {
    MSG queued;
    for (int i = 0; i < 200 && PeekMessageW(&queued, nullptr, 0, 0, PM_NOREMOVE); ++i) runPasses(1);
}

// Moves the mouse as a person would (input events, not a warp) and runs
// passes until the system reports it there.
void moveMouse(POINT to) {
    drainMessages();
    testing_support::sendMouseAt(to, 0);
    // Until the pointer is there and every mouse message is taken: a message
    // still queued for an earlier position would move it back for a moment.
    // The loop must see it there in a few passes in a row.
    int steady = 0;
    for (int i = 0; i < 300 && steady < 4; ++i) {
        runPasses(1);
        POINT now;
        GetCursorPos(&now);
        MSG queued;
        const bool pending = PeekMessageW(&queued, nullptr, 0, 0, PM_NOREMOVE);
        steady = (now.x == to.x && now.y == to.y && !pending) ? steady + 1 : 0;
        if (!pending) Sleep(5);
    }
}

void clickAt(POINT screen) {
    moveMouse(screen);
    runPasses(2);
    Sleep(50);
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, click, sizeof(INPUT));
    for (int i = 0; i < 20; ++i) {
        runPasses(1);
        Sleep(5);
    }
}

POINT screenPoint(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
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

TEST(Fonts, EqualRequestsShareOneFontDeletedWithTheLastRelease) {
    const size_t before = cachedFontCount();
    const FontRequest geneva{"Geneva", 12, true};
    HFONT first = acquireFont(geneva);
    HFONT second = acquireFont(geneva);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    LOGFONTW font{};
    ASSERT_NE(GetObjectW(first, sizeof(font), &font), 0);
    EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(font.lfHeight, -12);
    HFONT plain = acquireFont({"Geneva", 12, false});
    EXPECT_NE(plain, first);
    releaseFont(plain);
    releaseFont(first);
    EXPECT_NE(GetObjectType(first), 0u);
    releaseFont(second);
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(cachedFontCount(), before);
}

TEST(Screenshot, WindowWithMenuBarAndControls) {
    std::vector<LayoutControl> controls;
    int x = 20;
    for (const char* name : {"Send", "Cancel", "Help"}) {
        controls.push_back(control(ix.traceControl, name,
                                   {{"Left", std::to_string(x)}, {"Top", "40"}, {"Width", "80"}, {"Height", "28"}}));
        x += 100;
    }
    OpenWindow w(windowLayout(ix.testWindow, controls, {{"Title", "Screenshot"}, {"HasBackColor", "True"},
                                                       {"BackColor", "16777164"}}));
    ASSERT_NE(w.object, nullptr);
    runPasses(5);
    UpdateWindow(w.handle());
    Sleep(300);
    runPasses(3);
    EXPECT_TRUE(testing_support::writeScreenshot("window_screenshot.png"));
    // The background is the window's BackColor 0xFFFFCC, read from the screen.
    POINT inside{150, 150};
    ClientToScreen(w.handle(), &inside);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, inside.x, inside.y), RGB(0xFF, 0xFF, 0xCC));
    ReleaseDC(nullptr, screen);
}

TEST(Fonts, TheCharacterSetFollowsTheImagesScriptNumber) {
    EXPECT_EQ(applicationScript(), 13);  // from the settings item of this project
    HFONT font = acquireFont({"Osaka", 10});
    ASSERT_NE(font, nullptr);
    LOGFONTW logical{};
    ASSERT_NE(GetObjectW(font, sizeof(logical), &logical), 0);
    EXPECT_EQ(logical.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_STREQ(logical.lfFaceName, L"MS UI Gothic");
    releaseFont(font);
    struct Case {
        int32_t script;
        BYTE charset;
    };
    for (const Case& c : {Case{13, SHIFTJIS_CHARSET}, Case{21, CHINESEBIG5_CHARSET}, Case{12, HEBREW_CHARSET},
                          Case{14, ARABIC_CHARSET}, Case{16, GREEK_CHARSET}, Case{19, TURKISH_CHARSET},
                          Case{24, THAI_CHARSET}, Case{34, RUSSIAN_CHARSET}, Case{0, DEFAULT_CHARSET},
                          Case{1, DEFAULT_CHARSET}}) {
        EXPECT_EQ(scriptCharacterSet(c.script), c.charset) << c.script;
    }
}

// A colour read from the screen: a 5-bit red comes back as (nearly) full red.
bool isRed(COLORREF c) { return GetRValue(c) >= 0xF0 && GetGValue(c) < 0x10 && GetBValue(c) < 0x10; }

COLORREF screenPixel(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

// Whether the screen shows what `expected` accepts at a client point once
// the window has painted (the display catches up with the window a little
// later than the window procedure returns).
bool settlesTo(HWND window, int x, int y, bool (*expected)(COLORREF)) {
    for (int i = 0; i < 50; ++i) {
        runPasses(1);
        UpdateWindow(window);
        if (expected(screenPixel(window, x, y))) return true;
        Sleep(20);
    }
    return false;
}

TEST(Painting, TheBackdropIsDrawnBeforePaintOverTheBackColor) {
    OpenWindow w(windowLayout(ix.testWindow, {}, {{"Backdrop", std::to_string(pictures.red)}, {"HasBackColor", "True"},
                                                 {"BackColor", "16777215"}}));
    ASSERT_NE(w.object, nullptr);
    ObjectHandle backdrop = windowBackdropGetter(w.object);
    ASSERT_NE(backdrop, nullptr);
    RuntimeUnlockObject(backdrop);
    gTrace.clear();
    runPasses(3);
    SetForegroundWindow(w.handle());
    RedrawWindow(w.handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(settlesTo(w.handle(), 1, 1, isRed));
    EXPECT_NE(gTrace.find("paint "), std::string::npos);
    EXPECT_TRUE(isRed(screenPixel(w.handle(), kPictureWidth - 1, kPictureHeight - 1)));
    EXPECT_EQ(screenPixel(w.handle(), kPictureWidth + 4, 1), RGB(255, 255, 255));
    EXPECT_EQ(screenPixel(w.handle(), 1, kPictureHeight + 4), RGB(255, 255, 255));

    // Without a backdrop only the back colour remains.
    windowBackdropSetter(w.object, nullptr);
    EXPECT_TRUE(settlesTo(w.handle(), 1, 1, [](COLORREF c) { return c == RGB(255, 255, 255); }));
}

TEST(Painting, PicturesThatCannotBeDrawnAreRefused) {
    ObjectHandle red = RuntimeProjectObject(pictures.red);
    ObjectHandle eightBits = RuntimeProjectObject(pictures.eightBits);
    ObjectHandle tooShort = RuntimeProjectObject(pictures.short_);
    const PictureDescription good = pictureDescription(red);
    EXPECT_EQ(good.width, kPictureWidth);
    EXPECT_EQ(good.height, kPictureHeight);
    ASSERT_NE(good.pixels, nullptr);
    EXPECT_EQ(good.pixels[0] | (good.pixels[1] << 8), kRed555);
    EXPECT_EQ(pictureDescription(eightBits).pixels, nullptr);
    EXPECT_EQ(pictureDescription(tooShort).pixels, nullptr);
    EXPECT_EQ(pictureDescription(nullptr).pixels, nullptr);
    StringValue notAPicture = StringValue::fromCString("SaveAll");
    ObjectHandle item = RuntimeMenuReference(notAPicture.get());
    EXPECT_EQ(pictureDescription(item).pixels, nullptr);  // an object of another class
    HDC screen = GetDC(nullptr);
    EXPECT_FALSE(drawPicture(screen, eightBits, 0, 0));
    ReleaseDC(nullptr, screen);
    for (ObjectHandle o : {red, eightBits, tooShort, item}) RuntimeUnlockObject(o);
}

TEST(Painting, TheRuntimePaletteIsAColourCube) {
    HPALETTE palette = runtimePalette();
    ASSERT_NE(palette, nullptr);
    PALETTEENTRY entries[216];
    ASSERT_EQ(GetPaletteEntries(palette, 0, 216, entries), 216u);
    auto rgb = [](const PALETTEENTRY& e) { return RGB(e.peRed, e.peGreen, e.peBlue); };
    EXPECT_EQ(rgb(entries[0]), RGB(0, 0, 0));
    EXPECT_EQ(rgb(entries[1]), RGB(0, 0, 51));
    EXPECT_EQ(rgb(entries[6]), RGB(0, 51, 0));
    EXPECT_EQ(rgb(entries[36]), RGB(51, 0, 0));
    EXPECT_EQ(rgb(entries[215]), RGB(255, 255, 255));
    OpenWindow w(windowLayout(ix.testWindow));
    ASSERT_NE(w.object, nullptr);
    EXPECT_EQ(SendMessageW(w.handle(), WM_QUERYNEWPALETTE, 0, 0), 1);
}

// A data object offering one format in global memory, as a drag source does.
class DataObject final : public IDataObject {
public:
    DataObject(CLIPFORMAT format, const void* bytes, size_t size) : format_(format) {
        memory_ = GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(GlobalLock(memory_), bytes, size);
        GlobalUnlock(memory_);
    }
    ~DataObject() { GlobalFree(memory_); }
    static DataObject text(const wchar_t* text) {
        return DataObject(CF_UNICODETEXT, text, (wcslen(text) + 1) * sizeof(wchar_t));
    }
    static DataObject file(const wchar_t* path) {
        std::vector<uint8_t> block(sizeof(DROPFILES) + (wcslen(path) + 2) * sizeof(wchar_t));
        auto* files = reinterpret_cast<DROPFILES*>(block.data());
        files->pFiles = sizeof(DROPFILES);
        files->fWide = TRUE;
        std::memcpy(block.data() + sizeof(DROPFILES), path, wcslen(path) * sizeof(wchar_t));
        return DataObject(CF_HDROP, block.data(), block.size());
    }
    DataObject(DataObject&& other) noexcept : format_(other.format_), memory_(std::exchange(other.memory_, nullptr)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        const SIZE_T size = GlobalSize(memory_);
        HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(GlobalLock(copy), GlobalLock(memory_), size);
        GlobalUnlock(copy);
        GlobalUnlock(memory_);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = copy;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format->cfFormat == format_ && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    CLIPFORMAT format_;
    HGLOBAL memory_;
};

TEST(Drops, TheRegisteredTargetTakesAcceptedKindsToTheControlOrTheWindow) {
    OpenWindow w(windowLayout(ix.testWindow, {control(ix.traceControl, "Pad", {{"Left", "200"}, {"Top", "100"},
                                                                               {"Width", "60"}, {"Height", "60"}})}));
    ASSERT_NE(w.object, nullptr);
    IDropTarget* target = windowFields(w.object).native->dropTarget();
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(RegisterDragDrop(w.handle(), target), DRAGDROP_E_ALREADYREGISTERED);

    DataObject text = DataObject::text(L"dropped");
    auto at = [&](int x, int y) {
        const POINT p = screenPoint(w.handle(), x, y);
        return POINTL{p.x, p.y};
    };
    auto enter = [&](IDataObject* data) {
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragEnter(data, 0, at(20, 30), &effect);
        DWORD over = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragOver(0, at(21, 30), &over);
        EXPECT_EQ(over, effect);
        target->DragLeave();
        return effect;
    };
    auto drop = [&](IDataObject* data, int x, int y) {
        runPasses(3);  // the window's own events first
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        gTrace.clear();
        target->Drop(data, 0, at(x, y), &effect);
        return effect;
    };
    // Nothing accepted yet: the drag is refused and nothing arrives.
    EXPECT_EQ(enter(&text), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(drop(&text, 20, 30), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(gTrace, "");

    const int32_t live = liveObjectCount();
    formAcceptTextDrop(w.object);
    EXPECT_EQ(enter(&text), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(drop(&text, 20, 30), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(gTrace, "window-drop:dropped@20,30 ");
    drop(&text, 210, 110);  // on the control, which handles DropObject
    EXPECT_EQ(gTrace, "drop:Pad:dropped@210,110 ");
    EXPECT_EQ(liveObjectCount(), live);  // the drag items went with their events

    // Files only once the window accepts them.
    DataObject file = DataObject::file(L"C:\\windows\\win.ini");
    EXPECT_EQ(enter(&file), static_cast<DWORD>(DROPEFFECT_NONE));
    formAcceptFileDrop(w.object, nullptr);
    EXPECT_EQ(enter(&file), static_cast<DWORD>(DROPEFFECT_COPY));
    drop(&file, 40, 50);
    EXPECT_EQ(gTrace, "window-drop:[file]@40,50 ");
    EXPECT_EQ(liveObjectCount(), live);
}

TEST(Drops, AClosedWindowsTargetRefusesEverything) {
    DataObject text = DataObject::text(L"late");
    IDropTarget* target = nullptr;
    {
        OpenWindow w(windowLayout(ix.testWindow));
        ASSERT_NE(w.object, nullptr);
        formAcceptTextDrop(w.object);
        target = windowFields(w.object).native->dropTarget();
        target->AddRef();  // as a drag loop would hold it
    }
    DWORD effect = DROPEFFECT_COPY;
    gTrace.clear();
    target->DragEnter(&text, 0, POINTL{10, 10}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    target->Drop(&text, 0, POINTL{10, 10}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(gTrace, "");
    target->Release();
}

TEST(Bindings, BindersGetTheNumberedControlsOrTheirPartsBeforeTheControlsOpen) {
    WindowLayout layout = windowLayout(ix.testWindow, {control(ix.partControl, "a"), control(ix.partControl, "b")});
    layout.bindings = {
        {.sourceControl = 0, .targetControl = 1, .binderClass = ix.binder},
        {.sourceControl = 1, .sourcePart = "value", .targetControl = 0, .binderClass = ix.binder, .sourcePartText = "self"},
        {.sourceControl = 0, .targetControl = 1, .targetPart = "x", .binderClass = ix.binder, .targetPartText = "none"},
        {.sourceControl = 0, .targetControl = 2, .binderClass = ix.binder},  // no third control
        {.sourceControl = 0, .targetControl = 1, .binderClass = ix.notABinder},
    };
    const int32_t live = liveObjectCount();
    gTrace.clear();
    {
        OpenWindow w(layout);
        ASSERT_NE(w.object, nullptr);
        EXPECT_EQ(gTrace, "P:a P:b bind:a>b part:self/value bind:b>a part:none/x O:a O:b W:open ");
    }
    EXPECT_EQ(liveObjectCount(), live);  // binders and parts released
}

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

TEST(Fonts, PluginsGetTheCharacterSetOfTheRuntimesFonts) {
    // Whatever the system's code page, a plug-in's fonts take the character
    // set of the application's script, as the runtime's own fonts do.
    const int32_t script = applicationScript();
    const std::pair<int32_t, int32_t> cases[] = {{13, 128}, {21, 136}, {34, 204}, {0, 1}};
    for (const auto& [s, characterSet] : cases) {
        setApplicationScript(s);
        EXPECT_EQ(VELMGetWin32Charset(), characterSet) << s;
    }
    setApplicationScript(script);
    EXPECT_EQ(VELMGetWin32Charset(), SHIFTJIS_CHARSET);
}

// Last: the quit flag it sets is never cleared.
TEST(EventLoop, ClosingTheLastWindowEndsTheLoop) {
    OpenWindow w(windowLayout(ix.testWindow));
    ASSERT_NE(w.object, nullptr);
    PostMessageW(w.handle(), WM_CLOSE, 0, 0);
    runEventLoop();
    EXPECT_TRUE(quitRequested());
    EXPECT_EQ(windowFields(w.object).native, nullptr);
}

}  // namespace
