// The window subsystem's part in the event loop: the roster of windows, the
// idle pass (pending geometry, windows to show, the polled mouse), the
// focused control's idle call and keyboard pre-translation.
#include "ui/WindowSubsystem.h"

#include <windowsx.h>

#include <algorithm>
#include <set>

#include "objects/ClassRegistry.h"
#include "objects/EventLoop.h"
#include "objects/RuntimeStartup.h"
#include "text/StringValue.h"
#include "ui/ControlFields.h"
#include "ui/FrameWindow.h"
#include "ui/Menus.h"
#include "ui/NativeWindow.h"
#include "ui/Pane.h"
#include "ui/ShortcutText.h"
#include "ui/WindowEvents.h"
#include "ui/WindowFields.h"
#include "ui/WindowOperations.h"

namespace runtime {
namespace {

bool keyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

KeyModifiers heldModifiers() { return {keyDown(VK_CONTROL), keyDown(VK_SHIFT), keyDown(VK_MENU)}; }

NativeWindow* runtimeWindowAbove(HWND handle) {
    for (HWND h = handle; h; h = GetParent(h)) {
        if (NativeWindow* w = NativeWindow::fromHandle(h)) return w;
    }
    return nullptr;
}

// The character a key stands for, as the one-character text KeyDown receives.
StringValue keyText(WPARAM key) {
    UINT c = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_CHAR) & 0xFFFF;
    if (c == 0) c = static_cast<UINT>(key);
    const char byte = static_cast<char>(c < 256 ? c : '?');
    return StringValue::fromBytes(&byte, 1);
}

Pane* buttonWhere(NativeWindow* window, bool (Pane::*is)() const) {
    for (Pane* p : window->panes()) {
        if ((p->*is)() && p->acceptsFocus()) return p;
    }
    return nullptr;
}

// The frame itself (or its client, with no child window in front) takes
// menu shortcuts too.
bool addressedToFrame(HWND handle) {
    HWND frame = frameWindow();
    return frame && handle && (handle == frame || IsChild(frame, handle));
}

bool pretranslateKey(const MSG& message) {
    NativeWindow* window = runtimeWindowAbove(message.hwnd);
    if (!window && !addressedToFrame(message.hwnd)) return false;
    const KeyModifiers modifiers = heldModifiers();
    if (UINT command = commandForShortcut(shortcutText(static_cast<uint32_t>(message.wParam), modifiers))) {
        runMenuCommand(command);
        return true;
    }
    if (!window) return false;
    const int32_t bits = (modifiers.shift ? 0x200 : 0) | (modifiers.control ? 0x1000 : 0);
    const Unwindable<StringValue> key(keyText(message.wParam));
    const Unwindable<ObjectRef> windowObject(ObjectRef::borrow(window->windowObject()));
    if (Pane* focused = window->focusedPane()) {
        if (focused->keyDown(key->get(), bits)) return true;
    }
    // The window hears the key also when it holds the focus itself: a window
    // without focusable controls (a box that any key puts away) has no other
    // way to learn of a key.
    if (deliverWindowEvent(windowObject->get(), "KeyDown", key->get())) return true;
    if (window->closed() || !nativeWindowOf(windowObject->get())) return true;
    switch (message.wParam) {
        case VK_TAB:
            if (modifiers.control) return false;
            window->moveFocus(modifiers.shift);
            return true;
        case VK_RETURN: {
            Pane* focused = window->focusedPane();
            Pane* button = (focused && focused->isPushButton()) ? focused : buttonWhere(window, &Pane::isDefaultButton);
            if (!button) return false;
            button->push();
            return true;
        }
        case VK_ESCAPE:
            if (Pane* button = buttonWhere(window, &Pane::isCancelButton)) {
                button->push();
                return true;
            }
            return false;
        default: return false;
    }
}

// The mouse as the loop last saw it.
struct MouseTracking {
    POINT last{-1, -1};
    ObjectHandle windowUnder = nullptr;     // borrowed; checked against the open windows
    std::set<ObjectHandle> controlsUnder;  // borrowed
};
MouseTracking gMouse;

bool stillOpen(ObjectHandle window) {
    for (NativeWindow* w = NativeWindow::first(); w; w = w->next()) {
        if (w->windowObject() == window && !w->closed()) return true;
    }
    return false;
}

void moveOverControls(NativeWindow* window, POINT client) {
    const Unwindable<std::vector<ObjectRef>> controls(windowControls(window->windowObject()));
    for (const ObjectRef& c : *controls) {
        if (window->closed()) return;
        ControlFields& f = controlFields(c.get());
        if (!inheritsFrom(c.classRecord(), builtinClass("RectControl"))) continue;
        const bool inside = f.visible && f.enabled && client.x >= f.left && client.x < f.left + f.width &&
                            client.y >= f.top && client.y < f.top + f.height;
        const bool was = gMouse.controlsUnder.count(c.get()) != 0;
        if (inside && !was) {
            gMouse.controlsUnder.insert(c.get());
            deliverNamedEvent(c.get(), "RectControl", "MouseEnter");
        } else if (!inside && was) {
            gMouse.controlsUnder.erase(c.get());
            deliverNamedEvent(c.get(), "RectControl", "MouseExit");
        }
        if (inside && !window->closed()) {
            deliverNamedEvent(c.get(), "RectControl", "MouseMove", static_cast<int32_t>(client.x - f.left),
                              static_cast<int32_t>(client.y - f.top));
        }
    }
}

void pollMouse() {
    POINT p;
    if (!GetCursorPos(&p) || (p.x == gMouse.last.x && p.y == gMouse.last.y)) return;
    gMouse.last = p;
    if (ObjectHandle holder = captureHolder()) {
        if (NativeWindow* w = nativeWindowOf(holder)) {
            POINT client = p;
            ScreenToClient(w->handle(), &client);
            deliverWindowEvent(holder, "MouseDrag", static_cast<int32_t>(client.x), static_cast<int32_t>(client.y));
        }
        return;
    }
    // The runtime window under the cursor: up from the window there through
    // its parents while they are child windows, stopping at the first runtime
    // window (a child of the frame is one too).
    NativeWindow* window = nullptr;
    for (HWND h = WindowFromPoint(p); h && !window;) {
        window = NativeWindow::fromHandle(h);
        h = (GetWindowLongW(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : nullptr;
    }
    ObjectHandle under = window ? window->windowObject() : nullptr;
    if (gMouse.windowUnder && gMouse.windowUnder != under) {
        ObjectHandle left = std::exchange(gMouse.windowUnder, nullptr);
        gMouse.controlsUnder.clear();
        if (stillOpen(left)) deliverWindowEvent(left, "MouseExit");
    }
    if (!window) return;
    POINT client = p;
    ScreenToClient(window->handle(), &client);
    RECT r;
    GetClientRect(window->handle(), &r);
    if (!PtInRect(&r, client)) return;
    const Unwindable<ObjectRef> keep(ObjectRef::borrow(under));
    if (gMouse.windowUnder != under) {
        gMouse.windowUnder = under;
        deliverWindowEvent(under, "MouseEnter");
        if (window->closed()) return;
    }
    moveOverControls(window, client);
    if (window->closed()) return;
    deliverWindowEvent(under, "MouseMove", static_cast<int32_t>(client.x), static_cast<int32_t>(client.y));
}

class IdlePass final : public LoopParticipant {
public:
    void runStep() override {
        for (NativeWindow* w = NativeWindow::first(); w; w = w->next()) {
            w->applyPendingGeometry();
            if (w->handle() && !w->closed() && w->shouldBeShown() && !IsWindowVisible(w->handle())) {
                HWND h = w->handle();
                callSystem([&] { return ShowWindow(h, SW_SHOW); });
            }
        }
        pollMouse();
    }
    // A drag needs the pointer polled; otherwise mouse messages wake the loop.
    std::optional<DWORD> millisecondsUntilDue() const override {
        if (captureHolder()) return DWORD{15};
        return std::nullopt;
    }
};

class FocusIdle final : public LoopParticipant {
public:
    void runStep() override {
        if (Pane* p = focusedPane()) p->idle();
    }
};

class Roster final : public WindowRoster {
public:
    bool anyWindowExists() const override { return NativeWindow::first() != nullptr; }
    bool inFrameMode() const override { return runtime::inFrameMode(); }
    bool pretranslate(MSG& message) override {
        const bool key = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
        if (key && pretranslateKey(message)) return true;
        return translateFrameAccelerator(message);
    }
    std::vector<ObjectHandle> windowObjects() const override {
        std::vector<ObjectHandle> objects;
        for (NativeWindow* w : runtimeViewWindows()) objects.push_back(ObjectRef::borrow(w->windowObject()).release());
        return objects;
    }
    void closeWindow(ObjectHandle window) override { closeWindowNow(window); }
    void closeAllWindows() override {
        while (NativeWindow* w = NativeWindow::first()) {
            ObjectHandle window = w->windowObject();
            if (windowFields(window).native == w) closeWindowNow(window);
            else delete w;
        }
        destroyFrameWindow();
    }
};

}  // namespace

void installWindowSubsystem() {
    static IdlePass idle;
    static FocusIdle focus;
    static Roster roster;
    registerWindowClasses();
    setStartupStep(StartupStep::kCreateFrameWindow, createFrameWindow);
    // A program that stands in for the windows with a roster of its own
    // (a test of the loop) keeps it.
    if (windowRoster()) return;
    setLoopParticipant(LoopStage::kWindowGeometry, &idle);
    setLoopParticipant(LoopStage::kFocusIdle, &focus);
    setWindowRoster(&roster);
}

}  // namespace runtime
