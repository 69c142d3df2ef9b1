#include "ui/controls/CheckBoxPane.h"

#include "ui/NativeWindow.h"
#include "ui/controls/ControlKind.h"

namespace runtime::controls {
namespace {

struct CheckBoxFields {
    StringHandle caption;
    int32_t value;  // 0 unchecked, 1 checked, 2 mixed (read back from the control)
};

CheckBoxFields& fields(ObjectHandle c) { return kindFields<CheckBoxFields>(c); }

class CheckBoxPane final : public Pane {
public:
    CheckBoxPane(ObjectHandle control, NativeWindow* window) : Pane(control, window) {
        if (!createChild(L"BUTTON", BS_CHECKBOX | BS_NOTIFY, systemText(fields(control).caption))) return;
        subclass();
        setFont(fontRequestOf(control));
        SendMessageW(handle(), BM_SETCHECK, static_cast<WPARAM>(fields(control).value), 0);
    }

    // Any change of the state: the control first, then Value read back from
    // it, then Action unless one is running for this check box.
    void changeState(int32_t state) {
        HWND h = handle();
        callSystem([&] { return SendMessageW(h, BM_SETCHECK, static_cast<WPARAM>(state), 0); });
        ObjectHandle c = control();
        fields(c).value = static_cast<int32_t>(SendMessageW(h, BM_GETCHECK, 0, 0));
        guarded(GuardedEvent::kAction, [c] { raise(c, "CheckBox", "Action"); });
    }

    void commandNotification(int32_t code) override {
        if (code == BN_CLICKED) {
            changeState(SendMessageW(handle(), BM_GETCHECK, 0, 0) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        } else if (code == BN_SETFOCUS) {
            window()->setFocusedPane(this);
        }
    }
};

void createPane(ObjectHandle c) { createPaneOf<CheckBoxPane>(c); }

// State: 0 unchecked, 1 checked, 2 mixed.
int32_t stateGetter(ObjectHandle c) { return c ? fields(c).value : 0; }
void stateSetter(ObjectHandle c, int32_t state) {
    if (!c) return;
    state = state == 2 ? BST_INDETERMINATE : (state != 0 ? BST_CHECKED : BST_UNCHECKED);
    fields(c).value = state;
    if (auto* pane = paneOf<CheckBoxPane>(c)) pane->changeState(state);
}

}  // namespace

void defineCheckBox() {
    ClassRecord* cls = builtinClass("CheckBox");
    setCreatePaneHandler(cls, createPane);
    addProperty(cls, "Caption", PropertyType::kString, checkBoxTitleGetter, checkBoxTitleSetter);
    addProperty(cls, "Value", PropertyType::kBoolean, checkBoxValueGetter, checkBoxValueSetter);
    addProperty(cls, "State", PropertyType::kInteger, stateGetter, stateSetter);
}

}  // namespace runtime::controls

using namespace runtime;
using namespace runtime::controls;

StringHandle checkBoxTitleGetter(ObjectHandle c) { return c ? copyString(fields(c).caption) : nullptr; }

void checkBoxTitleSetter(ObjectHandle c, StringHandle caption) {
    if (c) setCaption(c, fields(c).caption, caption);
}

bool checkBoxValueGetter(ObjectHandle c) { return c && fields(c).value == BST_CHECKED; }

void checkBoxValueSetter(ObjectHandle c, bool value) { stateSetter(c, value ? 1 : 0); }
