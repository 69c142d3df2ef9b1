#include "ui/controls/PushButtonPane.h"

#include "ui/NativeWindow.h"
#include "ui/controls/ControlKind.h"

namespace runtime::controls {
namespace {

struct PushButtonFields {
    StringHandle caption;
    uint8_t isDefault;
    uint8_t isCancel;
};

PushButtonFields& fields(ObjectHandle c) { return kindFields<PushButtonFields>(c); }

bool isSystemButton(HWND handle) {
    wchar_t name[16] = {};
    GetClassNameW(handle, name, 16);
    return lstrcmpiW(name, L"Button") == 0;
}

// The default button is the focused push button when the focus is on one,
// else the button marked Default; exactly that one carries BS_DEFPUSHBUTTON.
void updateDefaultButton(NativeWindow* window, HWND focus) {
    if (!window) return;
    Pane* chosen = nullptr;
    for (Pane* p : window->panes()) {
        if (p->isPushButton() && p->handle() && p->handle() == focus) chosen = p;
    }
    if (!chosen) {
        for (Pane* p : window->panes()) {
            if (p->isPushButton() && p->isDefaultButton()) {
                chosen = p;
                break;
            }
        }
    }
    for (Pane* p : window->panes()) {
        if (!p->isPushButton() || !p->handle() || !isSystemButton(p->handle())) continue;
        const LONG kind = GetWindowLongW(p->handle(), GWL_STYLE) & BS_TYPEMASK;
        const LONG wanted = p == chosen ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if (kind != wanted) SendMessageW(p->handle(), BM_SETSTYLE, static_cast<WPARAM>(wanted), TRUE);
    }
}

class PushButtonPane final : public Pane {
public:
    PushButtonPane(ObjectHandle control, NativeWindow* window) : Pane(control, window) {
        if (!createChild(L"BUTTON", BS_PUSHBUTTON, systemText(fields(control).caption))) return;
        subclass();
        setFont(fontRequestOf(control));
        // A new button is made plain and without the focus: the drawing of
        // the others changes only when it is the one marked Default. (Walking
        // every button for every new one made large windows slow to build.)
        if (isDefaultButton()) updateDefaultButton(window, GetFocus());
    }

    bool isPushButton() const override { return true; }
    bool isDefaultButton() const override { return fields(control()).isDefault != 0; }
    bool isCancelButton() const override { return fields(control()).isCancel != 0; }

    void push() override {
        if (!enabledFlag() || !handle() || !IsWindowEnabled(handle())) return;
        ObjectHandle c = control();
        guarded(GuardedEvent::kAction, [c] { raise(c, "PushButton", "Action"); });
    }

    void commandNotification(int32_t code) override {
        if (code == BN_CLICKED) push();
    }

    LRESULT messageHook(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SETFOCUS) {
            window()->setFocusedPane(this);
            updateDefaultButton(window(), handle());
        } else if (message == WM_KILLFOCUS) {
            updateDefaultButton(window(), reinterpret_cast<HWND>(wParam));
        }
        return callPreviousProcedure(message, wParam, lParam);
    }

};

void createPane(ObjectHandle c) { createPaneOf<PushButtonPane>(c); }

}  // namespace

void definePushButton() {
    ClassRecord* cls = builtinClass("PushButton");
    cls->finaliser = finaliseTextControl<PushButtonFields, &PushButtonFields::caption>;
    setCreatePaneHandler(cls, createPane);
    addProperty(cls, "Caption", PropertyType::kString, pushButtonTitleGetter, pushButtonTitleSetter);
    addProperty(cls, "Default", PropertyType::kBoolean, pushButtonDefaultGetter, pushButtonDefaultSetter);
    addProperty(cls, "Cancel", PropertyType::kBoolean, pushButtonCancelGetter, pushButtonCancelSetter);
}

}  // namespace runtime::controls

using namespace runtime;
using namespace runtime::controls;

StringHandle pushButtonTitleGetter(ObjectHandle c) { return c ? copyString(fields(c).caption) : nullptr; }

void pushButtonTitleSetter(ObjectHandle c, StringHandle caption) {
    if (c) setCaption(c, fields(c).caption, caption);
}

bool pushButtonDefaultGetter(ObjectHandle c) { return c && fields(c).isDefault; }

void pushButtonDefaultSetter(ObjectHandle c, bool value) {
    if (!c) return;
    fields(c).isDefault = value;
    if (Pane* pane = controlFields(c).pane) updateDefaultButton(pane->window(), GetFocus());
}

bool pushButtonCancelGetter(ObjectHandle c) { return c && fields(c).isCancel; }
void pushButtonCancelSetter(ObjectHandle c, bool value) {
    if (c) fields(c).isCancel = value;
}

void pushButtonPush(ObjectHandle c) {
    if (Pane* pane = c ? controlFields(c).pane : nullptr) pane->push();
}
