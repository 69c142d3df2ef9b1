#include "ui/controls/FontFamilies.h"
#include "ui/controls/FontFamily.h"

#include "ui/controls/ControlKind.h"

namespace runtime::controls::fontFamily {
namespace {

uint8_t& attributeField(ObjectHandle c, Attribute which) {
    ControlFont& font = controlFont(c);
    switch (which) {
        case Attribute::kBold: return font.bold;
        case Attribute::kItalic: return font.italic;
        case Attribute::kUnderline: break;
    }
    return font.underline;
}

}  // namespace

void apply(ObjectHandle c) {
    if (Pane* pane = c ? controlFields(c).pane : nullptr) pane->setFont(fontRequestOf(c));
}

StringHandle textFont(ObjectHandle c) { return c ? copyString(controlFont(c).textFont) : nullptr; }

void setTextFont(ObjectHandle c, StringHandle name) {
    if (!c) return;
    storeString(controlFont(c).textFont, name);
    apply(c);
}

int32_t textSize(ObjectHandle c) { return c ? controlFont(c).textSize : 0; }

void setTextSize(ObjectHandle c, int32_t size) {
    if (!c) return;
    controlFont(c).textSize = size;
    apply(c);
}

bool attribute(ObjectHandle c, Attribute which) { return c && attributeField(c, which) != 0; }

void setAttribute(ObjectHandle c, Attribute which, bool value) {
    if (!c) return;
    attributeField(c, which) = value;
    apply(c);
}

}  // namespace runtime::controls::fontFamily

using namespace runtime::controls::fontFamily;

#define SUTAKIBA_FONT_FAMILY_ROUTINES(prefix)                                                               \
    StringHandle prefix##TextFontGetter(ObjectHandle c) { return textFont(c); }                             \
    void prefix##TextFontSetter(ObjectHandle c, StringHandle name) { setTextFont(c, name); }                \
    int32_t prefix##TextSizeGetter(ObjectHandle c) { return textSize(c); }                                  \
    void prefix##TextSizeSetter(ObjectHandle c, int32_t size) { setTextSize(c, size); }                     \
    bool prefix##BoldGetter(ObjectHandle c) { return attribute(c, Attribute::kBold); }                      \
    void prefix##BoldSetter(ObjectHandle c, bool v) { setAttribute(c, Attribute::kBold, v); }               \
    bool prefix##ItalicGetter(ObjectHandle c) { return attribute(c, Attribute::kItalic); }                  \
    void prefix##ItalicSetter(ObjectHandle c, bool v) { setAttribute(c, Attribute::kItalic, v); }           \
    bool prefix##UnderlineGetter(ObjectHandle c) { return attribute(c, Attribute::kUnderline); }            \
    void prefix##UnderlineSetter(ObjectHandle c, bool v) { setAttribute(c, Attribute::kUnderline, v); }

SUTAKIBA_FONT_FAMILY_ROUTINES(pushButton)
SUTAKIBA_FONT_FAMILY_ROUTINES(checkBox)
SUTAKIBA_FONT_FAMILY_ROUTINES(radio)
SUTAKIBA_FONT_FAMILY_ROUTINES(group)

namespace runtime::controls {

#define SUTAKIBA_FAMILY_PROPERTIES(cls, prefix)                                                           \
    addProperty(cls, "TextFont", PropertyType::kString, prefix##TextFontGetter, prefix##TextFontSetter);   \
    addProperty(cls, "TextSize", PropertyType::kInteger, prefix##TextSizeGetter, prefix##TextSizeSetter);  \
    addProperty(cls, "Bold", PropertyType::kBoolean, prefix##BoldGetter, prefix##BoldSetter);              \
    addProperty(cls, "Italic", PropertyType::kBoolean, prefix##ItalicGetter, prefix##ItalicSetter);        \
    addProperty(cls, "Underline", PropertyType::kBoolean, prefix##UnderlineGetter, prefix##UnderlineSetter);

void defineFontFamilies() {
    SUTAKIBA_FAMILY_PROPERTIES(builtinClass("PushButton"), pushButton)
    SUTAKIBA_FAMILY_PROPERTIES(builtinClass("CheckBox"), checkBox)
    SUTAKIBA_FAMILY_PROPERTIES(builtinClass("RadioButton"), radio)
    SUTAKIBA_FAMILY_PROPERTIES(builtinClass("GroupBox"), group)
    // The tab panel reads its style with the same routines and applies it the same way.
    SUTAKIBA_FAMILY_PROPERTIES(builtinClass("TabPanel"), group)
}

}  // namespace runtime::controls
