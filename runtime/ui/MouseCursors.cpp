#include "ui/MouseCursors.h"

#include "loader/Instance.h"
#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/ResourceObjects.h"
#include "objects/UnwindScope.h"
#include "ui/ControlFields.h"
#include "ui/NativeWindow.h"
#include "ui/Pane.h"
#include "ui/WindowFields.h"

namespace runtime {
namespace {

// Process-wide by design: the application's cursor, shown over every window.
ObjectRef gApplicationCursor;

// The identifiers of the system's own cursors (IDC_ARROW to IDC_HELP).
constexpr uint32_t kFirstSystemCursor = 32512;
constexpr uint32_t kLastSystemCursor = 32651;
constexpr uint32_t kArrow = 32512, kIBeam = 32513, kWatch = 32514;

bool isCursorObject(ObjectHandle object) {
    return object && inheritsFrom(object->classRecord, builtinClass(kCursorClass.name));
}

HCURSOR controlCursor(ObjectHandle control) {
    return control ? systemCursor(controlFields(control).mouseCursor) : nullptr;
}

HCURSOR windowCursor(ObjectHandle window) { return window ? systemCursor(windowFields(window).mouseCursor) : nullptr; }

// The capture holder's cursor: the window that took a MouseDown, or the
// control whose pane did.
HCURSOR captureCursor() {
    if (ObjectHandle holder = captureHolder()) return windowCursor(holder);
    if (Pane* pane = capturePane()) return controlCursor(pane->control());
    return nullptr;
}

// The pane that `under` belongs to inside `window`: the pane itself or the
// nearest pane among its parents (the edit part of a combo box, say).
Pane* paneUnder(const NativeWindow& window, HWND under) {
    for (HWND h = under; h && h != window.handle(); h = GetParent(h)) {
        if (Pane* pane = paneOfHandle(h)) return pane;
    }
    return nullptr;
}

NativeWindow* runtimeWindowAbove(HWND handle) {
    for (HWND h = handle; h; h = GetParent(h)) {
        if (NativeWindow* w = NativeWindow::fromHandle(h)) return w;
    }
    return nullptr;
}

}  // namespace

HCURSOR systemCursor(ObjectHandle cursor) {
    if (!isCursorObject(cursor)) return nullptr;
    const uint32_t word =
        reinterpret_cast<const ResourceFields*>(reinterpret_cast<const char*>(cursor) + kResourceFieldsOffset)->resourceWord;
    if (word == 0 || word > 0xFFFF) return nullptr;
    const auto* id = MAKEINTRESOURCEW(word);
    if (word >= kFirstSystemCursor && word <= kLastSystemCursor) return LoadCursorW(nullptr, id);
    return LoadCursorW(instanceHandle(), id);
}

ObjectRef newMouseCursor(uint32_t resourceWord) {
    ObjectRef cursor = ObjectRef::adopt(newObject(builtinClass(kCursorClass.name)));
    if (cursor) cursor.field<ResourceFields>(kResourceFieldsOffset)->resourceWord = resourceWord;
    return cursor;
}

ObjectHandle applicationCursor() { return gApplicationCursor.get(); }

void setApplicationCursor(ObjectHandle cursor) {
    gApplicationCursor = ObjectRef::borrow(cursor);
    refreshShownCursor();
}

HCURSOR chosenCursor(const NativeWindow& window, HWND under) {
    if (HCURSOR c = captureCursor()) return c;
    if (HCURSOR c = systemCursor(gApplicationCursor.get())) return c;
    if (Pane* pane = paneUnder(window, under)) {
        if (HCURSOR c = controlCursor(pane->control())) return c;
    }
    return windowCursor(window.windowObject());
}

LRESULT setCursorForClient(const NativeWindow& window, HWND under) {
    if (HCURSOR c = chosenCursor(window, under)) {
        SetCursor(c);
        return TRUE;
    }
    // A system control with a cursor of its own (the I-beam of an edit
    // field) shows it when nobody chose another.
    if (under && under != window.handle() && GetClassLongPtrW(under, GCLP_HCURSOR)) return FALSE;
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(kArrow)));
    return TRUE;
}

void refreshShownCursor() {
    if (HCURSOR c = captureCursor()) {
        SetCursor(c);
        return;
    }
    POINT p;
    if (!GetCursorPos(&p)) return;
    HWND under = WindowFromPoint(p);
    if (!runtimeWindowAbove(under)) return;
    // Asked the way the system asks, so the window's own rule decides.
    const auto hit = static_cast<WORD>(SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)));
    callSystem([&] {
        return SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
    });
}

}  // namespace runtime

using namespace runtime;

void appMouseCursorSetter(ObjectHandle, ObjectHandle cursor) { setApplicationCursor(cursor); }

ObjectHandle getArrowCursor() { return newMouseCursor(kArrow).release(); }
ObjectHandle getWatchCursor() { return newMouseCursor(kWatch).release(); }
ObjectHandle getIBeamCursor() { return newMouseCursor(kIBeam).release(); }
