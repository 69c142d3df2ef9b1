#include "ui/WindowEntries.h"

#include <cstddef>

#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/ObjectRef.h"
#include "objects/UnwindScope.h"
#include "objects/WindowContents.h"
#include "text/StringValue.h"
#include "text/SystemText.h"
#include "ui/ControlFields.h"
#include "ui/DragItem.h"
#include "ui/MouseCursors.h"
#include "ui/NativeWindow.h"
#include "ui/Pane.h"
#include "ui/Timer.h"
#include "ui/WindowEvents.h"
#include "ui/WindowFields.h"
#include "ui/WindowOperations.h"

using namespace runtime;

namespace {

COLORREF systemColour(int32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

void storeString(StringHandle& field, StringHandle value) {
    StringHandle old = field;
    field = StringValue::borrow(value).release();  // the new reference first
    StringValue::adopt(old);
}

void storeObject(ObjectHandle& field, ObjectHandle value) {
    ObjectHandle old = field;
    field = ObjectRef::borrow(value).release();
    ObjectRef::adopt(old);
}

}  // namespace

void RuntimeShowWindow(ObjectHandle w) { showWindow(w); }
void RuntimeHideWindow(ObjectHandle w) { hideWindow(w); }

void RuntimeCloseWindow(ObjectHandle w) {
    if (!nativeWindowOf(w)) return;
    if (windowRefusesToClose(w)) return;
    closeWindowNow(w);
}

void RuntimeShowModal(ObjectHandle w) { showModal(w); }

bool WindowVisibleGetter(ObjectHandle w) { return w && windowFields(w).visible; }

void WindowVisibleSetter(ObjectHandle w, bool visible) {
    if (!w) return;
    if (!nativeWindowOf(w)) {
        windowFields(w).visible = visible;
        return;
    }
    if (visible) showWindow(w);
    else hideWindow(w);
}

int32_t windowPosGetter(ObjectHandle w, int32_t selector) {
    if (!w) return 0;
    const Bounds& b = windowFields(w).bounds;
    switch (selector) {
        case 0: return b.left;
        case 1: return b.top;
        case 2: return b.width();
        case 3: return b.height();
        default: return 0;
    }
}

void windowPosSetter(ObjectHandle w, int32_t selector, int32_t value) {
    if (!w) return;
    WindowFields& f = windowFields(w);
    NativeWindow* native = f.native;
    if (selector == 0 || selector == 1) {
        const int32_t dh = selector == 0 ? value - f.bounds.left : 0;
        const int32_t dv = selector == 1 ? value - f.bounds.top : 0;
        f.bounds.offset(dh, dv);
        if (native) {
            native->offsetBounds(dh, dv);
            deliverWindowEvent(w, "Moved");
        }
    } else if (selector == 2 || selector == 3) {
        if (selector == 2) f.bounds.right = static_cast<int16_t>(f.bounds.left + value);
        else f.bounds.bottom = static_cast<int16_t>(f.bounds.top + value);
        if (native) native->setSize(f.bounds.width(), f.bounds.height());
    }
}

int32_t windowPlacementGetter(ObjectHandle w) { return w ? windowFields(w).placement : 0; }
void windowPlacementSetter(ObjectHandle w, int32_t placement) {
    if (w) windowFields(w).placement = placement;
}

StringHandle windowTitleGetter(ObjectHandle w) { return w ? StringValue::borrow(windowFields(w).title).release() : nullptr; }

void windowTitleSetter(ObjectHandle w, StringHandle title) {
    if (!w) return;
    storeString(windowFields(w).title, title);
    if (NativeWindow* native = nativeWindowOf(w)) {
        const std::wstring text = toSystemText(viewOf(title));
        HWND h = native->handle();
        callSystem([&] { return SetWindowTextW(h, text.c_str()); });
    }
}

#define BOOL_FIELD(getter, setter, field)                                      \
    bool getter(ObjectHandle w) { return w && windowFields(w).field; }         \
    void setter(ObjectHandle w, bool value) {                                  \
        if (w) windowFields(w).field = value;                                  \
    }
BOOL_FIELD(windowCloseBoxGetter, windowCloseBoxSetter, closeBox)
BOOL_FIELD(windowGrowIconGetter, windowGrowIconSetter, growIcon)
BOOL_FIELD(windowZoomIconGetter, windowZoomIconSetter, zoomIcon)
#undef BOOL_FIELD

int32_t windowFrameGetter(ObjectHandle w) { return w ? windowFields(w).frame : 0; }
void windowFrameSetter(ObjectHandle w, int32_t frame) {
    if (w) windowFields(w).frame = frame;
}

ObjectHandle windowBackdropGetter(ObjectHandle w) { return w ? ObjectRef::borrow(windowFields(w).backdrop).release() : nullptr; }
void windowBackdropSetter(ObjectHandle w, ObjectHandle picture) {
    if (!w) return;
    storeObject(windowFields(w).backdrop, picture);
    if (NativeWindow* native = nativeWindowOf(w)) InvalidateRect(native->handle(), nullptr, TRUE);
}

bool windowHasBackColorGetter(ObjectHandle w) { return w && windowFields(w).hasBackColor; }
void windowHasBackColorSetter(ObjectHandle w, bool value) {
    if (!w) return;
    WindowFields& f = windowFields(w);
    f.hasBackColor = value;
    if (NativeWindow* native = f.native) native->setBackColor(value, systemColour(f.backColor));
}

int32_t windowBackColorGetter(ObjectHandle w) { return w ? windowFields(w).backColor : 0; }
void windowBackColorSetter(ObjectHandle w, int32_t color) {
    if (!w) return;
    WindowFields& f = windowFields(w);
    f.backColor = color;
    if (f.hasBackColor && f.native) f.native->setBackColor(true, systemColour(color));
}

void windowBalloonHelpSetter(ObjectHandle w, StringHandle text) {
    if (!w) return;
    storeString(windowFields(w).balloonHelp, text);
    if (NativeWindow* native = nativeWindowOf(w)) native->setBalloonHelp(std::string(viewOf(text)));
}

void formMouseCursorSetter(ObjectHandle w, ObjectHandle cursor) {
    if (!w) return;
    storeObject(windowFields(w).mouseCursor, cursor);
    refreshShownCursor();
}

namespace {
// The controls of a window in its control order: objects that are controls.
std::vector<ObjectHandle> controlsOf(ObjectHandle w) {
    std::vector<ObjectHandle> controls;
    if (!w || !windowFields(w).contents) return controls;
    ClassRecord* control = builtinClass("Control");
    for (const auto& entry : windowFields(w).contents->registry.entries()) {
        if (entry.value && inheritsFrom(entry.value->classRecord, control)) controls.push_back(entry.value);
    }
    return controls;
}

POINT mouseInClient(ObjectHandle w) {
    POINT p{0, 0};
    GetCursorPos(&p);
    if (NativeWindow* native = nativeWindowOf(w)) ScreenToClient(native->handle(), &p);
    return p;
}
}  // namespace

int32_t windowControlCountGetter(ObjectHandle w) { return static_cast<int32_t>(controlsOf(w).size()); }

ObjectHandle windowControl(ObjectHandle w, int32_t index) {
    const std::vector<ObjectHandle> controls = controlsOf(w);
    if (index < 0 || static_cast<size_t>(index) >= controls.size()) return nullptr;
    return ObjectRef::borrow(controls[static_cast<size_t>(index)]).release();
}

int32_t windowMouseXGetter(ObjectHandle w) { return mouseInClient(w).x; }
int32_t windowMouseYGetter(ObjectHandle w) { return mouseInClient(w).y; }
int32_t windowWindowPtrGetter(ObjectHandle w) { return windowHWNDGetter(w); }
int32_t windowHWNDGetter(ObjectHandle w) {
    NativeWindow* native = nativeWindowOf(w);
    return native ? static_cast<int32_t>(reinterpret_cast<intptr_t>(native->handle())) : 0;
}

int32_t getWindowCount() { return static_cast<int32_t>(runtimeViewWindows().size()); }

ObjectHandle getWindow(int32_t index) {
    const std::vector<NativeWindow*> windows = runtimeViewWindows();
    if (index < 0 || static_cast<size_t>(index) >= windows.size()) return nullptr;
    return ObjectRef::borrow(windows[static_cast<size_t>(index)]->windowObject()).release();
}

// Property records: getter(object) and setter(object, value).
namespace {

template <auto Entry, typename Value>
void adaptSetter(ObjectHandle o, Value v) { Entry(o, v); }
template <auto Entry>
auto adaptGetter(ObjectHandle o) { return Entry(o); }
template <int32_t Selector>
void posSetter(ObjectHandle o, int32_t v) { windowPosSetter(o, Selector, v); }
template <int32_t Selector>
int32_t posGetter(ObjectHandle o) { return windowPosGetter(o, Selector); }

template <typename Field>
Field& fieldAt(ObjectHandle o, int32_t offset) {
    return *reinterpret_cast<Field*>(reinterpret_cast<char*>(o) + offset);
}
// Stored fields, at a byte offset of the instance.
template <int32_t Offset>
void int16FieldSetter(ObjectHandle o, int32_t v) { if (o) fieldAt<int16_t>(o, Offset) = static_cast<int16_t>(v); }
template <int32_t Offset>
int32_t int16FieldGetter(ObjectHandle o) { return o ? fieldAt<int16_t>(o, Offset) : 0; }
template <int32_t Offset>
void int32FieldSetter(ObjectHandle o, int32_t v) { if (o) fieldAt<int32_t>(o, Offset) = v; }
template <int32_t Offset>
int32_t int32FieldGetter(ObjectHandle o) { return o ? fieldAt<int32_t>(o, Offset) : 0; }
template <int32_t Offset>
void byteFieldSetter(ObjectHandle o, bool v) { if (o) fieldAt<uint8_t>(o, Offset) = v; }
template <int32_t Offset>
bool byteFieldGetter(ObjectHandle o) { return o && fieldAt<uint8_t>(o, Offset) != 0; }
template <int32_t Offset>
void stringFieldSetter(ObjectHandle o, StringHandle v) { if (o) storeString(fieldAt<StringHandle>(o, Offset), v); }
template <int32_t Offset>
StringHandle stringFieldGetter(ObjectHandle o) {
    return o ? StringValue::borrow(fieldAt<StringHandle>(o, Offset)).release() : nullptr;
}

void controlVisibleSetter(ObjectHandle o, bool v) {
    if (!o) return;
    ControlFields& f = controlFields(o);
    f.visible = v;
    if (f.pane) f.pane->setVisible(v);
}
void controlEnabledSetter(ObjectHandle o, bool v) {
    if (!o) return;
    ControlFields& f = controlFields(o);
    f.enabled = v;
    if (f.pane) f.pane->setEnabled(v);
}

void add(ClassRecord* cls, const char* name, PropertyType type, auto getter, auto setter) {
    prependProperty(cls, name, type, reinterpret_cast<CodeAddress>(getter), reinterpret_cast<CodeAddress>(setter));
}

#define WINDOW_FIELD(field) (kWindowFieldsOffset + static_cast<int32_t>(offsetof(WindowFields, field)))
#define CONTROL_FIELD(field) (kControlFieldsOffset + static_cast<int32_t>(offsetof(ControlFields, field)))

void initialiseControl(ObjectHandle o, ClassRecord*) {
    ControlFields& f = controlFields(o);
    f.index = kNoIndex;
    f.visible = 1;
    f.enabled = 1;
}

void finaliseControl(ObjectHandle o, ClassRecord*) {
    ControlFields& f = controlFields(o);
    delete std::exchange(f.pane, nullptr);
    for (StringHandle* s : {&f.name, &f.balloonHelp, &f.disabledBalloonHelp}) StringValue::adopt(std::exchange(*s, nullptr));
}

void initialiseWindow(ObjectHandle o, ClassRecord*) {
    WindowFields& f = windowFields(o);
    f.visible = 1;
    f.backColor = 0xFFFFFF;
}

void finaliseWindow(ObjectHandle o, ClassRecord*) {
    WindowFields& f = windowFields(o);
    delete std::exchange(f.contents, nullptr);
    for (StringHandle* s : {&f.title, &f.balloonHelp, &f.floaterProcess}) StringValue::adopt(std::exchange(*s, nullptr));
    for (ObjectHandle* h : {&f.backdrop, &f.mouseCursor}) ObjectRef::adopt(std::exchange(*h, nullptr));
}

}  // namespace

void runtime::defineWindowProperties() {
    ClassRecord* window = builtinClass("Window");
    if (window->properties) return;
    defineDragItem();
    window->initialiser = initialiseWindow;
    window->finaliser = finaliseWindow;
    using T = PropertyType;
    add(window, "Visible", T::kBoolean, adaptGetter<WindowVisibleGetter>, adaptSetter<WindowVisibleSetter, bool>);
    add(window, "Left", T::kInteger, posGetter<0>, posSetter<0>);
    add(window, "Top", T::kInteger, posGetter<1>, posSetter<1>);
    add(window, "Width", T::kInteger, posGetter<2>, posSetter<2>);
    add(window, "Height", T::kInteger, posGetter<3>, posSetter<3>);
    add(window, "Placement", T::kInteger, adaptGetter<windowPlacementGetter>, adaptSetter<windowPlacementSetter, int32_t>);
    add(window, "Title", T::kString, adaptGetter<windowTitleGetter>, adaptSetter<windowTitleSetter, StringHandle>);
    add(window, "CloseBox", T::kBoolean, adaptGetter<windowCloseBoxGetter>, adaptSetter<windowCloseBoxSetter, bool>);
    add(window, "GrowIcon", T::kBoolean, adaptGetter<windowGrowIconGetter>, adaptSetter<windowGrowIconSetter, bool>);
    add(window, "ZoomIcon", T::kBoolean, adaptGetter<windowZoomIconGetter>, adaptSetter<windowZoomIconSetter, bool>);
    add(window, "Frame", T::kInteger, adaptGetter<windowFrameGetter>, adaptSetter<windowFrameSetter, int32_t>);
    add(window, "Backdrop", T::kProjectObject, adaptGetter<windowBackdropGetter>, adaptSetter<windowBackdropSetter, ObjectHandle>);
    add(window, "HasBackColor", T::kBoolean, adaptGetter<windowHasBackColorGetter>, adaptSetter<windowHasBackColorSetter, bool>);
    add(window, "BackColor", T::kColor, adaptGetter<windowBackColorGetter>, adaptSetter<windowBackColorSetter, int32_t>);
    add(window, "BalloonHelp", T::kString, stringFieldGetter<WINDOW_FIELD(balloonHelp)>,
        adaptSetter<windowBalloonHelpSetter, StringHandle>);
    add(window, "MinWidth", T::kInteger, int16FieldGetter<WINDOW_FIELD(minWidth)>, int16FieldSetter<WINDOW_FIELD(minWidth)>);
    add(window, "MinHeight", T::kInteger, int16FieldGetter<WINDOW_FIELD(minHeight)>, int16FieldSetter<WINDOW_FIELD(minHeight)>);
    add(window, "MaxWidth", T::kInteger, int16FieldGetter<WINDOW_FIELD(maxWidth)>, int16FieldSetter<WINDOW_FIELD(maxWidth)>);
    add(window, "MaxHeight", T::kInteger, int16FieldGetter<WINDOW_FIELD(maxHeight)>, int16FieldSetter<WINDOW_FIELD(maxHeight)>);
    add(window, "MacProcID", T::kInteger, int32FieldGetter<WINDOW_FIELD(macProcId)>, int32FieldSetter<WINDOW_FIELD(macProcId)>);
    add(window, "FloaterProcess", T::kString, stringFieldGetter<WINDOW_FIELD(floaterProcess)>,
        stringFieldSetter<WINDOW_FIELD(floaterProcess)>);

    ClassRecord* control = builtinClass("Control");
    control->initialiser = initialiseControl;
    control->finaliser = finaliseControl;
    add(control, "Name", T::kString, stringFieldGetter<CONTROL_FIELD(name)>, stringFieldSetter<CONTROL_FIELD(name)>);
    add(control, "Index", T::kInteger, int32FieldGetter<CONTROL_FIELD(index)>, int32FieldSetter<CONTROL_FIELD(index)>);
    add(control, "Left", T::kInteger, int16FieldGetter<CONTROL_FIELD(left)>, int16FieldSetter<CONTROL_FIELD(left)>);
    add(control, "Top", T::kInteger, int16FieldGetter<CONTROL_FIELD(top)>, int16FieldSetter<CONTROL_FIELD(top)>);
    add(control, "Width", T::kInteger, int16FieldGetter<CONTROL_FIELD(width)>, int16FieldSetter<CONTROL_FIELD(width)>);
    add(control, "Height", T::kInteger, int16FieldGetter<CONTROL_FIELD(height)>, int16FieldSetter<CONTROL_FIELD(height)>);
    add(control, "Visible", T::kBoolean, byteFieldGetter<CONTROL_FIELD(visible)>, controlVisibleSetter);
    add(control, "Enabled", T::kBoolean, byteFieldGetter<CONTROL_FIELD(enabled)>, controlEnabledSetter);
    add(control, "TabPanelIndex", T::kInteger, int32FieldGetter<CONTROL_FIELD(tabPanelIndex)>,
        int32FieldSetter<CONTROL_FIELD(tabPanelIndex)>);
    add(control, "BalloonHelp", T::kString, stringFieldGetter<CONTROL_FIELD(balloonHelp)>,
        stringFieldSetter<CONTROL_FIELD(balloonHelp)>);
    add(control, "DisabledBalloonHelp", T::kString, stringFieldGetter<CONTROL_FIELD(disabledBalloonHelp)>,
        stringFieldSetter<CONTROL_FIELD(disabledBalloonHelp)>);
    add(control, "LockLeft", T::kBoolean, byteFieldGetter<CONTROL_FIELD(lockLeft)>, byteFieldSetter<CONTROL_FIELD(lockLeft)>);
    add(control, "LockTop", T::kBoolean, byteFieldGetter<CONTROL_FIELD(lockTop)>, byteFieldSetter<CONTROL_FIELD(lockTop)>);
    add(control, "LockRight", T::kBoolean, byteFieldGetter<CONTROL_FIELD(lockRight)>, byteFieldSetter<CONTROL_FIELD(lockRight)>);
    add(control, "LockBottom", T::kBoolean, byteFieldGetter<CONTROL_FIELD(lockBottom)>,
        byteFieldSetter<CONTROL_FIELD(lockBottom)>);

    // Timers placed on windows take their settings from the layout.
    ClassRecord* timer = builtinClass("Timer");
    add(timer, "Mode", T::kInteger, timerModeGetter, timerModeSetter);
    add(timer, "Period", T::kInteger, timerPeriodGetter, timerPeriodSetter);
}
