#include "ui/NativeWindow.h"
#include "ui/controls/CheckBoxPane.h"
#include "ui/controls/ControlKind.h"

namespace runtime::controls {
namespace {

struct RadioFields {
    StringHandle caption;
    uint8_t value;
};

RadioFields& fields(ObjectHandle c) { return kindFields<RadioFields>(c); }

class RadioButtonPane final : public Pane {
public:
    RadioButtonPane(ObjectHandle control, NativeWindow* window) : Pane(control, window) {
        if (!createChild(L"BUTTON", BS_RADIOBUTTON | BS_NOTIFY, systemText(fields(control).caption))) return;
        subclass();
        setFont(fontRequestOf(control));
        SendMessageW(handle(), BM_SETCHECK, fields(control).value ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    // Tab lands on the checked button of a group.
    bool takesFocus() const override { return fields(control()).value != 0; }

    void setChecked(bool checked) {
        HWND h = handle();
        callSystem([&] { return SendMessageW(h, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); });
        if (checked) uncheckGroup();
        ObjectHandle c = control();
        fields(c).value = SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (!fields(c).value) return;
        guarded(GuardedEvent::kAction, [c] { raise(c, "RadioButton", "Action"); });
    }

    void commandNotification(int32_t code) override {
        if (code == BN_CLICKED) setChecked(true);
        else if (code == BN_SETFOCUS) window()->setFocusedPane(this);
    }

private:
    // The group container of a radio button: the innermost pane of the same
    // parent and panel that encloses it, or none.
    static const Pane* groupContainer(const Pane& radio) {
        const Pane* container = nullptr;
        for (const Pane* p : siblingsOnPanel(radio)) {
            if (!p->bounds().contains(radio.bounds())) continue;
            if (!container || (p->bounds().width() < container->bounds().width() &&
                               p->bounds().height() < container->bounds().height())) {
                container = p;
            }
        }
        return container;
    }

    // Buttons of the same group are unchecked: those in the same container,
    // or, outside any container, those that are outside every container too.
    void uncheckGroup() {
        const Pane* container = groupContainer(*this);
        for (Pane* p : siblingsOnPanel(*this)) {
            auto* other = dynamic_cast<RadioButtonPane*>(p);
            if (!other || groupContainer(*other) != container) continue;
            SendMessageW(other->handle(), BM_SETCHECK, BST_UNCHECKED, 0);
            fields(other->control()).value = 0;
        }
    }
};

void createPane(ObjectHandle c) { createPaneOf<RadioButtonPane>(c); }

}  // namespace

void defineRadioButton() {
    ClassRecord* cls = builtinClass("RadioButton");
    cls->finaliser = finaliseTextControl<RadioFields, &RadioFields::caption>;
    setCreatePaneHandler(cls, createPane);
    addProperty(cls, "Caption", PropertyType::kString, radioTitleGetter, radioTitleSetter);
    addProperty(cls, "Value", PropertyType::kBoolean, radioValueGetter, radioValueSetter);
}

}  // namespace runtime::controls

using namespace runtime;
using namespace runtime::controls;

StringHandle radioTitleGetter(ObjectHandle c) { return c ? copyString(fields(c).caption) : nullptr; }

void radioTitleSetter(ObjectHandle c, StringHandle caption) {
    if (c) setCaption(c, fields(c).caption, caption);
}

bool radioValueGetter(ObjectHandle c) { return c && fields(c).value; }

void radioValueSetter(ObjectHandle c, bool value) {
    if (!c) return;
    fields(c).value = value;
    if (auto* pane = paneOf<RadioButtonPane>(c)) pane->setChecked(value);
}
