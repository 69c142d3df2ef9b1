// Reading and setting the main window's controls by name.
#include "Window1State.h"

namespace app {

String fieldText(ObjectHandle window, StringHandle name) {
    const Object field = control(window, name);
    return String::adopt(editTextGetter(field.get()));
}

void setFieldText(ObjectHandle window, StringHandle name, StringHandle text) {
    const Object field = control(window, name);
    if (field) editTextSetter(field.get(), text);
}

bool isChecked(ObjectHandle window, StringHandle name) {
    const Object box = control(window, name);
    return box && checkBoxValueGetter(box.get());
}

void setChecked(ObjectHandle window, StringHandle name, bool checked) {
    const Object box = control(window, name);
    if (box) checkBoxValueSetter(box.get(), checked);
}

void setCaption(ObjectHandle window, StringHandle name, StringHandle caption) {
    const Object text = control(window, name);
    if (text) staticCaptionSetter(text.get(), caption);
}

void setEnabled(ObjectHandle window, StringHandle name, bool enabled) {
    const Object c = control(window, name);
    if (c) controlEnabledSetter(c.get(), enabled);
}

void setButtonEnabled(ObjectHandle window, int32_t index, bool enabled) {
    using namespace literals;
    const Object button = controlAt(window, "PushButton"_s, index);
    if (button) controlEnabledSetter(button.get(), enabled);
}

String numberText(int32_t value) { return String::adopt(StringStr(static_cast<double>(value))); }

applogic::Bytes bytesOf(const String& text) {
    const StringHandle value = text.get();
    if (!value || value->length <= 0) return applogic::Bytes();
    return applogic::Bytes(value->text + 1, value->length);
}

String stringOf(applogic::Bytes bytes) {
    if (bytes.empty()) return String();
    return String::adopt(VELMBuildString(bytes.data, bytes.size));
}

}  // namespace app
