#include "support/RealInput.h"
#include "ControlsFixture.h"

#include <commctrl.h>

#include <cstring>

#include "objects/EventLoop.h"
#include "objects/LoopEntries.h"
#include "objects/ObjectEntries.h"
#include "objects/ProjectData.h"
#include "objects/RuntimeStartup.h"
#include "objects/WindowInstantiation.h"
#include "text/StringValue.h"
#include "text/SystemText.h"
#include "ui/ControlEntries.h"
#include "ui/ControlFields.h"
#include "ui/Pane.h"
#include "ui/WindowEntries.h"
#include "ui/controls/SimpleControlEntries.h"

#include <gtest/gtest.h>

using namespace runtime;
using testing_support::ProjectData;

namespace controls_test {

std::string gTrace;
int gCheckValueInAction = -1;

namespace {

std::string nameOf(ObjectHandle c) { return std::string(viewOf(controlFields(c).name)); }

extern "C" {
void buttonAction(ObjectHandle c) { gTrace += "A:" + nameOf(c) + " "; }
void closingAction(ObjectHandle c) {
    gTrace += "close:" + nameOf(c) + " ";
    ObjectHandle w = controlWindowGetter(c);
    RuntimeCloseWindow(w);
    RuntimeUnlockObject(w);
}
void checkAction(ObjectHandle c) {
    gTrace += "A:" + nameOf(c) + "=" + std::to_string(checkBoxValueGetter(c)) + " ";
    if (gCheckValueInAction >= 0) checkBoxValueSetter(c, gCheckValueInAction != 0);
}
void radioAction(ObjectHandle c) { gTrace += "A:" + nameOf(c) + " "; }
void tabChange(ObjectHandle c) { gTrace += "C:" + std::to_string(tabPanelValueGetter(c)) + " "; }
void canvasPaint(ObjectHandle c, ObjectHandle graphics) {
    gTrace += graphics ? "paint:" + nameOf(c) + " " : "paint:nil ";
}
bool canvasDown(ObjectHandle, int32_t x, int32_t y) {
    gTrace += "down:" + std::to_string(x) + "," + std::to_string(y) + " ";
    return true;
}
void canvasDrag(ObjectHandle, int32_t, int32_t) {
    if (gTrace.find("drag ") == std::string::npos) gTrace += "drag ";
}
void canvasUp(ObjectHandle, int32_t x, int32_t y) {
    gTrace += "up:" + std::to_string(x) + "," + std::to_string(y) + " ";
}
void scrollChanged(ObjectHandle c) {
    gTrace += "V:" + std::to_string(*reinterpret_cast<int32_t*>(reinterpret_cast<char*>(c) + 92)) + " ";
}
void windowResized(ObjectHandle) { gTrace += "resized "; }
bool windowDown(ObjectHandle, int32_t x, int32_t y) {
    gTrace += "wdown:" + std::to_string(x) + "," + std::to_string(y) + " ";
    return true;
}
void windowUp(ObjectHandle, int32_t x, int32_t y) {
    gTrace += "wup:" + std::to_string(x) + "," + std::to_string(y) + " ";
}
void receiverChanging(ObjectHandle, ObjectHandle c) {
    gTrace += "changing:" + nameOf(c) + "=" + std::to_string(checkBoxValueGetter(c)) + " ";
}
void receiverChanged(ObjectHandle, ObjectHandle c) {
    gTrace += "changed:" + nameOf(c) + "=" + std::to_string(checkBoxValueGetter(c)) + " ";
}
}

void* code(auto* f) { return reinterpret_cast<void*>(f); }

Classes gClasses;

ProjectData& project() {
    static ProjectData p;
    return p;
}

void buildProject() {
    ProjectData& p = project();
    Classes& c = gClasses;
    const int32_t application = p.addNamedClass("Application");
    c.window = p.addNamedClass("Window");
    c.pushButton = p.addNamedClass("PushButton");
    c.checkBox = p.addNamedClass("CheckBox");
    c.radioButton = p.addNamedClass("RadioButton");
    c.staticText = p.addNamedClass("StaticText");
    c.groupBox = p.addNamedClass("GroupBox");
    c.progressBar = p.addNamedClass("ProgressBar");
    c.tabPanel = p.addNamedClass("TabPanel");
    c.canvas = p.addNamedClass("Canvas");
    c.scrollBar = p.addNamedClass("ScrollBar");
    c.rectangle = p.addNamedClass("Rectangle");
    c.oval = p.addNamedClass("Oval");
    c.roundRectangle = p.addNamedClass("RoundRectangle");
    c.rectControl = p.addNamedClass("RectControl");
    c.line = p.addNamedClass("Line");
    c.popupMenu = p.addNamedClass("PopupMenu");
    c.traceWindow = p.addCompiledClass({.name = "TraceWindow",
                                        .size = 112,
                                        .superIndex = c.window,
                                        .eventHandlers = {{"Resized", code(windowResized)},
                                                          {"MouseDown", code(windowDown)},
                                                          {"MouseUp", code(windowUp)}}});
    c.traceButton = p.addCompiledClass(
        {.name = "", .size = 116, .superIndex = c.pushButton, .eventHandlers = {{"Action", code(buttonAction)}}});
    c.closingButton = p.addCompiledClass(
        {.name = "", .size = 116, .superIndex = c.pushButton, .eventHandlers = {{"Action", code(closingAction)}}});
    c.traceCheck = p.addCompiledClass(
        {.name = "", .size = 128, .superIndex = c.checkBox, .eventHandlers = {{"Action", code(checkAction)}}});
    c.traceRadio = p.addCompiledClass(
        {.name = "", .size = 120, .superIndex = c.radioButton, .eventHandlers = {{"Action", code(radioAction)}}});
    c.traceTab = p.addCompiledClass(
        {.name = "", .size = 120, .superIndex = c.tabPanel, .eventHandlers = {{"Change", code(tabChange)}}});
    c.traceCanvas = p.addCompiledClass({.name = "", .size = 100, .superIndex = c.canvas,
                                        .eventHandlers = {{"Paint", code(canvasPaint)},
                                                          {"MouseDown", code(canvasDown)},
                                                          {"MouseDrag", code(canvasDrag)},
                                                          {"MouseUp", code(canvasUp)}}});
    c.traceScroll = p.addCompiledClass(
        {.name = "", .size = 116, .superIndex = c.scrollBar, .eventHandlers = {{"ValueChanged", code(scrollChanged)}}});
    c.checkReceiver = p.addCompiledClass({.name = "CheckReceiver",
                                          .size = 24,
                                          .superIndex = p.addNamedClass("Object"),
                                          .methods = {{"dataChanging", code(receiverChanging)},
                                                      {"dataChanged", code(receiverChanged)}}});
    p.addCompiledClass({.name = "TestApp", .size = 28, .superIndex = application});
}

class RuntimeEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&init);
        buildProject();
        RuntimeInit(project().table());
    }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new RuntimeEnvironment);


void drainMessages() {
    MSG queued;
    for (int i = 0; i < 200 && PeekMessageW(&queued, nullptr, 0, 0, PM_NOREMOVE); ++i) runPasses(1);
}

}  // namespace

const Classes& ix() { return gClasses; }

LayoutControl control(int32_t cls, const std::string& name, int x, int y, int width, int height,
                      std::vector<PropertyText> more) {
    LayoutControl c{cls,
                    {{"Name", name},
                     {"Left", std::to_string(x)},
                     {"Top", std::to_string(y)},
                     {"Width", std::to_string(width)},
                     {"Height", std::to_string(height)}}};
    c.properties.insert(c.properties.end(), more.begin(), more.end());
    return c;
}

WindowLayout windowLayout(std::vector<LayoutControl> controls, std::vector<PropertyText> props) {
    WindowLayout l;
    l.windowClass = gClasses.traceWindow;
    l.properties = {{"Title", "Controls"}, {"Width", "420"}, {"Height", "300"}, {"Placement", "9"},
                    {"GrowIcon", "True"}};
    l.properties.insert(l.properties.end(), props.begin(), props.end());
    l.controls = std::move(controls);
    return l;
}

OpenWindow::OpenWindow(const WindowLayout& layout) {
    const std::vector<uint8_t> bytes = encodeSizedWindowLayout(layout);
    object_ = RuntimeCreateWindow(bytes.data(), nullptr);
    runPasses(3);
}

OpenWindow::~OpenWindow() {
    if (!object_) return;
    RuntimeCloseWindow(object_);
    RuntimeUnlockObject(object_);
    runPasses(2);
}

HWND OpenWindow::handle() const { return reinterpret_cast<HWND>(static_cast<intptr_t>(windowHWNDGetter(object_))); }

ObjectHandle OpenWindow::fetch(const char* name) const {
    StringValue n = StringValue::fromCString(name);
    return RuntimeControlFetch(object_, n.get());
}

HWND OpenWindow::paneHandle(const char* name) const {
    ObjectHandle c = fetch(name);
    Pane* pane = c ? controlFields(c).pane : nullptr;
    return pane ? pane->handle() : nullptr;
}

void OpenWindow::activate() const {
    SetForegroundWindow(handle());
    SetActiveWindow(handle());
    runPasses(3);
    UpdateWindow(handle());
    RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    runPasses(3);
}

void moveMouse(POINT to) {
    INPUT move = testing_support::absoluteMouseInput(to, 0);
    drainMessages();
    SendInput(1, &move, sizeof(INPUT));
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

void clickAt(POINT screen, const std::function<bool()>& arrived) {
    moveMouse(screen);
    runPasses(2);
    Sleep(50);
    // The button events carry the position too: a press sent on its own
    // may still land where the pointer was before the move.
    INPUT click[2] = {testing_support::absoluteMouseInput(screen, MOUSEEVENTF_LEFTDOWN),
                      testing_support::absoluteMouseInput(screen, MOUSEEVENTF_LEFTUP)};
    SendInput(2, click, sizeof(INPUT));
    waitFor(arrived);
}


void waitFor(const std::function<bool()>& done) {
    // A loaded machine may hand the input over late: wait for its effect
    // (bounded), then a few passes more for what follows it.
    for (int i = 0; i < 400 && !done(); ++i) {
        runPasses(1);
        Sleep(5);
    }
    for (int i = 0; i < 5; ++i) {
        runPasses(1);
        Sleep(2);
    }
}

POINT centreOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

RECT rectInWindow(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    HWND top = GetAncestor(child, GA_ROOT);
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::vector<COLORREF> screenPixels(const RECT& area) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    std::vector<COLORREF> pixels;
    if (w <= 0 || h <= 0) return pixels;
    GdiFlush();
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    for (int i = 0; i < w * h; ++i) pixels.push_back(RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

int countColour(HWND window, const RECT& area, COLORREF colour) {
    RECT screen = area;
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&screen), 2);
    int n = 0;
    for (COLORREF c : screenPixels(screen)) n += c == colour;
    return n;
}

std::string sjisBytes(const wchar_t* text) { return fromSystemText(text); }

StringHandle sjis(const wchar_t* text) { return StringValue::fromBytes(fromSystemText(text)).release(); }

}  // namespace controls_test
