#include "ui/controls/EditFieldEntries.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "text/StringValue.h"
#include "text/SystemText.h"
#include "ui/ControlFields.h"
#include "ui/controls/ControlKind.h"
#include "ui/controls/EditFieldFields.h"
#include "ui/controls/EditFieldPane.h"

using namespace runtime;

namespace {

COLORREF systemColour(int32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }
int32_t runtimeColour(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

StringHandle newString(const std::wstring& text) { return StringValue::fromBytes(fromSystemText(text)).release(); }

// The field's pane when it has one and the control exists.
EditFieldPane* livePane(ObjectHandle field) {
    EditFieldPane* pane = editPaneOf(field);
    return pane && pane->handle() ? pane : nullptr;
}

// A stored Boolean, and a setter that only stores (creation-only settings).
template <uint8_t EditFieldFields::*Field>
bool storedFlag(ObjectHandle field) {
    return field && editFields(field).*Field;
}
template <uint8_t EditFieldFields::*Field>
void storeFlag(ObjectHandle field, bool value) {
    if (field) editFields(field).*Field = value;
}

void setFontPart(ObjectHandle field, auto&& store) {
    if (!field) return;
    store(controlFont(field));
    if (EditFieldPane* pane = livePane(field)) pane->applyFont();
}

// Character styles of a rich field's selection.
bool selectionHas(ObjectHandle field, uint32_t bit) {
    EditFieldPane* pane = livePane(field);
    return pane && hasStyle(pane->selectionFormat(), bit);
}
void setSelectionStyle(ObjectHandle field, uint32_t bit, bool value) {
    if (EditFieldPane* pane = livePane(field)) pane->setSelectionFormat(bit, value ? bit : 0);
}

void unsupportedStyle(const char* style, const char* capitalised) {
    const std::string text = std::string("Windows does not support the '") + style + "' styled text.  '" + capitalised +
                             "' text is a Mac Only feature of Velmira.";
    systemMessageBox(nullptr, text, "", MB_OK);
}

// The CreatePane handler of EditField: the pane builds the system control
// from the stored values.
RUNTIME_CALL void createEditFieldPane(ObjectHandle field) { controls::createPaneOf<EditFieldPane>(field); }

void initialiseEditField(ObjectHandle field, ClassRecord*) { editFields(field).backColor = 0xFFFFFF; }

void finaliseEditField(ObjectHandle field, ClassRecord*) {
    StringValue::adopt(std::exchange(editFields(field).text, nullptr));
    StringValue::adopt(std::exchange(controlFont(field).textFont, nullptr));
}

bool styledGetter(ObjectHandle field) { return storedFlag<&EditFieldFields::styled>(field); }
void styledSetter(ObjectHandle field, bool v) { storeFlag<&EditFieldFields::styled>(field, v); }
bool acceptTabsGetter(ObjectHandle field) { return storedFlag<&EditFieldFields::acceptTabs>(field); }
void acceptTabsSetter(ObjectHandle field, bool v) {
    storeFlag<&EditFieldFields::acceptTabs>(field, v);
    if (EditFieldPane* pane = livePane(field)) pane->setAcceptTabs(v);
}
bool liveUpdateGetter(ObjectHandle field) { return storedFlag<&EditFieldFields::liveUpdate>(field); }
void liveUpdateSetter(ObjectHandle field, bool v) { storeFlag<&EditFieldFields::liveUpdate>(field, v); }
bool focusRingGetter(ObjectHandle field) { return storedFlag<&EditFieldFields::useFocusRing>(field); }
void focusRingSetter(ObjectHandle field, bool v) { storeFlag<&EditFieldFields::useFocusRing>(field, v); }
int32_t textColorGetter(ObjectHandle field) { return field ? editFields(field).textColor : 0; }
int32_t backColorGetter(ObjectHandle field) { return field ? editFields(field).backColor : 0; }

void add(ClassRecord* cls, const char* name, PropertyType type, auto getter, auto setter) {
    prependProperty(cls, name, type, reinterpret_cast<CodeAddress>(getter), reinterpret_cast<CodeAddress>(setter));
}

}  // namespace

void runtime::defineEditFieldClass() {
    ClassRecord* cls = builtinClass("EditField");
    if (!cls || cls->properties) return;
    cls->initialiser = initialiseEditField;
    cls->finaliser = finaliseEditField;
    controls::setCreatePaneHandler(cls, createEditFieldPane);
    for (const auto& [name, routine] : {std::pair{"ToggleSelectionBold", &editToggleSelectionBold},
                                        std::pair{"ToggleSelectionItalic", &editToggleSelectionItalic},
                                        std::pair{"ToggleSelectionUnderline", &editToggleSelectionUnderline},
                                        std::pair{"ToggleSelectionOutline", &editToggleSelectionOutline},
                                        std::pair{"ToggleSelectionShadow", &editToggleSelectionShadow},
                                        std::pair{"ToggleSelectionCondense", &editToggleSelectionCondense},
                                        std::pair{"ToggleSelectionExtend", &editToggleSelectionExtend}}) {
        appendMethod(cls, name, reinterpret_cast<CodeAddress>(routine));
    }
    appendMethod(cls, "SetTextAndStyle", reinterpret_cast<CodeAddress>(&editSetTextAndStyle));
    using T = PropertyType;
    add(cls, "Text", T::kString, editTextGetter, editTextSetter);
    prependProperty(cls, "TextStyleData", T::kString, reinterpret_cast<CodeAddress>(editTextStyleDataGetter), nullptr);
    add(cls, "Border", T::kBoolean, editBorderGetter, editBorderSetter);
    add(cls, "MultiLine", T::kBoolean, editMultiLineGetter, editMultiLineSetter);
    add(cls, "ScrollBar", T::kBoolean, editScrollBarGetter, editScrollBarSetter);
    add(cls, "ReadOnly", T::kBoolean, editReadOnlyGetter, editReadOnlySetter);
    add(cls, "Password", T::kBoolean, editPasswordGetter, editPasswordSetter);
    add(cls, "Styled", T::kBoolean, styledGetter, styledSetter);
    add(cls, "AcceptTabs", T::kBoolean, acceptTabsGetter, acceptTabsSetter);
    add(cls, "TextColor", T::kColor, textColorGetter, editTextColorSetter);
    add(cls, "BackColor", T::kColor, backColorGetter, editBackColorSetter);
    add(cls, "TextFont", T::kString, editTextFontGetter, editTextFontSetter);
    add(cls, "TextSize", T::kInteger, editTextSizeGetter, editTextSizeSetter);
    add(cls, "Bold", T::kBoolean, editBoldGetter, editBoldSetter);
    add(cls, "Italic", T::kBoolean, editItalicGetter, editItalicSetter);
    add(cls, "Underline", T::kBoolean, editUnderlineGetter, editUnderlineSetter);
    add(cls, "LimitText", T::kInteger, editLimitTextGetter, editLimitTextSetter);
    add(cls, "SelStart", T::kInteger, editSelStartGetter, editSelStartSetter);
    add(cls, "SelLength", T::kInteger, editSelLengthGetter, editSelLengthSetter);
    add(cls, "SelText", T::kString, editSelTextGetter, editSelTextSetter);
    add(cls, "LiveUpdate", T::kBoolean, liveUpdateGetter, liveUpdateSetter);
    add(cls, "UseFocusRing", T::kBoolean, focusRingGetter, focusRingSetter);
}

// Text -------------------------------------------------------------------------------

StringHandle editTextGetter(ObjectHandle field) {
    if (!field) return nullptr;
    if (EditFieldPane* pane = livePane(field)) return newString(pane->text());
    return StringValue::borrow(editFields(field).text).release();
}

void editTextSetter(ObjectHandle field, StringHandle text) {
    if (!field) return;
    controls::storeString(editFields(field).text, text);
    if (EditFieldPane* pane = livePane(field)) {
        pane->setText(toSystemText(viewOf(text)));
        pane->raiseTextChange();
    }
}

void editSetString(ObjectHandle field, StringHandle text) { editTextSetter(field, text); }

void editSetTextAndStyle(ObjectHandle field, StringHandle text, StringHandle) { editTextSetter(field, text); }

StringHandle editTextStyleDataGetter(ObjectHandle) { return nullptr; }

// Creation-time and stored settings ------------------------------------------------------

bool editBorderGetter(ObjectHandle field) { return storedFlag<&EditFieldFields::border>(field); }
void editBorderSetter(ObjectHandle field, bool value) { storeFlag<&EditFieldFields::border>(field, value); }
bool editMultiLineGetter(ObjectHandle field) { return storedFlag<&EditFieldFields::multiLine>(field); }
void editMultiLineSetter(ObjectHandle field, bool value) { storeFlag<&EditFieldFields::multiLine>(field, value); }
bool editScrollBarGetter(ObjectHandle field) { return storedFlag<&EditFieldFields::scrollBar>(field); }
void editScrollBarSetter(ObjectHandle field, bool value) { storeFlag<&EditFieldFields::scrollBar>(field, value); }

bool editReadOnlyGetter(ObjectHandle field) { return storedFlag<&EditFieldFields::readOnly>(field); }
void editReadOnlySetter(ObjectHandle field, bool value) {
    storeFlag<&EditFieldFields::readOnly>(field, value);
    if (EditFieldPane* pane = livePane(field)) pane->setReadOnly(value);
}

bool editPasswordGetter(ObjectHandle field) { return storedFlag<&EditFieldFields::password>(field); }
void editPasswordSetter(ObjectHandle field, bool value) {
    storeFlag<&EditFieldFields::password>(field, value);
    if (EditFieldPane* pane = livePane(field)) pane->setPassword(value);
}

int32_t editLimitTextGetter(ObjectHandle field) { return field ? editFields(field).limitText : 0; }
void editLimitTextSetter(ObjectHandle field, int32_t limit) {
    if (!field) return;
    editFields(field).limitText = limit;
    if (EditFieldPane* pane = livePane(field)) pane->setLimit(limit);
}

void editTextColorSetter(ObjectHandle field, int32_t color) {
    if (!field) return;
    editFields(field).textColor = color;
    editFields(field).hasTextColor = 1;
    if (EditFieldPane* pane = livePane(field)) pane->setTextColor(systemColour(color));
}

void editBackColorSetter(ObjectHandle field, int32_t color) {
    if (!field) return;
    editFields(field).backColor = color;
    editFields(field).hasBackColor = 1;
    if (EditFieldPane* pane = livePane(field)) pane->setBackColor(systemColour(color));
}

// The whole field's font ---------------------------------------------------------------

StringHandle editTextFontGetter(ObjectHandle field) {
    return field ? StringValue::borrow(controlFont(field).textFont).release() : nullptr;
}
void editTextFontSetter(ObjectHandle field, StringHandle font) {
    setFontPart(field, [&](ControlFont& f) { controls::storeString(f.textFont, font); });
}
int32_t editTextSizeGetter(ObjectHandle field) { return field ? controlFont(field).textSize : 0; }
void editTextSizeSetter(ObjectHandle field, int32_t size) {
    setFontPart(field, [&](ControlFont& f) { f.textSize = size; });
}
bool editBoldGetter(ObjectHandle field) { return field && controlFont(field).bold; }
void editBoldSetter(ObjectHandle field, bool value) {
    setFontPart(field, [&](ControlFont& f) { f.bold = value; });
}
bool editItalicGetter(ObjectHandle field) { return field && controlFont(field).italic; }
void editItalicSetter(ObjectHandle field, bool value) {
    setFontPart(field, [&](ControlFont& f) { f.italic = value; });
}
bool editUnderlineGetter(ObjectHandle field) { return field && controlFont(field).underline; }
void editUnderlineSetter(ObjectHandle field, bool value) {
    setFontPart(field, [&](ControlFont& f) { f.underline = value; });
}

// Selection -----------------------------------------------------------------------------

int32_t editSelStartGetter(ObjectHandle field) {
    EditFieldPane* pane = livePane(field);
    return pane ? static_cast<int32_t>(pane->selection().start) : 0;
}

// Selects from n to the old end, whichever comes first.
void editSelStartSetter(ObjectHandle field, int32_t start) {
    EditFieldPane* pane = livePane(field);
    if (!pane) return;
    const size_t n = static_cast<size_t>(std::max(start, 0));
    const size_t end = pane->selection().end;
    pane->select(std::min(n, end), std::max(n, end));
    pane->raiseSelChange();
}

int32_t editSelLengthGetter(ObjectHandle field) {
    EditFieldPane* pane = livePane(field);
    if (!pane) return 0;
    const TextRange r = pane->selection();
    return static_cast<int32_t>(r.end - r.start);
}

void editSelLengthSetter(ObjectHandle field, int32_t length) {
    EditFieldPane* pane = livePane(field);
    if (!pane) return;
    const size_t start = pane->selection().start;
    pane->select(start, start + static_cast<size_t>(std::max(length, 0)));
    pane->raiseSelChange();
}

StringHandle editSelTextGetter(ObjectHandle field) {
    EditFieldPane* pane = livePane(field);
    return pane ? newString(pane->selectedText()) : nullptr;
}

void editSelTextSetter(ObjectHandle field, StringHandle text) {
    if (EditFieldPane* pane = livePane(field)) pane->setSelectedText(toSystemText(viewOf(text)));
}

// Character styles of the selection (rich fields) ------------------------------------------

bool editSelBoldGetter(ObjectHandle field) { return selectionHas(field, kBoldBit); }
void editSelBoldSetter(ObjectHandle field, bool value) { setSelectionStyle(field, kBoldBit, value); }
bool editSelItalicGetter(ObjectHandle field) { return selectionHas(field, kItalicBit); }
void editSelItalicSetter(ObjectHandle field, bool value) { setSelectionStyle(field, kItalicBit, value); }
bool editSelUnderlineGetter(ObjectHandle field) { return selectionHas(field, kUnderlineBit); }
void editSelUnderlineSetter(ObjectHandle field, bool value) { setSelectionStyle(field, kUnderlineBit, value); }

bool editSelPlainGetter(ObjectHandle field) {
    EditFieldPane* pane = livePane(field);
    return pane && pane->isRich() && isPlain(pane->selectionFormat());
}
// Plain clears bold, italic and underline; False has nothing to undo.
void editSelPlainSetter(ObjectHandle field, bool value) {
    if (EditFieldPane* pane = livePane(field); pane && value) pane->setSelectionFormat(kPlainBits, 0);
}

StringHandle editSelTextFontGetter(ObjectHandle field) {
    EditFieldPane* pane = livePane(field);
    if (!pane) return nullptr;
    const std::wstring face = pane->selectionFace();
    return face.empty() ? nullptr : newString(face);
}
void editSelTextFontSetter(ObjectHandle field, StringHandle font) {
    if (EditFieldPane* pane = livePane(field)) pane->setSelectionFormat(kFaceBit, 0, 0, 0, toSystemText(viewOf(font)));
}

int32_t editSelTextSizeGetter(ObjectHandle field) {
    EditFieldPane* pane = livePane(field);
    return pane ? sizeOf(pane->selectionFormat()) : 0;
}
void editSelTextSizeSetter(ObjectHandle field, int32_t size) {
    if (EditFieldPane* pane = livePane(field)) pane->setSelectionFormat(kSizeBit, 0, size * kHeightPerSize);
}

int32_t editSelTextColorGetter(ObjectHandle field) {
    EditFieldPane* pane = livePane(field);
    if (!pane) return 0;
    const SelectionFormat f = pane->selectionFormat();
    return (f.mask & kColorBit) ? runtimeColour(f.color) : 0;
}
void editSelTextColorSetter(ObjectHandle field, int32_t color) {
    if (EditFieldPane* pane = livePane(field)) pane->setSelectionFormat(kColorBit, 0, 0, systemColour(color));
}

void editToggleSelectionBold(ObjectHandle field) { editSelBoldSetter(field, !editSelBoldGetter(field)); }
void editToggleSelectionItalic(ObjectHandle field) { editSelItalicSetter(field, !editSelItalicGetter(field)); }
void editToggleSelectionUnderline(ObjectHandle field) {
    editSelUnderlineSetter(field, !editSelUnderlineGetter(field));
}

// Styles the system cannot show ---------------------------------------------------------------

#define UNSUPPORTED_STYLE(Style, style, Capitalised)                                         \
    bool editSel##Style##Getter(ObjectHandle) {                                              \
        unsupportedStyle(style, Capitalised);                                                \
        return false;                                                                        \
    }                                                                                        \
    void editSel##Style##Setter(ObjectHandle, bool) { unsupportedStyle(style, Capitalised); } \
    void editToggleSelection##Style(ObjectHandle) { unsupportedStyle(style, Capitalised); }
UNSUPPORTED_STYLE(Outline, "outline", "Outline")
UNSUPPORTED_STYLE(Shadow, "shadow", "Shadow")
UNSUPPORTED_STYLE(Condense, "condensed", "Condensed")
UNSUPPORTED_STYLE(Extend, "extended", "Extended")
#undef UNSUPPORTED_STYLE
