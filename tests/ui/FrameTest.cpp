// Frame mode, under Wine with real native windows: the image asks for a
// frame, so every window of the application is a child of the frame's client
// window. C++ functions stand in for the compiled handlers.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/LoopPasses.h"
#include "support/RealInput.h"
#include "objects/DataStreamWriter.h"
#include "objects/EventLoop.h"
#include "objects/LoopEntries.h"
#include "objects/ObjectEntries.h"
#include "objects/ProjectData.h"
#include "objects/RuntimeStartup.h"
#include "objects/WindowInstantiation.h"
#include "objects/WindowLayout.h"
#include "text/StringValue.h"
#include "ui/FontCache.h"
#include "ui/FrameWindow.h"
#include "ui/Menus.h"
#include "ui/NativeWindow.h"
#include "ui/WindowEntries.h"
#include "ui/WindowFields.h"

using namespace runtime;
using testing_support::ProjectData;
using testing_support::runPasses;

namespace {

std::string gTrace;
bool gRefuseClose = false;

std::string titleOf(ObjectHandle w) {
    StringValue title = StringValue::adopt(windowTitleGetter(w));
    return std::string(viewOf(title.get()));
}

extern "C" {
void windowOpen(ObjectHandle w) { gTrace += "open:" + titleOf(w) + " "; }
void windowClose(ObjectHandle w) { gTrace += "close:" + titleOf(w) + " "; }
bool windowCancelClose(ObjectHandle) { return gRefuseClose; }
void windowActivate(ObjectHandle w) { gTrace += "activate:" + titleOf(w) + " "; }
void windowDeactivate(ObjectHandle w) { gTrace += "deactivate:" + titleOf(w) + " "; }
void windowMoved(ObjectHandle) { gTrace += "moved "; }
void windowMouseEnter(ObjectHandle w) { gTrace += "enter:" + titleOf(w) + " "; }
void windowEnableMenuItems(ObjectHandle w) { gTrace += "enable:" + titleOf(w) + " "; }
bool windowSaveAll(ObjectHandle w) {
    gTrace += "window:SaveAll:" + titleOf(w) + " ";
    return true;
}
bool appSaveAll(ObjectHandle) {
    gTrace += "app:SaveAll ";
    return true;
}
}

void* code(auto* f) { return reinterpret_cast<void*>(f); }

struct Classes {
    int32_t application, window, childWindow, plainWindow, app;
} ix;

ProjectData& project() {
    static ProjectData p;
    return p;
}

void buildProject() {
    ProjectData& p = project();
    ix.application = p.addNamedClass("Application");
    ix.window = p.addNamedClass("Window");
    const std::vector<ProjectData::Handler> common{{"Open", code(windowOpen)},
                                                   {"Close", code(windowClose)},
                                                   {"CancelClose", code(windowCancelClose)},
                                                   {"Activate", code(windowActivate)},
                                                   {"Deactivate", code(windowDeactivate)},
                                                   {"Moved", code(windowMoved)},
                                                   {"MouseEnter", code(windowMouseEnter)},
                                                   {"EnableMenuItems", code(windowEnableMenuItems)}};
    ix.childWindow = p.addCompiledClass({.name = "ChildWindow", .size = 112, .superIndex = ix.window,
                                         .eventHandlers = common,
                                         .menuHandlers = {{"SaveAll", code(windowSaveAll)}}});
    ix.plainWindow = p.addCompiledClass({.name = "PlainWindow", .size = 112, .superIndex = ix.window,
                                         .eventHandlers = common});
    ix.app = p.addCompiledClass({.name = "FrameApp", .size = 28, .superIndex = ix.application,
                                 .menuHandlers = {{"SaveAll", code(appSaveAll)}}});
    MenuBarStream bar;
    MenuEntry file{.text = "File", .name = "FileMenu", .classIndex = -1};
    file.items.push_back({.text = "Save All", .name = "SaveAll", .shortcut = "Ctrl+Shft+S", .classIndex = -1});
    bar.menus = {file};
    p.addItem(ProjectData::streamItem(2, encodeMenuBarStream(bar)));
    SettingsStream settings;
    settings.firstByte = 34;  // the script number: Cyrillic
    settings.mdiFrame = true;
    settings.mdiTitle = "Frame Title";
    std::vector<uint32_t> settingsItem = ProjectData::streamItem(4, encodeSettingsStream(settings));
    settingsItem.insert(settingsItem.begin() + 1, 0);  // a settings item has a 0 word before its count
    p.addItem(settingsItem);
}

class RuntimeEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        buildProject();
        RuntimeInit(project().table());
    }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new RuntimeEnvironment);

std::vector<uint8_t> layoutBytes(int32_t cls, const std::string& title, std::vector<PropertyText> more = {}) {
    WindowLayout layout;
    layout.windowClass = cls;
    layout.properties = {{"Title", title}, {"Width", "200"}, {"Height", "120"}, {"CloseBox", "True"}};
    layout.properties.insert(layout.properties.end(), more.begin(), more.end());
    return encodeSizedWindowLayout(layout);
}

struct OpenWindow {
    ObjectHandle object = nullptr;
    OpenWindow(int32_t cls, const std::string& title, std::vector<PropertyText> more = {}) {
        const std::vector<uint8_t> bytes = layoutBytes(cls, title, std::move(more));
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
};

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

void activateChild(HWND child) {
    SendMessageW(frameClient(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0);
    runPasses(2);
}

TEST(Frame, TheImageAsksForAFrameWithItsTitleSizeClientAndMenuBar) {
    HWND frame = frameWindow();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(inFrameMode());
    EXPECT_EQ(classOf(frame), L"VL_MDIFRAME");
    wchar_t title[64] = {};
    GetWindowTextW(frame, title, 64);
    EXPECT_STREQ(title, L"Frame Title");
    const auto style = static_cast<DWORD>(GetWindowLongW(frame, GWL_STYLE));
    EXPECT_EQ(style & (WS_OVERLAPPEDWINDOW | WS_VISIBLE), static_cast<DWORD>(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    RECT r;
    GetWindowRect(frame, &r);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 480);
    EXPECT_NE(GetMenu(frame), nullptr);
    EXPECT_EQ(GetMenu(frame), menuBarHandle());  // the frame carries the menu bar
    HWND client = frameClient();
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(lstrcmpiW(classOf(client).c_str(), L"MDICLIENT"), 0);
    EXPECT_EQ(GetParent(client), frame);
    const auto clientStyle = static_cast<DWORD>(GetWindowLongW(client, GWL_STYLE));
    const DWORD wanted = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL;
    EXPECT_EQ(clientStyle & wanted, wanted);
}

TEST(Frame, FontsTakeTheImagesScriptNumber) {
    EXPECT_EQ(applicationScript(), 34);
    HFONT font = acquireFont({"Times", 11});
    LOGFONTW logical{};
    ASSERT_NE(GetObjectW(font, sizeof(logical), &logical), 0);
    EXPECT_EQ(logical.lfCharSet, RUSSIAN_CHARSET);
    releaseFont(font);
}

TEST(Frame, WindowsAreChildrenOfTheFramesClient) {
    struct Case {
        const char* frame;
        DWORD exStyle;
    };
    for (const Case& c : {Case{"0", WS_EX_MDICHILD}, Case{"1", WS_EX_MDICHILD | WS_EX_DLGMODALFRAME},
                          Case{"3", WS_EX_MDICHILD | WS_EX_TOOLWINDOW}}) {
        gTrace.clear();
        OpenWindow w(ix.plainWindow, "Child", {{"Frame", c.frame}});
        ASSERT_NE(w.object, nullptr) << c.frame;
        EXPECT_NE(gTrace.find("open:Child "), std::string::npos);
        EXPECT_EQ(classOf(w.handle()), L"VL_MDICHILD") << c.frame;
        EXPECT_EQ(GetParent(w.handle()), frameClient()) << c.frame;
        const auto ex = static_cast<DWORD>(GetWindowLongW(w.handle(), GWL_EXSTYLE));
        EXPECT_EQ(ex & c.exStyle, c.exStyle) << c.frame;
        ASSERT_EQ(getWindowCount(), 1);
        ObjectHandle listed = getWindow(0);
        EXPECT_EQ(listed, w.object);
        RuntimeUnlockObject(listed);
    }
    EXPECT_EQ(getWindowCount(), 0);
}

TEST(Frame, MenuCommandsAndMenuEnablingGoToTheActiveChild) {
    OpenWindow first(ix.childWindow, "First");
    OpenWindow second(ix.plainWindow, "Second");
    ASSERT_NE(first.object, nullptr);
    ASSERT_NE(second.object, nullptr);
    const UINT saveAll = commandForShortcut("Ctrl+Shft+S");
    ASSERT_NE(saveAll, 0u);

    gTrace.clear();
    activateChild(first.handle());
    EXPECT_NE(gTrace.find("deactivate:Second activate:First "), std::string::npos) << gTrace;
    EXPECT_EQ(activeFrameChild(), windowFields(first.object).native);
    gTrace.clear();
    SendMessageW(frameWindow(), WM_COMMAND, saveAll, 0);
    EXPECT_EQ(gTrace, "window:SaveAll:First ");
    gTrace.clear();
    SendMessageW(frameWindow(), WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(frameWindow())), 0);
    EXPECT_EQ(gTrace, "enable:First ");

    activateChild(second.handle());
    gTrace.clear();
    SendMessageW(frameWindow(), WM_COMMAND, saveAll, 0);
    EXPECT_EQ(gTrace, "app:SaveAll ");  // the active child has no handler
}

TEST(Frame, CtrlF4InTheLoopClosesTheActiveChild) {
    OpenWindow w(ix.plainWindow, "Keyed");
    ASSERT_NE(w.object, nullptr);
    SetForegroundWindow(frameWindow());
    activateChild(w.handle());
    SetFocus(w.handle());
    runPasses(3);
    gTrace.clear();
    testing_support::sendKeyChord({VK_CONTROL, VK_F4});
    for (int i = 0; i < 50 && windowFields(w.object).native; ++i) {
        runPasses(1);
        Sleep(10);
    }
    EXPECT_EQ(windowFields(w.object).native, nullptr) << gTrace;
    EXPECT_NE(gTrace.find("close:Keyed "), std::string::npos) << gTrace;
}

TEST(Frame, ChildGeometryIsInTheClientsCoordinates) {
    OpenWindow w(ix.plainWindow, "Moving");
    ASSERT_NE(w.object, nullptr);
    runPasses(2);
    gTrace.clear();
    windowPosSetter(w.object, 0, 30);
    windowPosSetter(w.object, 1, 40);
    EXPECT_EQ(gTrace, "moved moved ");
    runPasses(2);
    POINT origin{0, 0};
    MapWindowPoints(w.handle(), frameClient(), &origin, 1);
    EXPECT_EQ(origin.x, 30);
    EXPECT_EQ(origin.y, 40);
    EXPECT_EQ(windowPosGetter(w.object, 0), 30);
    RECT client;
    GetClientRect(w.handle(), &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 120);
}

TEST(Frame, ThePolledMouseFindsTheChildUnderIt) {
    OpenWindow w(ix.plainWindow, "Pointed");
    ASSERT_NE(w.object, nullptr);
    windowPosSetter(w.object, 0, 20);
    windowPosSetter(w.object, 1, 20);
    SetForegroundWindow(frameWindow());
    runPasses(3);
    gTrace.clear();
    POINT target{50, 50};
    ClientToScreen(w.handle(), &target);
    testing_support::sendMouseAt(target, 0);
    for (int i = 0; i < 100 && gTrace.find("enter:Pointed ") == std::string::npos; ++i) {
        runPasses(1);
        Sleep(10);
    }
    EXPECT_NE(gTrace.find("enter:Pointed "), std::string::npos) << gTrace;
}

TEST(Frame, ATypedShortcutOnTheFrameWithoutChildrenReachesTheApplication) {
    ASSERT_EQ(getWindowCount(), 0);
    SetForegroundWindow(frameWindow());
    SetFocus(frameWindow());
    runPasses(3);
    gTrace.clear();
    testing_support::sendKeyChord({VK_CONTROL, VK_SHIFT, 'S'});
    for (int i = 0; i < 50 && gTrace.find("SaveAll") == std::string::npos; ++i) {
        runPasses(1);
        Sleep(10);
    }
    EXPECT_EQ(gTrace, "app:SaveAll ");
}

TEST(Frame, TheLoopGoesOnWithoutChildrenAndAClosingFrameAsksTheWindows) {
    {
        OpenWindow w(ix.plainWindow, "Refusing");
        ASSERT_NE(w.object, nullptr);
        gRefuseClose = true;
        gTrace.clear();
        SendMessageW(frameWindow(), WM_CLOSE, 0, 0);  // the quit is refused
        EXPECT_NE(frameWindow(), nullptr);
        EXPECT_NE(windowFields(w.object).native, nullptr);
        EXPECT_EQ(gTrace.find("close:"), std::string::npos) << gTrace;
        gRefuseClose = false;
        RuntimeCloseWindow(w.object);
        EXPECT_EQ(windowFields(w.object).native, nullptr);
        EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(static_cast<intptr_t>(windowHWNDGetter(w.object)))));
    }
    runPasses(2);
    EXPECT_FALSE(quitRequested());  // the frame keeps the loop going
}

}  // namespace
