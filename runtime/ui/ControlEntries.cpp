#include "ui/ControlEntries.h"

#include <algorithm>

#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/ObjectRef.h"
#include "objects/UnwindScope.h"
#include "text/StringValue.h"
#include "ui/ControlFields.h"
#include "ui/MouseCursors.h"
#include "ui/NativeWindow.h"
#include "ui/Pane.h"
#include "ui/WindowFields.h"
#include "ui/WindowOperations.h"

using namespace runtime;

namespace {

int16_t toInt16(int32_t v) { return static_cast<int16_t>(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX)); }

Pane* livePane(ObjectHandle c) { return c ? controlFields(c).pane : nullptr; }

void storeString(StringHandle& field, StringHandle value) {
    StringHandle old = field;
    field = StringValue::borrow(value).release();  // the new reference first
    StringValue::adopt(old);
}

POINT mouseInWindow(ObjectHandle c) {
    POINT p{0, 0};
    GetCursorPos(&p);
    NativeWindow* native = c ? nativeWindowOf(controlFields(c).window) : nullptr;
    if (native) ScreenToClient(native->handle(), &p);
    return p;
}

void refresh(HWND handle, const RECT* area) {
    if (!handle) return;
    InvalidateRect(handle, area, TRUE);
    callSystem([&] { return UpdateWindow(handle); });
}

}  // namespace

int32_t ctlPosGetter(ObjectHandle c, int32_t selector) {
    if (!c) return 0;
    const ControlFields& f = controlFields(c);
    switch (selector) {
        case 0: return f.left;
        case 1: return f.top;
        case 2: return f.width;
        case 3: return f.height;
        default: return 0;
    }
}

void ctlPosSetter(ObjectHandle c, int32_t selector, int32_t value) {
    if (!c || selector < 0 || selector > 3) return;
    ControlFields& f = controlFields(c);
    const Bounds before = controlBounds(f);
    switch (selector) {
        case 0: f.left = toInt16(value); break;
        case 1: f.top = toInt16(value); break;
        // A negative size makes an empty control, never an inverted one.
        case 2: f.width = toInt16(std::max(0, value)); break;
        case 3: f.height = toInt16(std::max(0, value)); break;
        default: break;
    }
    const Bounds after = controlBounds(f);
    const bool changed = before.left != after.left || before.top != after.top || before.right != after.right ||
                         before.bottom != after.bottom;
    if (changed && f.pane) f.pane->setBounds(after, true);
}

bool controlVisibleGetter(ObjectHandle c) { return c && controlFields(c).visible; }

void ControlVisibleSetter(ObjectHandle c, bool value) {
    if (!c) return;
    if (Pane* pane = livePane(c)) pane->handleStateCommand(value ? kPaneShow : kPaneHide);
    controlFields(c).visible = value;
}

// Plug-ins call this one too, with a further word it ignores, and may pass
// any object: only controls have the flag.
bool controlEnabledGetter(ObjectHandle c) {
    return c && inheritsFrom(c->classRecord, builtinClass("Control")) && controlFields(c).enabled;
}

void controlEnabledSetter(ObjectHandle c, bool value) {
    if (!c) return;
    controlFields(c).enabled = value;
    if (Pane* pane = livePane(c)) pane->handleStateCommand(value ? kPaneEnable : kPaneDisable);
}

#define LOCK_ROUTINES(Name, field)                                         \
    bool controlLock##Name##Getter(ObjectHandle c) { return c && controlFields(c).field; } \
    void controlLock##Name##Setter(ObjectHandle c, bool value) {           \
        if (c) controlFields(c).field = value;                             \
    }
LOCK_ROUTINES(Left, lockLeft)
LOCK_ROUTINES(Top, lockTop)
LOCK_ROUTINES(Right, lockRight)
LOCK_ROUTINES(Bottom, lockBottom)
#undef LOCK_ROUTINES

void controlBalloonHelpSetter(ObjectHandle c, StringHandle text) {
    if (!c) return;
    ControlFields& f = controlFields(c);
    storeString(f.balloonHelp, text);
    if (f.pane) f.pane->setHelpTexts(f.balloonHelp, f.disabledBalloonHelp);
}

void controlDisabledBalloonHelpSetter(ObjectHandle c, StringHandle text) {
    if (!c) return;
    ControlFields& f = controlFields(c);
    storeString(f.disabledBalloonHelp, text);
    if (f.pane) f.pane->setHelpTexts(f.balloonHelp, f.disabledBalloonHelp);
}

void controlMouseCursorSetter(ObjectHandle c, ObjectHandle cursor) {
    if (!c) return;
    ControlFields& f = controlFields(c);
    ObjectHandle old = f.mouseCursor;
    f.mouseCursor = ObjectRef::borrow(cursor).release();
    ObjectRef::adopt(old);
    if (f.pane) f.pane->setCursor(f.mouseCursor);
    refreshShownCursor();
}

int32_t controlMouseXGetter(ObjectHandle c) { return c ? mouseInWindow(c).x - controlFields(c).left : 0; }
int32_t controlMouseYGetter(ObjectHandle c) { return c ? mouseInWindow(c).y - controlFields(c).top : 0; }

int32_t controlMacControlHandleGetter(ObjectHandle c) {
    Pane* pane = livePane(c);
    return pane ? static_cast<int32_t>(reinterpret_cast<intptr_t>(pane->handle())) : 0;
}

ObjectHandle controlWindowGetter(ObjectHandle c) {
    return c ? ObjectRef::borrow(controlFields(c).window).release() : nullptr;
}

void RuntimeControlRefresh(ObjectHandle c) {
    if (Pane* pane = livePane(c)) refresh(pane->handle(), nullptr);
}

void RuntimeControlRefreshRect(ObjectHandle c, int32_t x, int32_t y, int32_t width, int32_t height) {
    Pane* pane = livePane(c);
    if (!pane || width <= 0 || height <= 0) return;
    const RECT area{x, y, x + width, y + height};
    refresh(pane->handle(), &area);
}

void formRefresh(ObjectHandle w) {
    if (NativeWindow* native = nativeWindowOf(w)) refresh(native->handle(), nullptr);
}

void formRefreshRect(ObjectHandle w, int32_t x, int32_t y, int32_t width, int32_t height) {
    NativeWindow* native = nativeWindowOf(w);
    if (!native || width <= 0 || height <= 0) return;
    const RECT area{x, y, x + width, y + height};
    refresh(native->handle(), &area);
}

void RuntimeSetFocus(ObjectHandle c) {
    if (Pane* pane = livePane(c)) pane->takeFocus();
}

void formSetFocus(ObjectHandle w) {
    NativeWindow* native = nativeWindowOf(w);
    if (!native || native->closed()) return;
    if (Pane* old = native->focusedPane()) old->focusLost();
    native->setFocusedPane(nullptr);
    HWND handle = native->handle();
    if (native->active() || GetActiveWindow() == handle) callSystem([&] { return SetFocus(handle); });
}

void clearFocus() {
    for (NativeWindow* w = NativeWindow::first(); w; w = w->next()) {
        Pane* old = w->focusedPane();
        if (!old) continue;
        w->setFocusedPane(nullptr);
        old->focusLost();
        HWND focus = GetFocus();
        if (focus && old->handle() && (focus == old->handle() || IsChild(old->handle(), focus))) {
            HWND handle = w->handle();
            callSystem([&] { return SetFocus(handle); });
        }
    }
}

namespace {

template <int32_t Selector>
int32_t positionGetter(ObjectHandle c) { return ctlPosGetter(c, Selector); }
template <int32_t Selector>
void positionSetter(ObjectHandle c, int32_t value) { ctlPosSetter(c, Selector, value); }

StringHandle balloonHelpGetter(ObjectHandle c) {
    return c ? StringValue::borrow(controlFields(c).balloonHelp).release() : nullptr;
}
StringHandle disabledBalloonHelpGetter(ObjectHandle c) {
    return c ? StringValue::borrow(controlFields(c).disabledBalloonHelp).release() : nullptr;
}
ObjectHandle mouseCursorGetter(ObjectHandle c) {
    return c ? ObjectRef::borrow(controlFields(c).mouseCursor).release() : nullptr;
}

CodeAddress codeOf(auto routine) { return reinterpret_cast<CodeAddress>(routine); }
CodeAddress codeOf(std::nullptr_t) { return nullptr; }

void addProperty(ClassRecord* cls, const char* name, PropertyType type, auto getter, auto setter) {
    prependProperty(cls, name, type, codeOf(getter), codeOf(setter));
}

void finaliseRectControl(ObjectHandle c, ClassRecord*) { ObjectRef::adopt(std::exchange(controlFields(c).mouseCursor, nullptr)); }

}  // namespace

namespace runtime::controls {

void defineRectControl() {
    ClassRecord* cls = builtinClass("RectControl");
    cls->finaliser = finaliseRectControl;
    using T = PropertyType;
    addProperty(cls, "Left", T::kInteger, positionGetter<0>, positionSetter<0>);
    addProperty(cls, "Top", T::kInteger, positionGetter<1>, positionSetter<1>);
    addProperty(cls, "Width", T::kInteger, positionGetter<2>, positionSetter<2>);
    addProperty(cls, "Height", T::kInteger, positionGetter<3>, positionSetter<3>);
    addProperty(cls, "Visible", T::kBoolean, controlVisibleGetter, ControlVisibleSetter);
    addProperty(cls, "Enabled", T::kBoolean, controlEnabledGetter, controlEnabledSetter);
    addProperty(cls, "LockLeft", T::kBoolean, controlLockLeftGetter, controlLockLeftSetter);
    addProperty(cls, "LockTop", T::kBoolean, controlLockTopGetter, controlLockTopSetter);
    addProperty(cls, "LockRight", T::kBoolean, controlLockRightGetter, controlLockRightSetter);
    addProperty(cls, "LockBottom", T::kBoolean, controlLockBottomGetter, controlLockBottomSetter);
    addProperty(cls, "BalloonHelp", T::kString, balloonHelpGetter, controlBalloonHelpSetter);
    addProperty(cls, "DisabledBalloonHelp", T::kString, disabledBalloonHelpGetter, controlDisabledBalloonHelpSetter);
    addProperty(cls, "MouseCursor", T::kProjectObject, mouseCursorGetter, controlMouseCursorSetter);
    addProperty(cls, "MouseX", T::kInteger, controlMouseXGetter, nullptr);
    addProperty(cls, "MouseY", T::kInteger, controlMouseYGetter, nullptr);
    addProperty(cls, "MacControlHandle", T::kInteger, controlMacControlHandleGetter, nullptr);
}

}  // namespace runtime::controls
