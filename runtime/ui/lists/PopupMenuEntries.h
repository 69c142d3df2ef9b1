// The PopupMenu routines of the runtime entry table. Its font family keeps
// the text style where the other controls keep theirs and applies it to the
// combo box the same way (ui/controls/FontFamilies.h). Rows are 0-based; a row
// outside the rows raises OutOfBoundsException in the row routines.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

namespace runtime {
// Declares the PopupMenu class's properties, its pane and its instance data.
void definePopupMenuClass();
}  // namespace runtime

RUNTIME_ENTRY int32_t RuntimePopupCountGetter(ObjectHandle popup);
RUNTIME_ENTRY int32_t RuntimePopupSelectionGetter(ObjectHandle popup);
RUNTIME_ENTRY void RuntimePopupSelectionSetter(ObjectHandle popup, int32_t row);
RUNTIME_ENTRY StringHandle popupTextGetter(ObjectHandle popup);
RUNTIME_ENTRY StringHandle RuntimePopupGetString(ObjectHandle popup);
RUNTIME_ENTRY void RuntimePopupAddRow(ObjectHandle popup, StringHandle text);
RUNTIME_ENTRY void RuntimePopupAddSeparator(ObjectHandle popup);
RUNTIME_ENTRY void RuntimePopupInsertRow(ObjectHandle popup, int32_t row, StringHandle text);
RUNTIME_ENTRY void RuntimePopupRemoveRow(ObjectHandle popup, int32_t row);
RUNTIME_ENTRY void RuntimePopupEmpty(ObjectHandle popup);
RUNTIME_ENTRY StringHandle RuntimePopupGetRow(ObjectHandle popup, int32_t row);
RUNTIME_ENTRY void RuntimePopupSetRow(StringHandle text, ObjectHandle popup, int32_t row);
RUNTIME_ENTRY ObjectHandle RuntimePopupGetRowTag(ObjectHandle popup, int32_t row);
RUNTIME_ENTRY void RuntimePopupSetRowTag(ObjectHandle tag, ObjectHandle popup, int32_t row);
RUNTIME_ENTRY ObjectHandle getPopupRowTag(ObjectHandle popup, int32_t row);
RUNTIME_ENTRY void setPopupRowTag(ObjectHandle popup, int32_t row, ObjectHandle tag);

RUNTIME_ENTRY StringHandle popupTextFontGetter(ObjectHandle popup);
RUNTIME_ENTRY void popupTextFontSetter(ObjectHandle popup, StringHandle font);
RUNTIME_ENTRY int32_t popupTextSizeGetter(ObjectHandle popup);
RUNTIME_ENTRY void popupTextSizeSetter(ObjectHandle popup, int32_t size);
RUNTIME_ENTRY bool popupBoldGetter(ObjectHandle popup);
RUNTIME_ENTRY void popupBoldSetter(ObjectHandle popup, bool value);
RUNTIME_ENTRY bool popupItalicGetter(ObjectHandle popup);
RUNTIME_ENTRY void popupItalicSetter(ObjectHandle popup, bool value);
RUNTIME_ENTRY bool popupUnderlineGetter(ObjectHandle popup);
RUNTIME_ENTRY void popupUnderlineSetter(ObjectHandle popup, bool value);
