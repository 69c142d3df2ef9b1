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

// The Value property record takes a Boolean.
void booleanValueSetter(ObjectHandle c, bool value) { checkBoxValueSetter(c, value ? 1 : 0); }
bool booleanValueGetter(ObjectHandle c) { return checkBoxValueGetter(c) == BST_CHECKED; }

}  // namespace

void defineCheckBox() {
    ClassRecord* cls = builtinClass("CheckBox");
    setCreatePaneHandler(cls, createPane);
    addProperty(cls, "Caption", PropertyType::kString, checkBoxTitleGetter, checkBoxTitleSetter);
    addProperty(cls, "Value", PropertyType::kBoolean, booleanValueGetter, booleanValueSetter);
    addProperty(cls, "State", PropertyType::kInteger, checkBoxValueGetter, checkBoxValueSetter);
}

}  // namespace runtime::controls

using namespace runtime;
using namespace runtime::controls;

StringHandle checkBoxTitleGetter(ObjectHandle c) { return c ? copyString(fields(c).caption) : nullptr; }

void checkBoxTitleSetter(ObjectHandle c, StringHandle caption) {
    if (c) setCaption(c, fields(c).caption, caption);
}

int32_t checkBoxValueGetter(ObjectHandle c) { return c ? fields(c).value : 0; }

void checkBoxValueSetter(ObjectHandle c, int32_t value) {
    if (!c) return;
    // True arrives as any non-zero word from a Boolean; 2 is the mixed state.
    const int32_t state = value == 2 ? BST_INDETERMINATE : (value != 0 ? BST_CHECKED : BST_UNCHECKED);
    fields(c).value = state;
    if (auto* pane = paneOf<CheckBoxPane>(c)) pane->changeState(state);
}
