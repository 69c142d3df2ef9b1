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
#include "ui/NativeWindow.h"
#include "ui/Pane.h"
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
    if (w) storeObject(windowFields(w).mouseCursor, cursor);
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

// Property records: setters and getters take (object, setter data, value).
namespace {

template <auto Entry, typename Value>
void adaptSetter(ObjectHandle o, int32_t, Value v) { Entry(o, v); }
template <auto Entry>
auto adaptGetter(ObjectHandle o, int32_t) { return Entry(o); }
void posSetter(ObjectHandle o, int32_t selector, int32_t v) { windowPosSetter(o, selector, v); }
int32_t posGetter(ObjectHandle o, int32_t selector) { return windowPosGetter(o, selector); }

template <typename Field>
Field& fieldAt(ObjectHandle o, int32_t offset) {
    return *reinterpret_cast<Field*>(reinterpret_cast<char*>(o) + offset);
}
void int16FieldSetter(ObjectHandle o, int32_t offset, int32_t v) { fieldAt<int16_t>(o, offset) = static_cast<int16_t>(v); }
int32_t int16FieldGetter(ObjectHandle o, int32_t offset) { return fieldAt<int16_t>(o, offset); }
void int32FieldSetter(ObjectHandle o, int32_t offset, int32_t v) { fieldAt<int32_t>(o, offset) = v; }
int32_t int32FieldGetter(ObjectHandle o, int32_t offset) { return fieldAt<int32_t>(o, offset); }
void byteFieldSetter(ObjectHandle o, int32_t offset, bool v) { fieldAt<uint8_t>(o, offset) = v; }
bool byteFieldGetter(ObjectHandle o, int32_t offset) { return fieldAt<uint8_t>(o, offset) != 0; }
void stringFieldSetter(ObjectHandle o, int32_t offset, StringHandle v) { storeString(fieldAt<StringHandle>(o, offset), v); }
StringHandle stringFieldGetter(ObjectHandle o, int32_t offset) {
    return StringValue::borrow(fieldAt<StringHandle>(o, offset)).release();
}

void controlVisibleSetter(ObjectHandle o, int32_t, bool v) {
    ControlFields& f = controlFields(o);
    f.visible = v;
    if (f.pane) f.pane->setVisible(v);
}
void controlEnabledSetter(ObjectHandle o, int32_t, bool v) {
    ControlFields& f = controlFields(o);
    f.enabled = v;
    if (f.pane) f.pane->setEnabled(v);
}

void add(ClassRecord* cls, const char* name, PropertyType type, auto getter, auto setter, int32_t data = 0) {
    prependProperty(cls, name, type, reinterpret_cast<CodeAddress>(getter), reinterpret_cast<CodeAddress>(setter), data);
}

constexpr int32_t windowOffset(size_t field) { return kWindowFieldsOffset + static_cast<int32_t>(field); }
constexpr int32_t controlOffset(size_t field) { return kControlFieldsOffset + static_cast<int32_t>(field); }

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
    window->initialiser = initialiseWindow;
    window->finaliser = finaliseWindow;
    using T = PropertyType;
    add(window, "Visible", T::kBoolean, adaptGetter<WindowVisibleGetter>, adaptSetter<WindowVisibleSetter, bool>);
    add(window, "Left", T::kInteger, posGetter, posSetter, 0);
    add(window, "Top", T::kInteger, posGetter, posSetter, 1);
    add(window, "Width", T::kInteger, posGetter, posSetter, 2);
    add(window, "Height", T::kInteger, posGetter, posSetter, 3);
    add(window, "Placement", T::kInteger, adaptGetter<windowPlacementGetter>, adaptSetter<windowPlacementSetter, int32_t>);
    add(window, "Title", T::kString, adaptGetter<windowTitleGetter>, adaptSetter<windowTitleSetter, StringHandle>);
    add(window, "CloseBox", T::kBoolean, adaptGetter<windowCloseBoxGetter>, adaptSetter<windowCloseBoxSetter, bool>);
    add(window, "GrowIcon", T::kBoolean, adaptGetter<windowGrowIconGetter>, adaptSetter<windowGrowIconSetter, bool>);
    add(window, "ZoomIcon", T::kBoolean, adaptGetter<windowZoomIconGetter>, adaptSetter<windowZoomIconSetter, bool>);
    add(window, "Frame", T::kInteger, adaptGetter<windowFrameGetter>, adaptSetter<windowFrameSetter, int32_t>);
    add(window, "Backdrop", T::kProjectObject, adaptGetter<windowBackdropGetter>, adaptSetter<windowBackdropSetter, ObjectHandle>);
    add(window, "HasBackColor", T::kBoolean, adaptGetter<windowHasBackColorGetter>, adaptSetter<windowHasBackColorSetter, bool>);
    add(window, "BackColor", T::kColor, adaptGetter<windowBackColorGetter>, adaptSetter<windowBackColorSetter, int32_t>);
    add(window, "BalloonHelp", T::kString, stringFieldGetter, adaptSetter<windowBalloonHelpSetter, StringHandle>,
        windowOffset(offsetof(WindowFields, balloonHelp)));
    add(window, "MinWidth", T::kInteger, int16FieldGetter, int16FieldSetter, windowOffset(offsetof(WindowFields, minWidth)));
    add(window, "MinHeight", T::kInteger, int16FieldGetter, int16FieldSetter, windowOffset(offsetof(WindowFields, minHeight)));
    add(window, "MaxWidth", T::kInteger, int16FieldGetter, int16FieldSetter, windowOffset(offsetof(WindowFields, maxWidth)));
    add(window, "MaxHeight", T::kInteger, int16FieldGetter, int16FieldSetter, windowOffset(offsetof(WindowFields, maxHeight)));
    add(window, "MacProcID", T::kInteger, int32FieldGetter, int32FieldSetter, windowOffset(offsetof(WindowFields, macProcId)));
    add(window, "FloaterProcess", T::kString, stringFieldGetter, stringFieldSetter,
        windowOffset(offsetof(WindowFields, floaterProcess)));

    ClassRecord* control = builtinClass("Control");
    control->initialiser = initialiseControl;
    control->finaliser = finaliseControl;
    add(control, "Name", T::kString, stringFieldGetter, stringFieldSetter, controlOffset(offsetof(ControlFields, name)));
    add(control, "Index", T::kInteger, int32FieldGetter, int32FieldSetter, controlOffset(offsetof(ControlFields, index)));
    add(control, "Left", T::kInteger, int16FieldGetter, int16FieldSetter, controlOffset(offsetof(ControlFields, left)));
    add(control, "Top", T::kInteger, int16FieldGetter, int16FieldSetter, controlOffset(offsetof(ControlFields, top)));
    add(control, "Width", T::kInteger, int16FieldGetter, int16FieldSetter, controlOffset(offsetof(ControlFields, width)));
    add(control, "Height", T::kInteger, int16FieldGetter, int16FieldSetter, controlOffset(offsetof(ControlFields, height)));
    add(control, "Visible", T::kBoolean, byteFieldGetter, controlVisibleSetter, controlOffset(offsetof(ControlFields, visible)));
    add(control, "Enabled", T::kBoolean, byteFieldGetter, controlEnabledSetter, controlOffset(offsetof(ControlFields, enabled)));
    add(control, "TabPanelIndex", T::kInteger, int32FieldGetter, int32FieldSetter,
        controlOffset(offsetof(ControlFields, tabPanelIndex)));
    add(control, "BalloonHelp", T::kString, stringFieldGetter, stringFieldSetter,
        controlOffset(offsetof(ControlFields, balloonHelp)));
    add(control, "DisabledBalloonHelp", T::kString, stringFieldGetter, stringFieldSetter,
        controlOffset(offsetof(ControlFields, disabledBalloonHelp)));
    add(control, "LockLeft", T::kBoolean, byteFieldGetter, byteFieldSetter, controlOffset(offsetof(ControlFields, lockLeft)));
    add(control, "LockTop", T::kBoolean, byteFieldGetter, byteFieldSetter, controlOffset(offsetof(ControlFields, lockTop)));
    add(control, "LockRight", T::kBoolean, byteFieldGetter, byteFieldSetter, controlOffset(offsetof(ControlFields, lockRight)));
    add(control, "LockBottom", T::kBoolean, byteFieldGetter, byteFieldSetter, controlOffset(offsetof(ControlFields, lockBottom)));
}
