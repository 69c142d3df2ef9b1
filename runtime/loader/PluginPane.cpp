#include "loader/PluginPane.h"

#include <windowsx.h>

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

int32_t modifierBits(WPARAM keys) {
    int32_t bits = 0;
    if (keys & MK_SHIFT) bits |= 0x200;
    if (keys & MK_CONTROL) bits |= 0x1000;
    return bits;
}

// The virtual key of the key whose text the window handed on: the text is
// the key's character, or the key code itself for keys without one.
uint8_t virtualKeyOf(uint8_t character) {
    if (GetKeyState(character) & 0x8000) return character;
    const SHORT scanned = VkKeyScanA(static_cast<CHAR>(character));
    return scanned == -1 ? character : static_cast<uint8_t>(scanned & 0xFF);
}

}  // namespace

LRESULT CALLBACK pluginPaneProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* pane = static_cast<PluginPane*>(paneOfHandle(handle));
    if (!pane) return DefWindowProcW(handle, message, wParam, lParam);
    LRESULT result = 0;
    if (!runFromSystem([&] { result = pane->handleMessage(message, wParam, lParam); })) {
        return DefWindowProcW(handle, message, wParam, lParam);
    }
    return result;
}

PluginPane::PluginPane(ObjectHandle instance, NativeWindow* window, const PluginControlClass& controlClass)
    : Pane(instance, window), controlClass_(controlClass) {}

PluginPane::~PluginPane() {
    *alive_ = false;
    if (idleTask_) removePeriodicTask(idleTask_.get());
    if (capturing_ && GetCapture() == handle()) ReleaseCapture();
    // Not locked here: the instance may be in its finaliser already.
    if (void* routine = handle() ? slot(kBehaviourPaneClosing) : nullptr) {
        runDroppingExceptions([&] { reinterpret_cast<InstanceRoutine>(routine)(control()); });
    }
    if (clientGraphics_) forgetGraphics(clientGraphics_.get());
    if (clientDC_) ReleaseDC(handle(), clientDC_);
    if (handle() && previousProcedure_) {
        SetWindowLongPtrW(handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProcedure_));
    }
}

void* PluginPane::slot(int32_t index) const {
    return controlClass_.behaviour ? controlClass_.behaviour[index] : nullptr;
}

POINT PluginPane::origin() const {
    const ControlFields& f = controlFields(control());
    return POINT{f.left, f.top};
}

bool PluginPane::create() {
    const ControlFields& f = controlFields(control());
    const RECT rect{f.left, f.top, f.left + f.width, f.top + f.height};
    if (!createChild(L"VL_Pane", WS_VISIBLE | WS_CLIPSIBLINGS, rect)) return false;
    previousProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&pluginPaneProcedure)));
    if (slot(kBehaviourIdle)) {
        idleTask_ = std::make_unique<PluginIdleTask>(*this);
        addPeriodicTask(idleTask_.get(), kIdleIntervalMilliseconds);
    }
    if (void* routine = slot(kBehaviourPaneCreated)) {
        guarded([&] { reinterpret_cast<InstanceRoutine>(routine)(control()); });
    }
    return true;
}

template <typename Call>
bool PluginPane::guarded(Call&& call) {
    // Both live in unwind scopes: a handler that the plug-in calls may raise.
    const Unwindable<ObjectRef> keep(ObjectRef::borrow(control()));
    const Unwindable<std::shared_ptr<bool>> alive(alive_);
    call();
    return **alive;
}

bool PluginPane::acceptsFocus() const {
    const ControlFields& f = controlFields(control());
    return (controlClass_.definition->flags & kControlAcceptsFocus) && f.visible && f.enabled && handle() &&
           IsWindowVisible(handle());
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
    guarded([&] {
        handled = reinterpret_cast<KeyRoutine>(routine)(control(), character, virtualKeyOf(character),
                                                        static_cast<uint16_t>(modifiers));
    });
    return handled;
}

void PluginPane::invalidate() {
    if (handle()) InvalidateRect(handle(), nullptr, TRUE);
}

void PluginPane::invalidate(const RECT& windowRect) {
    if (!handle()) return;
    const POINT o = origin();
    RECT r = windowRect;
    OffsetRect(&r, -o.x, -o.y);
    InvalidateRect(handle(), &r, TRUE);
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
        guarded([&] { reinterpret_cast<InstanceRoutine>(routine)(control()); });
    }
}

LRESULT PluginPane::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: paint(); return 0;
        case WM_PRINTCLIENT: drawInto(reinterpret_cast<HDC>(wParam)); return 0;
        case WM_ERASEBKGND: eraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: mouseDown(lParam, wParam); return 0;
        case WM_MOUSEMOVE: mouseDrag(lParam); return 0;
        case WM_LBUTTONUP: mouseUp(lParam); return 0;
        case WM_CAPTURECHANGED:
            if (capturing_ && reinterpret_cast<HWND>(lParam) != handle()) endTracking();
            return 0;
        case WM_TIMER:
            if (wParam != kDragPollTimer) break;
            pollDrag();
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) != HTCLIENT) break;
            SetCursor(LoadCursorA(nullptr, IDC_ARROW));
            return TRUE;
        case WM_SETFOCUS: focusChanged(true); return 0;
        case WM_KILLFOCUS: focusChanged(false); return 0;
        default: break;
    }
    return CallWindowProcW(previousProcedure_ ? previousProcedure_ : DefWindowProcW, handle(), message, wParam,
                           lParam);
}

void PluginPane::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(handle(), &ps);
    const HWND paneHandle = handle();
    const UnwindAction endPaint([paneHandle, &ps] { EndPaint(paneHandle, &ps); });
    void* routine = slot(kBehaviourPaint);
    if (!dc || !routine) return;
    const POINT o = origin();
    SetWindowOrgEx(dc, o.x, o.y, nullptr);
    const Unwindable<ObjectRef> graphics(newGraphicsFor(dc));
    const ObjectHandle g = graphics->get();
    const UnwindAction forget([g] { forgetGraphics(g); });
    guarded([&] { reinterpret_cast<GraphicsRoutine>(routine)(control(), g); });
}

void PluginPane::drawInto(HDC dc) {
    void* routine = slot(kBehaviourDrawInto);
    if (!dc || !routine) return;
    const Unwindable<ObjectRef> graphics(newGraphicsFor(dc));
    const ObjectHandle g = graphics->get();
    const UnwindAction forget([g] { forgetGraphics(g); });
    guarded([&] { reinterpret_cast<GraphicsRoutine>(routine)(control(), g); });
}

void PluginPane::eraseBackground(HDC dc) {
    RECT r;
    GetClientRect(handle(), &r);
    COLORREF colour = GetSysColor(COLOR_BTNFACE);
    if (hasSpecialBackground_) {
        colour = specialBackground_;
    } else if (window() && window()->hasBackColor()) {
        colour = window()->backColor();
    }
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void PluginPane::mouseDown(LPARAM lParam, WPARAM keys) {
    void* routine = slot(kBehaviourMouseDown);
    if (!routine) return;
    if (acceptsFocus() && GetFocus() != handle()) {
        if (window()) window()->setFocusedPane(this);
        SetFocus(handle());
    }
    lastMouse_ = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const POINT o = origin();
    const int32_t x = lastMouse_.x + o.x, y = lastMouse_.y + o.y;
    bool track = false;
    if (!guarded([&] { track = reinterpret_cast<MouseDownRoutine>(routine)(control(), x, y, modifierBits(keys)); })) {
        return;  // the pane was closed by the call
    }
    if (track) {
        capturing_ = true;
        SetCapture(handle());
        SetTimer(handle(), kDragPollTimer, kDragPollMilliseconds, nullptr);
    }
}

void PluginPane::mouseDrag(LPARAM lParam) {
    lastMouse_ = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    mouseDragAt(lastMouse_);
}

// The position the pane last saw in a mouse message, not the cursor's: the
// cursor may already be elsewhere while its messages are still queued.
void PluginPane::pollDrag() {
    if (capturing_) mouseDragAt(lastMouse_);
}

void PluginPane::mouseDragAt(POINT client) {
    if (!capturing_) return;
    void* routine = slot(kBehaviourMouseDrag);
    if (!routine) return;
    const POINT o = origin();
    const int32_t x = client.x + o.x, y = client.y + o.y;
    guarded([&] { reinterpret_cast<MouseRoutine>(routine)(control(), x, y); });
}

void PluginPane::endTracking() {
    capturing_ = false;
    KillTimer(handle(), kDragPollTimer);
}

void PluginPane::mouseUp(LPARAM lParam) {
    if (!capturing_) return;
    endTracking();
    if (GetCapture() == handle()) ReleaseCapture();
    void* routine = slot(kBehaviourMouseUp);
    if (!routine) return;
    const POINT o = origin();
    const int32_t x = GET_X_LPARAM(lParam) + o.x, y = GET_Y_LPARAM(lParam) + o.y;
    guarded([&] { reinterpret_cast<MouseRoutine>(routine)(control(), x, y); });
}

void PluginPane::focusChanged(bool gained) {
    if (void* routine = slot(gained ? kBehaviourGotFocus : kBehaviourLostFocus)) {
        guarded([&] { reinterpret_cast<InstanceRoutine>(routine)(control()); });
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
