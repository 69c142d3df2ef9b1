#include "ui/controls/CheckBoxPane.h"

#include <algorithm>
#include <vector>

#include "objects/UnwindScope.h"
#include "ui/NativeWindow.h"
#include "ui/controls/ControlKind.h"

namespace runtime::controls {
namespace {

// The objects told of every change of the check state, newest first. The
// check box holds a reference on each; the list lives with the object, so
// receivers may be added before the window opens.
using Receivers = std::vector<ObjectRef>;

struct CheckBoxFields {
    StringHandle caption;
    int32_t value;  // 0 unchecked, 1 checked, 2 mixed (read back from the control)
    Receivers* receivers;  // null until the first receiver is added
};

CheckBoxFields& fields(ObjectHandle c) { return kindFields<CheckBoxFields>(c); }

// Calls the receivers' method `name` (receiver, check box) in list order. A
// copy of the list: a receiver may add or remove receivers.
void tellReceivers(ObjectHandle c, std::string_view name) {
    const Receivers* receivers = fields(c).receivers;
    if (!receivers || receivers->empty()) return;
    const Unwindable<Receivers> copy(*receivers);
    for (const ObjectRef& receiver : *copy) {
        if (CodeAddress code = findMethod(receiver.get(), name)) {
            using Told = void (*)(ObjectHandle, ObjectHandle);
            reinterpret_cast<Told>(code)(receiver.get(), c);
        }
    }
}

// The change notification: the receivers are told that the value changes
// ("dataChanging"), Action runs, then the receivers are told of the new
// value ("dataChanged"); none of it again for this check box while it runs.
void notifyChange(Pane& pane) {
    ObjectHandle c = pane.control();
    pane.guarded(GuardedEvent::kAction, [c] {
        tellReceivers(c, "dataChanging");
        raise(c, "CheckBox", "Action");
        tellReceivers(c, "dataChanged");
    });
}

class CheckBoxPane final : public Pane {
public:
    CheckBoxPane(ObjectHandle control, NativeWindow* window) : Pane(control, window) {
        if (!createChild(L"BUTTON", BS_CHECKBOX | BS_NOTIFY, systemText(fields(control).caption))) return;
        subclass();
        setFont(fontRequestOf(control));
        SendMessageW(handle(), BM_SETCHECK, static_cast<WPARAM>(fields(control).value), 0);
    }

    // Any change of the state: the control first, then Value read back from
    // it, then the change notification.
    void changeState(int32_t state) {
        HWND h = handle();
        callSystem([&] { return SendMessageW(h, BM_SETCHECK, static_cast<WPARAM>(state), 0); });
        fields(control()).value = static_cast<int32_t>(SendMessageW(h, BM_GETCHECK, 0, 0));
        notifyChange(*this);
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

void finaliseCheckBox(ObjectHandle c, ClassRecord*) {
    CheckBoxFields& f = fields(c);
    StringValue::adopt(std::exchange(f.caption, nullptr));
    StringValue::adopt(std::exchange(controlFont(c).textFont, nullptr));
    delete std::exchange(f.receivers, nullptr);
}

}  // namespace

void defineCheckBox() {
    ClassRecord* cls = builtinClass("CheckBox");
    cls->finaliser = finaliseCheckBox;
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

void checkBoxAddDataNotificationReceiver(ObjectHandle c, ObjectHandle receiver) {
    if (!c || !receiver) return;
    Receivers*& receivers = fields(c).receivers;
    if (!receivers) receivers = new Receivers;
    receivers->insert(receivers->begin(), ObjectRef::borrow(receiver));
}

void checkBoxRemoveDataNotificationReceiver(ObjectHandle c, ObjectHandle receiver) {
    Receivers* receivers = c ? fields(c).receivers : nullptr;
    if (!receivers) return;
    auto at = std::find_if(receivers->begin(), receivers->end(), [receiver](const ObjectRef& r) { return r.get() == receiver; });
    if (at != receivers->end()) receivers->erase(at);
}
