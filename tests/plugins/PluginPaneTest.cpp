// The pane of a plug-in control, with a probe plug-in of the test's own whose
// behaviour routines record how the host calls them and which reaches the
// host's pane routines through the resolver, as a real plug-in's glue does.
// The window and the control are real: a native window with the control's
// pane as its child, driven with window messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "glue/PluginGlue.h"
#include "loader/PluginGraphics.h"
#include "loader/PluginHost.h"
#include "loader/PluginInstaller.h"
#include "loader/PluginPane.h"
#include "objects/BuiltinClasses.h"
#include "objects/EventLoop.h"
#include "objects/ObjectLifetime.h"
#include "objects/ObjectRef.h"
#include "objects/ProjectData.h"
#include "objects/ResourceObjects.h"
#include "objects/RuntimeStartup.h"
#include "text/StringValue.h"
#include "ui/ControlEntries.h"
#include "ui/ControlFields.h"
#include "ui/MouseCursors.h"
#include "ui/WindowEntries.h"
#include "ui/NativeWindow.h"
#include "ui/WindowFields.h"

namespace {

using namespace runtime;
using namespace runtime::plugins;

// --- The probe plug-in: glue routines, resolved by name.
glue::GlueRoutine<void, int32_t> RegisterPluginVersion{"RegisterPluginVersion"};
glue::GlueRoutine<void, void*> PluginRegisterControl{"PluginRegisterControl"};
glue::GlueRoutine<void, ObjectHandle, int16_t*> GetControlBounds{"GetControlBounds"};
glue::GlueRoutine<bool, ObjectHandle> GetControlVisible{"GetControlVisible"};
glue::GlueRoutine<void, ObjectHandle, bool> SetControlVisible{"SetControlVisible"};
glue::GlueRoutine<ObjectHandle, ObjectHandle> getControlWindow{"getControlWindow"};
glue::GlueRoutine<HWND, ObjectHandle> GetControlHWND{"GetControlHWND"};
glue::GlueRoutine<ObjectHandle, ObjectHandle> VELMGetControlGraphics{"VELMGetControlGraphics"};
glue::GlueRoutine<HDC, ObjectHandle> VELMGraphicsDC{"VELMGraphicsDC"};
glue::GlueRoutine<void, ObjectHandle> VELMInvalidateControl{"VELMInvalidateControl"};
glue::GlueRoutine<void, ObjectHandle, int32_t, int32_t, int32_t, int32_t> VELMInvalidateControlRect{
    "VELMInvalidateControlRect"};
glue::GlueRoutine<void, ObjectHandle, const PluginColour*> VELMSetSpecialBackground{"VELMSetSpecialBackground"};
glue::GlueRoutine<bool, ObjectHandle, int32_t> controlEnabledGetter{"controlEnabledGetter"};
glue::GlueRoutine<StringHandle, StringHandle> PluginInterpretConstantValue{"PluginInterpretConstantValue"};
glue::GlueRoutine<void, ObjectHandle, PluginPictureDescription*> lockPictureDescription{"lockPictureDescription"};
glue::GlueRoutine<void, ObjectHandle> unlockPictureDescription{"unlockPictureDescription"};
glue::GlueRoutine<void, ObjectHandle, const PluginPictureDescription*, int32_t, int32_t> drawPicturePrimitive{
    "drawPicturePrimitive"};

// What the behaviour routines saw.
std::vector<std::string> gCalls;
bool gMouseDownTracks = true;
bool gCloseOnMouseDown = false;
bool gKeyHandled = true;
int32_t gReferencesDuringCall = 0;
struct PaintSeen {
    bool hadDC = false;
    POINT origin{};
    ObjectHandle graphics = nullptr;
};
PaintSeen gPaint;

void record(const std::string& call) { gCalls.push_back(call); }
std::string point(const char* what, int32_t x, int32_t y) {
    return std::string(what) + " " + std::to_string(x) + "," + std::to_string(y);
}

RUNTIME_CALL void construct(ObjectHandle) { record("construct"); }
RUNTIME_CALL void destroy(ObjectHandle) { record("destroy"); }
RUNTIME_CALL void paint(ObjectHandle, ObjectHandle graphics) {
    record("paint");
    HDC dc = VELMGraphicsDC(graphics);
    gPaint.hadDC = dc != nullptr;
    gPaint.graphics = graphics;
    if (dc) GetWindowOrgEx(dc, &gPaint.origin);
}
RUNTIME_CALL bool mouseDown(ObjectHandle instance, int32_t x, int32_t y, int32_t modifiers) {
    record(point("down", x, y) + " m" + std::to_string(modifiers));
    gReferencesDuringCall = instance->refCount;
    if (gCloseOnMouseDown) destroyPluginPane(instance);
    return gMouseDownTracks;
}
RUNTIME_CALL void mouseDrag(ObjectHandle, int32_t x, int32_t y) { record(point("drag", x, y)); }
RUNTIME_CALL void mouseUp(ObjectHandle, int32_t x, int32_t y) { record(point("up", x, y)); }
RUNTIME_CALL void gotFocus(ObjectHandle) { record("focus"); }
RUNTIME_CALL void lostFocus(ObjectHandle) { record("blur"); }
RUNTIME_CALL bool keyDown(ObjectHandle, uint8_t character, uint8_t, uint16_t modifiers) {
    record(std::string("key ") + static_cast<char>(character) + " m" + std::to_string(modifiers));
    return gKeyHandled;
}
RUNTIME_CALL void paneCreated(ObjectHandle) { record("created"); }
RUNTIME_CALL void paneClosing(ObjectHandle) { record("closing"); }
RUNTIME_CALL void idle(ObjectHandle) { record("idle"); }
RUNTIME_CALL void drawInto(ObjectHandle, ObjectHandle graphics) {
    record(VELMGraphicsDC(graphics) ? "drawInto" : "drawInto without a context");
}
RUNTIME_CALL void thirteenth(ObjectHandle) {}

template <typename Routine>
void* code(Routine* routine) {
    return reinterpret_cast<void*>(routine);
}

void* const gProbeBehaviour[kBehaviourSlotCount] = {
    code(construct), code(destroy),     code(paint),       code(mouseDown), code(mouseDrag),
    code(mouseUp),   code(gotFocus),    code(lostFocus),   code(keyDown),   code(paneCreated),
    code(paneClosing), code(idle),      code(drawInto),    code(thirteenth)};
PluginControlDefinition gProbe{4, "PaneProbe", 8, kControlAcceptsFocus, {0, 0}, 40, 30, nullptr, 0, nullptr, 0,
                               nullptr, 0, gProbeBehaviour, 0, nullptr, 0, ""};
// A control without behaviour routines and without the focus flag.
PluginControlDefinition gBare{4, "BareProbe", 4, 0, {0, 0}, 20, 20, nullptr, 0, nullptr, 0,
                              nullptr, 0, nullptr, 0, nullptr, 0, ""};

RUNTIME_CALL void probeMain(PluginResolver resolver) {
    glue::setResolver(resolver);
    RegisterPluginVersion(4);
    PluginRegisterControl(&gProbe);
    PluginRegisterControl(&gBare);
}

class PaneEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static testing_support::ProjectData project;
        RuntimeInit(project.table());
        runPluginMain(&probeMain, &resolveRuntimeName);
    }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new PaneEnvironment);

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// A window 200 x 120 at (100, 100) of the screen, and one plug-in control at
// (10, 20), 40 x 30, in it.
class PluginPanes : public ::testing::Test {
protected:
    void SetUp() override {
        gCalls.clear();
        gMouseDownTracks = true;
        gCloseOnMouseDown = false;
        gKeyHandled = true;
        gPaint = {};
        window = ObjectRef::adopt(newObject(builtinClass("Window")));
        NativeWindowParams params;
        params.bounds = Bounds{100, 100, 220, 300};
        params.title = "Panes";
        native = std::make_unique<NativeWindow>(window.get(), params);
        windowFields(window.get()).native = native.get();
        ShowWindow(native->handle(), SW_SHOWNA);
        control = makeControl("PaneProbe");
    }
    void TearDown() override {
        control = {};
        windowFields(window.get()).native = nullptr;
        native.reset();
        window = {};
        pumpMessages();
    }

    ObjectRef makeControl(const char* className, bool withPane = true) {
        ObjectRef c = ObjectRef::adopt(newObject(findControlClass(className)));
        ControlFields& f = controlFields(c.get());
        f.window = window.get();
        f.parent = native.get();
        f.left = 10;
        f.top = 20;
        f.width = 40;
        f.height = 30;
        if (withPane) createPluginPane(c.get(), pluginControlClassOf(c.get()));
        return c;
    }
    Pane* pane() const { return controlFields(control.get()).pane; }
    HWND paneHandle() const { return pane() ? pane()->handle() : nullptr; }

    ObjectRef window;
    std::unique_ptr<NativeWindow> native;
    ObjectRef control;
};

TEST_F(PluginPanes, APaneIsACreatedChildOverTheControlsBounds) {
    ASSERT_NE(paneHandle(), nullptr);
    EXPECT_EQ(GetParent(paneHandle()), native->handle());
    RECT r;
    GetWindowRect(paneHandle(), &r);
    MapWindowPoints(nullptr, native->handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 50);
    EXPECT_EQ(r.bottom, 50);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"construct", "created"}));
}

TEST_F(PluginPanes, PaintingHandsAGraphicsObjectThatDrawsInWindowCoordinatesForTheCall) {
    RedrawWindow(paneHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_NE(std::find(gCalls.begin(), gCalls.end(), "paint"), gCalls.end());
    EXPECT_TRUE(gPaint.hadDC);
    EXPECT_EQ(gPaint.origin.x, 10);
    EXPECT_EQ(gPaint.origin.y, 20);
    // The object no longer draws anywhere once the call is over.
    EXPECT_EQ(VELMGraphicsDC(gPaint.graphics), nullptr);
}

TEST_F(PluginPanes, MouseRoutinesGetWindowCoordinatesAndTrackOnlyWhenAsked) {
    SendMessageW(paneHandle(), WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(5, 6));
    EXPECT_EQ(GetCapture(), paneHandle());
    SendMessageW(paneHandle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, -3));
    SendMessageW(paneHandle(), WM_LBUTTONUP, 0, MAKELPARAM(7, 8));
    EXPECT_EQ(GetCapture(), nullptr);
    SendMessageW(paneHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));  // no longer tracked
    std::vector<std::string> mouse;
    for (const auto& c : gCalls) {
        if (c.rfind("down", 0) == 0 || c.rfind("drag", 0) == 0 || c.rfind("up", 0) == 0) mouse.push_back(c);
    }
    EXPECT_EQ(mouse, (std::vector<std::string>{"down 15,26 m512", "drag 60,17", "up 17,28"}));

    gCalls.clear();
    gMouseDownTracks = false;
    SendMessageW(paneHandle(), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(1, 2));
    EXPECT_NE(GetCapture(), paneHandle());
    SendMessageW(paneHandle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(paneHandle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    std::erase_if(gCalls, [](const std::string& c) { return c == "focus" || c == "paint"; });
    EXPECT_EQ(gCalls, (std::vector<std::string>{"down 11,22 m4096"}));
}

TEST_F(PluginPanes, TheEventGuardHoldsTheInstanceAndEndsTheEventWhenThePaneCloses) {
    const int32_t before = control->refCount;
    gCloseOnMouseDown = true;
    SendMessageW(paneHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_GT(gReferencesDuringCall, before);
    EXPECT_EQ(control->refCount, before);
    EXPECT_EQ(pane(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr) << "a closed pane takes no capture";
    EXPECT_NE(std::find(gCalls.begin(), gCalls.end(), "closing"), gCalls.end());
}

TEST_F(PluginPanes, FocusFollowsTheFlagVisibilityAndEnabling) {
    ASSERT_NE(pane(), nullptr);
    EXPECT_TRUE(pane()->acceptsFocus());
    controlEnabledSetter(control.get(), false);
    EXPECT_FALSE(pane()->acceptsFocus());
    controlEnabledSetter(control.get(), true);
    SetControlVisible(control.get(), false);
    EXPECT_FALSE(pane()->acceptsFocus());
    EXPECT_FALSE(IsWindowVisible(paneHandle()));
    EXPECT_FALSE(GetControlVisible(control.get()));
    SetControlVisible(control.get(), true);
    EXPECT_TRUE(IsWindowVisible(paneHandle()));
    EXPECT_TRUE(GetControlVisible(control.get()));
    EXPECT_TRUE(pane()->acceptsFocus());

    const ObjectRef bare = makeControl("BareProbe");
    ASSERT_NE(controlFields(bare.get()).pane, nullptr);
    EXPECT_FALSE(controlFields(bare.get()).pane->acceptsFocus()) << "without the focus flag";

    // Gained when the pane takes the focus, lost when it is disabled.
    SetForegroundWindow(native->handle());
    SetActiveWindow(native->handle());
    pumpMessages();
    pane()->takeFocus();
    controlEnabledSetter(control.get(), false);
    std::vector<std::string> focus;
    for (const auto& c : gCalls) {
        if (c == "focus" || c == "blur") focus.push_back(c);
    }
    EXPECT_EQ(focus, (std::vector<std::string>{"focus", "blur"}));
}

TEST_F(PluginPanes, KeysReachTheKeyRoutineWithTheCharacterAndModifiers) {
    const StringValue key = StringValue::fromCString("q");
    EXPECT_TRUE(pane()->keyDown(key.get(), 0x200));
    gKeyHandled = false;
    EXPECT_FALSE(pane()->keyDown(key.get(), 0));
    EXPECT_EQ(gCalls.back(), "key q m0");
    EXPECT_EQ(gCalls[gCalls.size() - 2], "key q m512");
}

TEST_F(PluginPanes, TheIdleRoutineRunsAsAPeriodicTaskWhileThePaneLives) {
    Sleep(200);
    runDuePeriodicTasks();
    EXPECT_EQ(std::count(gCalls.begin(), gCalls.end(), "idle"), 1);
    destroyPluginPane(control.get());
    Sleep(200);
    runDuePeriodicTasks();
    EXPECT_EQ(std::count(gCalls.begin(), gCalls.end(), "idle"), 1) << "no idle call after the pane is gone";
}

TEST_F(PluginPanes, DestroyingTheInstanceClosesThePaneBeforeTheDestroyRoutine) {
    const HWND handle = paneHandle();
    gCalls.clear();
    control = {};
    EXPECT_EQ(gCalls, (std::vector<std::string>{"closing", "destroy"}));
    EXPECT_FALSE(IsWindow(handle));
}

TEST_F(PluginPanes, PrintingThePaneDrawsIntoTheGivenContext) {
    HDC memory = CreateCompatibleDC(nullptr);
    SendMessageW(paneHandle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    DeleteDC(memory);
    EXPECT_EQ(gCalls.back(), "drawInto");
    EXPECT_TRUE(static_cast<PluginPane*>(pane())->hasThirteenth());
}

TEST_F(PluginPanes, BoundsWindowAndHandleRoutines) {
    int16_t words[4] = {-1, -1, -1, -1};
    GetControlBounds(control.get(), words);
    EXPECT_EQ(words[0], 20);  // top
    EXPECT_EQ(words[1], 10);  // left
    EXPECT_EQ(words[2], 50);  // bottom
    EXPECT_EQ(words[3], 50);  // right
    GetControlBounds(nullptr, words);
    EXPECT_EQ(words[0] | words[1] | words[2] | words[3], 0);

    const int32_t before = window->refCount;
    ObjectHandle w = getControlWindow(control.get());
    EXPECT_EQ(w, window.get());
    EXPECT_EQ(window->refCount, before + 1) << "the caller owns the result";
    unlockObject(w);
    EXPECT_EQ(getControlWindow(nullptr), nullptr);

    EXPECT_EQ(GetControlHWND(control.get()), paneHandle());
    const ObjectRef paneless = makeControl("PaneProbe", false);
    EXPECT_EQ(GetControlHWND(paneless.get()), native->handle()) << "the window's handle without a pane";
    EXPECT_EQ(GetControlHWND(nullptr), nullptr);

    EXPECT_TRUE(controlEnabledGetter(control.get(), 0));
    controlEnabledSetter(control.get(), false);
    EXPECT_FALSE(controlEnabledGetter(control.get(), 0));

    // Objects that are not controls have no control fields to read.
    const ObjectRef timer = ObjectRef::adopt(newObject(builtinClass("Timer")));
    EXPECT_FALSE(controlEnabledGetter(timer.get(), 0));
    EXPECT_FALSE(GetControlVisible(timer.get()));
    EXPECT_EQ(GetControlHWND(timer.get()), nullptr);
    GetControlBounds(timer.get(), words);
    EXPECT_EQ(words[0] | words[1] | words[2] | words[3], 0);
}

TEST_F(PluginPanes, InvalidatingAskForARepaintOfThePaneOrOneRectangle) {
    ValidateRect(paneHandle(), nullptr);
    VELMInvalidateControlRect(control.get(), 20, 30, 25, 35);  // window coordinates
    RECT update;
    ASSERT_TRUE(GetUpdateRect(paneHandle(), &update, FALSE));
    EXPECT_EQ(update.left, 10);
    EXPECT_EQ(update.top, 10);
    EXPECT_EQ(update.right, 15);
    EXPECT_EQ(update.bottom, 15);
    ValidateRect(paneHandle(), nullptr);
    VELMInvalidateControl(control.get());
    ASSERT_TRUE(GetUpdateRect(paneHandle(), &update, FALSE));
    EXPECT_EQ(update.right - update.left, 40);
    VELMInvalidateControl(nullptr);  // nothing to do, no crash
}

COLORREF erasedColour(HWND pane) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 30);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(pane, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
    const COLORREF colour = GetPixel(memory, 5, 5);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return colour;
}

TEST_F(PluginPanes, ASpecialBackgroundReplacesTheWindowsUntilCleared) {
    EXPECT_EQ(erasedColour(paneHandle()), GetSysColor(COLOR_BTNFACE));
    const PluginColour red = 0xFF0000;
    VELMSetSpecialBackground(control.get(), &red);
    EXPECT_EQ(erasedColour(paneHandle()), RGB(255, 0, 0));
    VELMSetSpecialBackground(control.get(), nullptr);
    EXPECT_EQ(erasedColour(paneHandle()), GetSysColor(COLOR_BTNFACE));
}

TEST_F(PluginPanes, ControlGraphicsDrawIntoThePaneUntilItCloses) {
    ObjectHandle g = VELMGetControlGraphics(control.get());
    ASSERT_NE(g, nullptr);
    HDC dc = VELMGraphicsDC(g);
    ASSERT_NE(dc, nullptr);
    POINT origin;
    GetWindowOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 10);
    EXPECT_EQ(origin.y, 20);
    ObjectHandle again = VELMGetControlGraphics(control.get());
    EXPECT_EQ(again, g) << "one per pane";
    unlockObject(again);
    destroyPluginPane(control.get());
    EXPECT_EQ(VELMGraphicsDC(g), nullptr);
    unlockObject(g);
    EXPECT_EQ(VELMGetControlGraphics(control.get()), nullptr) << "no pane, no graphics";
    EXPECT_EQ(VELMGraphicsDC(nullptr), nullptr);
}

TEST_F(PluginPanes, TheCursorOverAPaneFollowsTheControlThenTheWindow) {
    ObjectRef watch = newMouseCursor(32514), cross = newMouseCursor(32515);
    struct Case {
        ObjectHandle control, window;
        LPCSTR expected;
    };
    for (const Case& c : {Case{nullptr, nullptr, IDC_ARROW}, Case{watch.get(), nullptr, IDC_WAIT},
                          Case{watch.get(), cross.get(), IDC_WAIT}, Case{nullptr, cross.get(), IDC_CROSS}}) {
        controlMouseCursorSetter(control.get(), c.control);
        formMouseCursorSetter(window.get(), c.window);
        SetCursor(nullptr);
        // As the system asks when the pointer moves over the pane.
        EXPECT_TRUE(SendMessageW(paneHandle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(paneHandle()),
                                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
        EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, c.expected));
    }
    controlMouseCursorSetter(control.get(), nullptr);
    formMouseCursorSetter(window.get(), nullptr);
}

TEST(PluginConstants, InterpretingAConstantGivesTheSameTextWithOneMoreReference) {
    StringValue text = StringValue::fromCString("Untitled");
    const int32_t before = text.get()->refCount;
    StringHandle result = PluginInterpretConstantValue(text.get());
    EXPECT_EQ(result, text.get());
    EXPECT_EQ(text.get()->refCount, before + 1);
    StringValue::adopt(result);
    EXPECT_EQ(PluginInterpretConstantValue(nullptr), nullptr);
}

// A picture object as the project items make it: its resource word, then its
// description (bits per pixel, width, height, byte count, pixels).
struct PictureFixture {
    std::vector<uint8_t> description;
    ObjectRef picture;
    PictureFixture(int32_t depth, int32_t width, int32_t height, uint16_t pixel) {
        const int32_t row = (width * 2 + 3) & ~3;
        const auto words = {static_cast<uint32_t>(depth), static_cast<uint32_t>(width),
                            static_cast<uint32_t>(height), static_cast<uint32_t>(row * height)};
        for (uint32_t w : words) {
            for (int i = 0; i < 4; ++i) description.push_back(static_cast<uint8_t>(w >> (8 * i)));
        }
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < row / 2; ++x) {
                description.push_back(static_cast<uint8_t>(pixel));
                description.push_back(static_cast<uint8_t>(pixel >> 8));
            }
        }
        picture = ObjectRef::adopt(newObject(builtinClass("Picture")));
        picture.field<ResourceFields>(kResourceFieldsOffset)->data = description.data();
    }
};

TEST(PluginPictures, ALockedDescriptionGivesTheSizeAndKeepsThePicture) {
    PictureFixture fixture(16, 3, 2, 0x7C00);  // red in five bits per colour
    const int32_t before = fixture.picture->refCount;
    PluginPictureDescription d{};
    lockPictureDescription(fixture.picture.get(), &d);
    EXPECT_EQ(d.bitsPerPixel, 16);
    EXPECT_EQ(d.width, 3);
    EXPECT_EQ(d.height, 2);
    EXPECT_EQ(d.pixels, fixture.description.data() + 16);
    EXPECT_EQ(fixture.picture->refCount, before + 1);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 10, 10);
    HGDIOBJ old = SelectObject(memory, bitmap);
    PatBlt(memory, 0, 0, 10, 10, WHITENESS);
    ObjectRef graphics = newGraphicsFor(memory);
    drawPicturePrimitive(graphics.get(), &d, 4, 5);
    EXPECT_EQ(GetPixel(memory, 4, 5), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(memory, 6, 6), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(memory, 7, 5), RGB(255, 255, 255)) << "three pixels wide";
    EXPECT_EQ(GetPixel(memory, 4, 7), RGB(255, 255, 255)) << "two pixels tall";
    forgetGraphics(graphics.get());
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    unlockPictureDescription(fixture.picture.get());
    EXPECT_EQ(fixture.picture->refCount, before);
}

TEST(PluginPictures, NilOtherObjectsAndMalformedDescriptionsDescribeNothing) {
    PictureFixture eightBit(8, 3, 2, 0);
    PictureFixture truncated(16, 3, 2, 0);
    truncated.description[12] = 4;  // fewer bytes than the rows need
    const ObjectRef notAPicture = ObjectRef::adopt(newObject(builtinClass("Timer")));
    for (ObjectHandle object : {static_cast<ObjectHandle>(nullptr), eightBit.picture.get(), truncated.picture.get(),
                                notAPicture.get()}) {
        PluginPictureDescription d{16, reinterpret_cast<const uint8_t*>(1), 9, 9};
        lockPictureDescription(object, &d);
        EXPECT_EQ(d.pixels, nullptr);
        EXPECT_EQ(d.width, 0);
        EXPECT_EQ(d.height, 0);
        unlockPictureDescription(object);  // nothing was locked: nothing is released
    }
    EXPECT_EQ(eightBit.picture->refCount, 1);
    EXPECT_EQ(truncated.picture->refCount, 1);
}

}  // namespace
