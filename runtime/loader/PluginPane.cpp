#include "loader/PluginPane.h"

#include "loader/PluginGraphics.h"
#include "objects/EventLoop.h"
#include "objects/UnwindScope.h"
#include "ui/ControlFields.h"
#include "ui/NativeWindow.h"
#include "ui/WindowFields.h"

namespace runtime::plugins {

// The periodic task of a pane whose behaviour table has an idle routine.
class PluginIdleTask final : public PeriodicTask {
public:
    explicit PluginIdleTask(PluginPane& pane) : pane_(pane) {}
    void run() override { pane_.idleCall(); }

private:
    PluginPane& pane_;
};

namespace {

// Ten ticks of 16 milliseconds between idle calls.
constexpr DWORD kIdleIntervalMilliseconds = 10 * 16;
// While the pane tracks the mouse, the drag routine is also called at this
// interval when the mouse does not move (controls that repeat while held).
constexpr UINT_PTR kDragPollTimer = 1;
constexpr UINT kDragPollMilliseconds = 50;

using InstanceRoutine = void(RUNTIME_CALL*)(ObjectHandle);
using GraphicsRoutine = void(RUNTIME_CALL*)(ObjectHandle, ObjectHandle);
using MouseDownRoutine = bool(RUNTIME_CALL*)(ObjectHandle, int32_t, int32_t, int32_t);
using MouseRoutine = void(RUNTIME_CALL*)(ObjectHandle, int32_t, int32_t);
using KeyRoutine = bool(RUNTIME_CALL*)(ObjectHandle, uint8_t, uint8_t, uint16_t);

// The virtual key of the key whose text the window handed on: the text is
// the key's character, or the key code itself for keys without one.
uint8_t virtualKeyOf(uint8_t character) {
    if (GetKeyState(character) & 0x8000) return character;
    const SHORT scanned = VkKeyScanA(static_cast<CHAR>(character));
    return scanned == -1 ? character : static_cast<uint8_t>(scanned & 0xFF);
}

}  // namespace

// Put over the base's "VL_Pane" procedure for the messages only plug-in panes
// answer.
LRESULT CALLBACK pluginPaneProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* pane = static_cast<PluginPane*>(paneOfHandle(handle));
    WNDPROC base = pane && pane->baseProcedure_ ? pane->baseProcedure_ : &paneWindowProcedure;
    if (pane && pane->handle() == handle) {
        LRESULT result = 0;
        bool handled = false;
        if (!runFromSystem([&] { handled = pane->handleMessage(message, wParam, lParam, result); })) return 0;
        if (handled) return result;
    }
    return CallWindowProcW(base, handle, message, wParam, lParam);
}

PluginPane::PluginPane(ObjectHandle instance, NativeWindow* window, const PluginControlClass& controlClass)
    : Pane(instance, window), controlClass_(controlClass) {}

PluginPane::~PluginPane() {
    *alive_ = false;
    if (idleTask_) removePeriodicTask(idleTask_.get());
    // Not locked here: the instance may be in its finaliser already.
    if (void* routine = handle() ? slot(kBehaviourPaneClosing) : nullptr) {
        runDroppingExceptions([&] { reinterpret_cast<InstanceRoutine>(routine)(control()); });
    }
    if (clientGraphics_) forgetGraphics(clientGraphics_.get());
    if (HWND h = handle()) {
        if (clientDC_) ReleaseDC(h, clientDC_);
        KillTimer(h, kDragPollTimer);
        if (baseProcedure_) SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(baseProcedure_));
    }
}

void* PluginPane::slot(int32_t index) const {
    return controlClass_.behaviour ? controlClass_.behaviour[index] : nullptr;
}

bool PluginPane::create() {
    if (!createPaneWindow()) return false;
    baseProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&pluginPaneProcedure)));
    if (slot(kBehaviourIdle)) {
        idleTask_ = std::make_unique<PluginIdleTask>(*this);
        addPeriodicTask(idleTask_.get(), kIdleIntervalMilliseconds);
    }
    if (void* routine = slot(kBehaviourPaneCreated)) {
        callBehaviour([&] { reinterpret_cast<InstanceRoutine>(routine)(control()); });
    }
    return true;
}

template <typename Call>
bool PluginPane::callBehaviour(Call&& call) {
    // Both live in unwind scopes: a handler that the plug-in calls may raise.
    const Unwindable<ObjectRef> keep(ObjectRef::borrow(control()));
    const Unwindable<std::shared_ptr<bool>> alive(alive_);
    call();
    return **alive;
}

bool PluginPane::takesFocus() const { return (controlClass_.definition->flags & kControlAcceptsFocus) != 0; }

void PluginPane::focusGained() {
    Pane::focusGained();
    if (void* routine = slot(kBehaviourGotFocus)) {
        callBehaviour([&] { reinterpret_cast<InstanceRoutine>(routine)(control()); });
    }
}

void PluginPane::focusLost() {
    if (void* routine = slot(kBehaviourLostFocus)) {
        callBehaviour([&] { reinterpret_cast<InstanceRoutine>(routine)(control()); });
    }
}

void PluginPane::setVisible(bool visible) {
    Pane::setVisible(visible);
    invalidate();
}

void PluginPane::setEnabled(bool enabled) {
    Pane::setEnabled(enabled);
    // The plug-in draws the disabled state itself.
    invalidate();
}

void PluginPane::windowActivation(bool) { invalidate(); }

bool PluginPane::keyDown(StringHandle key, int32_t modifiers) {
    void* routine = slot(kBehaviourKeyDown);
    if (!routine || !key || key->length < 1) return false;
    const uint8_t character = key->text[1];
    bool handled = false;
    callBehaviour([&] {
        handled = reinterpret_cast<KeyRoutine>(routine)(control(), character, virtualKeyOf(character),
                                                        static_cast<uint16_t>(modifiers));
    });
    return handled;
}

void PluginPane::invalidateWindowRect(const RECT& windowRect) {
    const POINT o = origin();
    RECT r = windowRect;
    OffsetRect(&r, -o.x, -o.y);
    invalidate(&r);
}

ObjectRef PluginPane::clientGraphics() {
    if (!handle()) return {};
    if (!clientGraphics_) {
        clientDC_ = GetDC(handle());
        if (!clientDC_) return {};
        const POINT o = origin();
        SetWindowOrgEx(clientDC_, o.x, o.y, nullptr);
        clientGraphics_ = newGraphicsFor(clientDC_);
    }
    return clientGraphics_;
}

void PluginPane::setSpecialBackground(bool has, COLORREF colour) {
    hasSpecialBackground_ = has;
    specialBackground_ = colour;
    invalidate();
}

void PluginPane::idleCall() {
    if (void* routine = slot(kBehaviourIdle)) {
        callBehaviour([&] { reinterpret_cast<InstanceRoutine>(routine)(control()); });
    }
}

bool PluginPane::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_ERASEBKGND: {
            if (!hasSpecialBackground_) return false;
            RECT r;
            GetClientRect(handle(), &r);
            HBRUSH brush = CreateSolidBrush(specialBackground_);
            FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
            DeleteObject(brush);
            result = 1;
            return true;
        }
        case WM_PRINTCLIENT: drawInto(reinterpret_cast<HDC>(wParam)); return true;
        case WM_TIMER:
            if (wParam != kDragPollTimer) return false;
            pollDrag();
            return true;
        default: return false;
    }
}

void PluginPane::paintPane(HDC dc) {
    void* routine = slot(kBehaviourPaint);
    if (!dc || !routine) return;
    const POINT o = origin();
    SetWindowOrgEx(dc, o.x, o.y, nullptr);
    const Unwindable<ObjectRef> graphics(newGraphicsFor(dc));
    const ObjectHandle g = graphics->get();
    const UnwindAction forget([g] { forgetGraphics(g); });
    callBehaviour([&] { reinterpret_cast<GraphicsRoutine>(routine)(control(), g); });
}

void PluginPane::drawInto(HDC dc) {
    void* routine = slot(kBehaviourDrawInto);
    if (!dc || !routine) return;
    const Unwindable<ObjectRef> graphics(newGraphicsFor(dc));
    const ObjectHandle g = graphics->get();
    const UnwindAction forget([g] { forgetGraphics(g); });
    callBehaviour([&] { reinterpret_cast<GraphicsRoutine>(routine)(control(), g); });
}

bool PluginPane::mouseDownAt(POINT point, int32_t modifiers) {
    void* routine = slot(kBehaviourMouseDown);
    if (!routine) return false;
    if (acceptsFocus()) takeFocus();
    lastMouse_ = point;
    bool track = false;
    if (!callBehaviour([&] { track = reinterpret_cast<MouseDownRoutine>(routine)(control(), point.x, point.y, modifiers); })) {
        return false;  // the pane was closed by the call
    }
    if (track) SetTimer(handle(), kDragPollTimer, kDragPollMilliseconds, nullptr);
    return track;
}

void PluginPane::mouseDragAt(POINT point) {
    lastMouse_ = point;
    if (void* routine = slot(kBehaviourMouseDrag)) {
        callBehaviour([&] { reinterpret_cast<MouseRoutine>(routine)(control(), point.x, point.y); });
    }
}

// Polls with the position the pane last saw in a mouse message, not the
// cursor's: the cursor may already be elsewhere while its messages are still
// queued.
void PluginPane::pollDrag() {
    if (!tracking()) {
        KillTimer(handle(), kDragPollTimer);
        return;
    }
    mouseDragAt(lastMouse_);
}

void PluginPane::mouseUpAt(POINT point) {
    KillTimer(handle(), kDragPollTimer);
    if (void* routine = slot(kBehaviourMouseUp)) {
        callBehaviour([&] { reinterpret_cast<MouseRoutine>(routine)(control(), point.x, point.y); });
    }
}

PluginPane* PluginPane::of(ObjectHandle instance) {
    if (!instance || !pluginControlClassOf(instance)) return nullptr;
    return static_cast<PluginPane*>(controlFields(instance).pane);
}

void createPluginPane(ObjectHandle instance, const PluginControlClass* controlClass) {
    if (!instance || !controlClass) return;
    ControlFields& f = controlFields(instance);
    if (f.pane) return;
    NativeWindow* window = f.parent;
    if (!window && f.window) window = windowFields(f.window).native;
    if (!window || !window->handle()) return;
    auto* pane = new PluginPane(instance, window, *controlClass);
    f.pane = pane;
    if (!pane->create()) {
        f.pane = nullptr;
        delete pane;
    }
}

void destroyPluginPane(ObjectHandle instance) {
    if (PluginPane* pane = PluginPane::of(instance)) delete pane;
}

void redrawPluginPane(ObjectHandle instance) {
    if (PluginPane* pane = PluginPane::of(instance)) pane->invalidate();
}

}  // namespace runtime::plugins
