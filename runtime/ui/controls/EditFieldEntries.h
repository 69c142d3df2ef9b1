// The EditField routines of the runtime entry table, and the class's
// properties, events' pane and instance set-up.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

namespace runtime {
// Gives the built-in EditField class its properties, its CreatePane handler,
// initialiser and finaliser (once, after the built-in classes exist).
void defineEditFieldClass();
}  // namespace runtime

RUNTIME_ENTRY StringHandle editTextGetter(ObjectHandle field);
RUNTIME_ENTRY void editTextSetter(ObjectHandle field, StringHandle text);
RUNTIME_ENTRY void editSetString(ObjectHandle field, StringHandle text);
RUNTIME_ENTRY void editSetTextAndStyle(ObjectHandle field, StringHandle text, StringHandle styleData);
RUNTIME_ENTRY StringHandle editTextStyleDataGetter(ObjectHandle field);

RUNTIME_ENTRY bool editBorderGetter(ObjectHandle field);
RUNTIME_ENTRY void editBorderSetter(ObjectHandle field, bool value);
RUNTIME_ENTRY bool editMultiLineGetter(ObjectHandle field);
RUNTIME_ENTRY void editMultiLineSetter(ObjectHandle field, bool value);
RUNTIME_ENTRY bool editScrollBarGetter(ObjectHandle field);
RUNTIME_ENTRY void editScrollBarSetter(ObjectHandle field, bool value);
RUNTIME_ENTRY bool editReadOnlyGetter(ObjectHandle field);
RUNTIME_ENTRY void editReadOnlySetter(ObjectHandle field, bool value);
RUNTIME_ENTRY bool editPasswordGetter(ObjectHandle field);
RUNTIME_ENTRY void editPasswordSetter(ObjectHandle field, bool value);
RUNTIME_ENTRY int32_t editLimitTextGetter(ObjectHandle field);
RUNTIME_ENTRY void editLimitTextSetter(ObjectHandle field, int32_t limit);
RUNTIME_ENTRY void editTextColorSetter(ObjectHandle field, int32_t color);
RUNTIME_ENTRY void editBackColorSetter(ObjectHandle field, int32_t color);

RUNTIME_ENTRY StringHandle editTextFontGetter(ObjectHandle field);
RUNTIME_ENTRY void editTextFontSetter(ObjectHandle field, StringHandle font);
RUNTIME_ENTRY int32_t editTextSizeGetter(ObjectHandle field);
RUNTIME_ENTRY void editTextSizeSetter(ObjectHandle field, int32_t size);
RUNTIME_ENTRY bool editBoldGetter(ObjectHandle field);
RUNTIME_ENTRY void editBoldSetter(ObjectHandle field, bool value);
RUNTIME_ENTRY bool editItalicGetter(ObjectHandle field);
RUNTIME_ENTRY void editItalicSetter(ObjectHandle field, bool value);
RUNTIME_ENTRY bool editUnderlineGetter(ObjectHandle field);
RUNTIME_ENTRY void editUnderlineSetter(ObjectHandle field, bool value);

RUNTIME_ENTRY int32_t editSelStartGetter(ObjectHandle field);
RUNTIME_ENTRY void editSelStartSetter(ObjectHandle field, int32_t start);
RUNTIME_ENTRY int32_t editSelLengthGetter(ObjectHandle field);
RUNTIME_ENTRY void editSelLengthSetter(ObjectHandle field, int32_t length);
RUNTIME_ENTRY StringHandle editSelTextGetter(ObjectHandle field);
RUNTIME_ENTRY void editSelTextSetter(ObjectHandle field, StringHandle text);

RUNTIME_ENTRY bool editSelBoldGetter(ObjectHandle field);
RUNTIME_ENTRY void editSelBoldSetter(ObjectHandle field, bool value);
RUNTIME_ENTRY bool editSelItalicGetter(ObjectHandle field);
RUNTIME_ENTRY void editSelItalicSetter(ObjectHandle field, bool value);
RUNTIME_ENTRY bool editSelUnderlineGetter(ObjectHandle field);
RUNTIME_ENTRY void editSelUnderlineSetter(ObjectHandle field, bool value);
RUNTIME_ENTRY bool editSelPlainGetter(ObjectHandle field);
RUNTIME_ENTRY void editSelPlainSetter(ObjectHandle field, bool value);
RUNTIME_ENTRY StringHandle editSelTextFontGetter(ObjectHandle field);
RUNTIME_ENTRY void editSelTextFontSetter(ObjectHandle field, StringHandle font);
RUNTIME_ENTRY int32_t editSelTextSizeGetter(ObjectHandle field);
RUNTIME_ENTRY void editSelTextSizeSetter(ObjectHandle field, int32_t size);
RUNTIME_ENTRY int32_t editSelTextColorGetter(ObjectHandle field);
RUNTIME_ENTRY void editSelTextColorSetter(ObjectHandle field, int32_t color);
RUNTIME_ENTRY void editToggleSelectionBold(ObjectHandle field);
RUNTIME_ENTRY void editToggleSelectionItalic(ObjectHandle field);
RUNTIME_ENTRY void editToggleSelectionUnderline(ObjectHandle field);

// Styles the system cannot show: each routine shows why and does nothing.
RUNTIME_ENTRY bool editSelOutlineGetter(ObjectHandle field);
RUNTIME_ENTRY void editSelOutlineSetter(ObjectHandle field, bool value);
RUNTIME_ENTRY bool editSelShadowGetter(ObjectHandle field);
RUNTIME_ENTRY void editSelShadowSetter(ObjectHandle field, bool value);
RUNTIME_ENTRY bool editSelCondenseGetter(ObjectHandle field);
RUNTIME_ENTRY void editSelCondenseSetter(ObjectHandle field, bool value);
RUNTIME_ENTRY bool editSelExtendGetter(ObjectHandle field);
RUNTIME_ENTRY void editSelExtendSetter(ObjectHandle field, bool value);
RUNTIME_ENTRY void editToggleSelectionOutline(ObjectHandle field);
RUNTIME_ENTRY void editToggleSelectionShadow(ObjectHandle field);
RUNTIME_ENTRY void editToggleSelectionCondense(ObjectHandle field);
RUNTIME_ENTRY void editToggleSelectionExtend(ObjectHandle field);
