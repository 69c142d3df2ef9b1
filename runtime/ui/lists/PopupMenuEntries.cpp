#include "ui/lists/PopupMenuEntries.h"

#include <memory>
#include <type_traits>
#include <string_view>
#include <utility>

#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/ObjectRef.h"
#include "text/StringValue.h"
#include "text/arrays/RaiseErrors.h"
#include "ui/ControlFields.h"
#include "ui/controls/FontFamilies.h"
#include "ui/controls/FontFamily.h"
#include "ui/lists/PopupMenuPane.h"

using namespace runtime;

namespace {

// The pane of a live pop-up whose `row` is one of its rows; null when the
// pop-up is not live. Raises before the routine holds anything.
PopupMenuPane* paneWithRow(ObjectHandle popup, int32_t row) {
    PopupMenuPane* pane = popupMenuPaneOf(popup);
    if (pane) arrays::requireAccepted(pane->valid(row));
    return pane;
}

void storeString(StringHandle& field, StringHandle value) {
    StringValue kept = StringValue::borrow(value);  // the new reference before the old one goes
    StringValue::adopt(std::exchange(field, kept.release()));
}

void finalisePopupMenu(ObjectHandle o, ClassRecord*) {
    PopupMenuFields& f = popupMenuFields(o);
    StringValue::adopt(std::exchange(f.initialValue, nullptr));
    StringValue::adopt(std::exchange(controlFont(o).textFont, nullptr));
}

// The rows given at design time: one per CR; a last part without CR counts
// when it is not empty.
void addInitialRows(PopupMenuPane& pane, std::string_view text) {
    while (!text.empty()) {
        const size_t cr = text.find('\r');
        pane.addRow(StringValue::fromBytes(text.substr(0, cr)));
        text = cr == std::string_view::npos ? std::string_view() : text.substr(cr + 1);
    }
}

void createPopupMenuPane(ObjectHandle popup) {
    ControlFields& f = controlFields(popup);
    if (f.pane || !f.parent) return;
    auto pane = std::make_unique<PopupMenuPane>(popup, f.parent);
    if (!pane->handle()) return;
    PopupMenuPane* live = pane.release();
    f.pane = live;
    addInitialRows(*live, viewOf(popupMenuFields(popup).initialValue));
}

StringHandle initialValueGetter(ObjectHandle o) { return o ? StringValue::borrow(popupMenuFields(o).initialValue).release() : nullptr; }
void initialValueSetter(ObjectHandle o, StringHandle v) {
    if (o) storeString(popupMenuFields(o).initialValue, v);
}

template <typename Routine>
CodeAddress routineAddress(Routine routine) {
    if constexpr (std::is_null_pointer_v<Routine>) return nullptr;
    else return reinterpret_cast<CodeAddress>(routine);
}

void add(ClassRecord* cls, const char* name, PropertyType type, auto getter, auto setter) {
    prependProperty(cls, name, type, routineAddress(getter), routineAddress(setter));
}

}  // namespace

void runtime::definePopupMenuClass() {
    ClassRecord* cls = builtinClass("PopupMenu");
    if (!cls || cls->finaliser) return;  // once
    cls->finaliser = finalisePopupMenu;
    prependEventHandler(cls, "CreatePane", reinterpret_cast<CodeAddress>(&createPopupMenuPane), 0);
    using T = PropertyType;
    add(cls, "ListCount", T::kInteger, RuntimePopupCountGetter, nullptr);
    add(cls, "ListIndex", T::kInteger, RuntimePopupSelectionGetter, RuntimePopupSelectionSetter);
    add(cls, "Text", T::kString, popupTextGetter, nullptr);
    add(cls, "InitialValue", T::kString, initialValueGetter, initialValueSetter);
    add(cls, "TextFont", T::kString, popupTextFontGetter, popupTextFontSetter);
    add(cls, "TextSize", T::kInteger, popupTextSizeGetter, popupTextSizeSetter);
    add(cls, "Bold", T::kBoolean, popupBoldGetter, popupBoldSetter);
    add(cls, "Italic", T::kBoolean, popupItalicGetter, popupItalicSetter);
    add(cls, "Underline", T::kBoolean, popupUnderlineGetter, popupUnderlineSetter);
}

int32_t RuntimePopupCountGetter(ObjectHandle popup) {
    PopupMenuPane* pane = popupMenuPaneOf(popup);
    return pane ? pane->count() : 0;
}

int32_t RuntimePopupSelectionGetter(ObjectHandle popup) {
    PopupMenuPane* pane = popupMenuPaneOf(popup);
    return pane ? pane->selection() : -1;
}

void RuntimePopupSelectionSetter(ObjectHandle popup, int32_t row) {
    if (PopupMenuPane* pane = popupMenuPaneOf(popup)) pane->select(row);
}

StringHandle popupTextGetter(ObjectHandle popup) {
    PopupMenuPane* pane = popupMenuPaneOf(popup);
    return pane ? pane->rowText(pane->selection()).release() : nullptr;
}

StringHandle RuntimePopupGetString(ObjectHandle popup) { return popupTextGetter(popup); }

void RuntimePopupAddRow(ObjectHandle popup, StringHandle text) {
    if (PopupMenuPane* pane = popupMenuPaneOf(popup)) pane->addRow(StringValue::borrow(text));
}

void RuntimePopupAddSeparator(ObjectHandle popup) {
    if (PopupMenuPane* pane = popupMenuPaneOf(popup)) pane->addRow(StringValue::fromCString("-"));
}

void RuntimePopupInsertRow(ObjectHandle popup, int32_t row, StringHandle text) {
    if (PopupMenuPane* pane = popupMenuPaneOf(popup)) pane->insertRow(row, StringValue::borrow(text));
}

void RuntimePopupRemoveRow(ObjectHandle popup, int32_t row) {
    if (PopupMenuPane* pane = paneWithRow(popup, row)) pane->removeRow(row);
}

void RuntimePopupEmpty(ObjectHandle popup) {
    if (PopupMenuPane* pane = popupMenuPaneOf(popup)) pane->removeAll();
}

StringHandle RuntimePopupGetRow(ObjectHandle popup, int32_t row) {
    PopupMenuPane* pane = paneWithRow(popup, row);
    return pane ? pane->rowText(row).release() : nullptr;
}

void RuntimePopupSetRow(StringHandle text, ObjectHandle popup, int32_t row) {
    if (PopupMenuPane* pane = paneWithRow(popup, row)) pane->setRowText(row, StringValue::borrow(text));
}

ObjectHandle RuntimePopupGetRowTag(ObjectHandle popup, int32_t row) {
    PopupMenuPane* pane = paneWithRow(popup, row);
    return pane ? ObjectRef::borrow(pane->rowTag(row)).release() : nullptr;
}

void RuntimePopupSetRowTag(ObjectHandle tag, ObjectHandle popup, int32_t row) {
    if (PopupMenuPane* pane = paneWithRow(popup, row)) pane->setRowTag(row, tag);
}

ObjectHandle getPopupRowTag(ObjectHandle popup, int32_t row) { return RuntimePopupGetRowTag(popup, row); }

void setPopupRowTag(ObjectHandle popup, int32_t row, ObjectHandle tag) { RuntimePopupSetRowTag(tag, popup, row); }

// The font family: stored with the control, applied to a live combo box.
using namespace runtime::controls::fontFamily;
StringHandle popupTextFontGetter(ObjectHandle popup) { return textFont(popup); }
void popupTextFontSetter(ObjectHandle popup, StringHandle font) { setTextFont(popup, font); }
int32_t popupTextSizeGetter(ObjectHandle popup) { return textSize(popup); }
void popupTextSizeSetter(ObjectHandle popup, int32_t size) { setTextSize(popup, size); }
bool popupBoldGetter(ObjectHandle popup) { return attribute(popup, Attribute::kBold); }
void popupBoldSetter(ObjectHandle popup, bool value) { setAttribute(popup, Attribute::kBold, value); }
bool popupItalicGetter(ObjectHandle popup) { return attribute(popup, Attribute::kItalic); }
void popupItalicSetter(ObjectHandle popup, bool value) { setAttribute(popup, Attribute::kItalic, value); }
bool popupUnderlineGetter(ObjectHandle popup) { return attribute(popup, Attribute::kUnderline); }
void popupUnderlineSetter(ObjectHandle popup, bool value) { setAttribute(popup, Attribute::kUnderline, value); }
