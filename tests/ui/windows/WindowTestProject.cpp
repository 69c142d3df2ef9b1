// The project the window tests run against, set up once for the program.
#include "WindowTestProject.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/RealInput.h"
#include "objects/DataStreamWriter.h"
#include "objects/EventLoop.h"
#include "objects/LoopEntries.h"
#include "objects/ProjectData.h"
#include "objects/RuntimeStartup.h"
#include "ui/ControlFields.h"
#include "ui/DragItem.h"
#include "ui/FormEntries.h"
#include "ui/Pane.h"

using namespace runtime;
using testing_support::ProjectData;

namespace window_tests {

std::string gTrace;
bool gRefuseClose = false;
bool gEnableSaveAll = true;
bool gTakeMouse = false;
bool gTakeKey = false;

Classes ix;
Pictures pictures;

std::string nameOf(ObjectHandle control) { return std::string(viewOf(controlFields(control).name)); }

namespace {

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
    p.addItem(ProjectData::streamItem(2, encodeMenuBarStream(bar)));
    SettingsStream settings;
    settings.firstByte = 13;  // the script number: Japanese
    std::vector<uint32_t> settingsItem = ProjectData::streamItem(4, encodeSettingsStream(settings));
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

}  // namespace

LayoutControl control(int32_t cls, const std::string& name, std::vector<PropertyText> more) {
    LayoutControl c{cls, {{"Name", name}}};
    c.properties.insert(c.properties.end(), more.begin(), more.end());
    return c;
}

WindowLayout windowLayout(int32_t cls, std::vector<LayoutControl> controls, std::vector<PropertyText> props) {
    WindowLayout l;
    l.windowClass = cls;
    l.properties = {{"Title", "Test"}, {"Width", "300"}, {"Height", "200"}, {"CloseBox", "True"}};
    l.properties.insert(l.properties.end(), props.begin(), props.end());
    l.controls = std::move(controls);
    return l;
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
    // The press and release carry the place too: a motion message read late
    // cannot move them elsewhere.
    INPUT click[2] = {testing_support::absoluteMouseInput(screen, MOUSEEVENTF_LEFTDOWN),
                      testing_support::absoluteMouseInput(screen, MOUSEEVENTF_LEFTUP)};
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

}  // namespace window_tests
