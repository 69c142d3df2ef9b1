#include "ui/WindowOperations.h"

#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/EventLoop.h"
#include "objects/WindowContents.h"
#include "ui/ControlFields.h"
#include "ui/FrameWindow.h"
#include "ui/NativeWindow.h"
#include "ui/Pane.h"
#include "ui/WindowEvents.h"
#include "ui/WindowFields.h"

namespace runtime {
namespace {

// Process-wide: the window whose native window carries the menu bar.
NativeWindow* gMenuBarWindow = nullptr;

// Deletes a native window when left either way (its Close handlers ran).
struct NativeTeardown {
    ObjectHandle window;
    void operator()() const {
        WindowFields& fields = windowFields(window);
        NativeWindow* native = std::exchange(fields.native, nullptr);
        if (fields.contents) fields.contents->releaseControls();
        delete native;
    }
};

BOOL CALLBACK collectWindow(HWND handle, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(handle);
    return TRUE;
}

}  // namespace

NativeWindow* nativeWindowOf(ObjectHandle window) { return window ? windowFields(window).native : nullptr; }

NativeWindow* menuBarWindow() { return gMenuBarWindow; }
void setMenuBarWindow(NativeWindow* window) { gMenuBarWindow = window; }

std::vector<ObjectRef> windowControls(ObjectHandle window) {
    std::vector<ObjectRef> controls;
    if (!window || !windowFields(window).contents) return controls;
    for (const auto& entry : windowFields(window).contents->registry.entries()) {
        // Timers, serial ports and sockets sit in the registry too, but have
        // no control fields.
        if (entry.value && inheritsFrom(entry.value->classRecord, builtinClass("Control"))) {
            controls.push_back(ObjectRef::borrow(entry.value));
        }
    }
    return controls;
}

bool windowRefusesToClose(ObjectHandle window) {
    if (!nativeWindowOf(window)) return false;
    return deliverWindowEvent(window, "CancelClose");
}

void closeWindowNow(ObjectHandle window) {
    NativeWindow* native = nativeWindowOf(window);
    if (!native || native->closed()) return;
    const Unwindable<ObjectRef> keep(ObjectRef::borrow(window));
    const Unwindable<std::vector<ObjectRef>> controls(windowControls(window));
    {
        // Whatever a Close handler does, the native window goes.
        UnwindAction teardown(NativeTeardown{window});
        ClassRecord* controlClass = builtinClass("Control");
        for (const ObjectRef& control : *controls) {
            // The registry also holds timers, serial ports and sockets: only
            // controls have a pane.
            const bool isControl = inheritsFrom(control.classRecord(), controlClass);
            Pane* pane = isControl ? controlFields(control.get()).pane : nullptr;
            if (pane && pane->handle() && GetFocus() == pane->handle()) SetFocus(nullptr);
            deliverNamedEvent(control.get(), "Control", "Close");
        }
        deliverWindowEvent(window, "Close");
        native->markClosed();
    }
}

void showWindow(ObjectHandle window) {
    if (!window) return;
    windowFields(window).visible = 1;
    if (NativeWindow* native = nativeWindowOf(window)) {
        native->setShouldBeShown(true);
        HWND handle = native->handle();
        callSystem([&] { return ShowWindow(handle, SW_SHOW); });
    }
}

void hideWindow(ObjectHandle window) {
    if (!window) return;
    windowFields(window).visible = 0;
    NativeWindow* native = nativeWindowOf(window);
    if (native && native->shouldBeShown()) {
        native->setShouldBeShown(false);
        HWND handle = native->handle();
        callSystem([&] { return ShowWindow(handle, SW_HIDE); });
    }
}

void showModal(ObjectHandle window) {
    if (!window) return;
    const Unwindable<ObjectRef> keep(ObjectRef::borrow(window));
    showWindow(window);
    // The window is modal while its loop runs; the modal state is restored
    // however the nested loop is left.
    NativeWindow* native = nativeWindowOf(window);
    const bool wasModal = native && native->onModalList();
    if (native) native->setOnModalList(true);
    UnwindAction restore([window, wasModal] {
        if (NativeWindow* n = nativeWindowOf(window)) n->setOnModalList(wasModal);
    });
    for (;;) {
        NativeWindow* native = nativeWindowOf(window);
        if (!native || !native->shouldBeShown() || quitRequested()) break;
        runLoopPass();
    }
}

std::vector<NativeWindow*> runtimeViewWindows() {
    std::vector<HWND> handles;
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&handles));
    // In frame mode the windows are the frame's children.
    if (HWND frame = frameWindow()) EnumChildWindows(frame, collectWindow, reinterpret_cast<LPARAM>(&handles));
    std::vector<NativeWindow*> windows;
    for (HWND h : handles) {
        NativeWindow* w = NativeWindow::fromHandle(h);
        if (w && w->isRuntimeView() && !w->closed()) windows.push_back(w);
    }
    return windows;
}

NativeWindow* frontWindow() {
    if (inFrameMode()) return activeFrameChild();
    if (NativeWindow* active = NativeWindow::fromHandle(GetActiveWindow()); active && !active->closed()) return active;
    if (gMenuBarWindow) return gMenuBarWindow;
    const std::vector<NativeWindow*> windows = runtimeViewWindows();
    return windows.empty() ? nullptr : windows.front();
}

HWND dialogOwnerWindow() {
    NativeWindow* owner = NativeWindow::frontModal();
    if (!owner && inFrameMode()) return frameWindow();
    if (!owner) owner = frontWindow();
    return owner ? owner->handle() : nullptr;
}

Pane* focusedPane() {
    NativeWindow* window = NativeWindow::fromHandle(GetActiveWindow());
    if (!window) window = frontWindow();
    return window ? window->focusedPane() : nullptr;
}

}  // namespace runtime
