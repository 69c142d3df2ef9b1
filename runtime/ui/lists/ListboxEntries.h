// The Listbox routines of the runtime entry table. Rows and columns are
// 0-based; routines that take a row check it against ListCount and raise
// OutOfBoundsException; column numbers outside 0 to 63 are ignored.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

namespace runtime {
// Declares the Listbox class's properties, its pane and its instance data.
void defineListboxClass();
}  // namespace runtime

// Properties
RUNTIME_ENTRY int32_t listCountGetter(ObjectHandle list);
RUNTIME_ENTRY int32_t listSelectionGetter(ObjectHandle list);
RUNTIME_ENTRY void listSelectionSetter(ObjectHandle list, int32_t row);
RUNTIME_ENTRY StringHandle listTextGetter(ObjectHandle list);
RUNTIME_ENTRY void listTextSetter(ObjectHandle list, StringHandle text);
RUNTIME_ENTRY int32_t listColumnCountGetter(ObjectHandle list);
RUNTIME_ENTRY void listColumnCountSetter(ObjectHandle list, int32_t count);
RUNTIME_ENTRY StringHandle listColumnWidthsGetter(ObjectHandle list);
RUNTIME_ENTRY void listColumnWidthsSetter(ObjectHandle list, StringHandle widths);
RUNTIME_ENTRY int32_t listLastIndexGetter(ObjectHandle list);
RUNTIME_ENTRY void listEnableDragSetter(ObjectHandle list, bool enable);
RUNTIME_ENTRY int32_t listSelCountGetter(ObjectHandle list);
RUNTIME_ENTRY int32_t listHeadingIndexGetter(ObjectHandle list);
RUNTIME_ENTRY void listHeadingIndexSetter(ObjectHandle list, int32_t column);
RUNTIME_ENTRY StringHandle listTextFontGetter(ObjectHandle list);
RUNTIME_ENTRY void listTextFontSetter(ObjectHandle list, StringHandle font);
RUNTIME_ENTRY int32_t listTextSizeGetter(ObjectHandle list);
RUNTIME_ENTRY void listTextSizeSetter(ObjectHandle list, int32_t size);
RUNTIME_ENTRY bool listBoldGetter(ObjectHandle list);
RUNTIME_ENTRY void listBoldSetter(ObjectHandle list, bool value);
RUNTIME_ENTRY bool listItalicGetter(ObjectHandle list);
RUNTIME_ENTRY void listItalicSetter(ObjectHandle list, bool value);
RUNTIME_ENTRY bool listUnderlineGetter(ObjectHandle list);
RUNTIME_ENTRY void listUnderlineSetter(ObjectHandle list, bool value);

// Cells, headings, rows' flags
RUNTIME_ENTRY StringHandle listGetCell(ObjectHandle list, int32_t row, int32_t column);
RUNTIME_ENTRY void listSetCell(ObjectHandle list, int32_t row, int32_t column, StringHandle text);
RUNTIME_ENTRY StringHandle listGetHeading(ObjectHandle list, int32_t column);
RUNTIME_ENTRY void listSetHeading(ObjectHandle list, int32_t column, StringHandle text);
RUNTIME_ENTRY bool listGetSelected(ObjectHandle list, int32_t row);
RUNTIME_ENTRY void listSetSelected(ObjectHandle list, int32_t row, bool selected);
RUNTIME_ENTRY bool listGetExpanded(ObjectHandle list, int32_t row);
RUNTIME_ENTRY void listSetExpanded(ObjectHandle list, int32_t row, bool expanded);
RUNTIME_ENTRY bool listCellCheckGetter(ObjectHandle list, int32_t row, int32_t column);
RUNTIME_ENTRY void listCellCheckSetter(ObjectHandle list, int32_t row, int32_t column, bool checked);
RUNTIME_ENTRY int32_t listCellTypeGetter(ObjectHandle list, int32_t row, int32_t column);
RUNTIME_ENTRY void listCellTypeSetter(ObjectHandle list, int32_t row, int32_t column, int32_t type);
RUNTIME_ENTRY int32_t listCellAlignmentGetter(ObjectHandle list, int32_t row, int32_t column);
RUNTIME_ENTRY void listCellAlignmentSetter(ObjectHandle list, int32_t row, int32_t column, int32_t alignment);
RUNTIME_ENTRY int32_t listCellAlignmentOffsetGetter(ObjectHandle list, int32_t row, int32_t column);
RUNTIME_ENTRY void listCellAlignmentOffsetSetter(ObjectHandle list, int32_t row, int32_t column, int32_t offset);
RUNTIME_ENTRY int32_t listColumnTypeGetter(ObjectHandle list, int32_t column);
RUNTIME_ENTRY void listColumnTypeSetter(ObjectHandle list, int32_t column, int32_t type);
RUNTIME_ENTRY int32_t listColumnAlignmentGetter(ObjectHandle list, int32_t column);
RUNTIME_ENTRY void listColumnAlignmentSetter(ObjectHandle list, int32_t column, int32_t alignment);
RUNTIME_ENTRY int32_t listColumnAlignmentOffsetGetter(ObjectHandle list, int32_t column);
RUNTIME_ENTRY void listColumnAlignmentOffsetSetter(ObjectHandle list, int32_t column, int32_t offset);
RUNTIME_ENTRY ObjectHandle listGetRowPicture(ObjectHandle list, int32_t row);
RUNTIME_ENTRY void listSetRowPicture(ObjectHandle list, int32_t row, ObjectHandle picture);
RUNTIME_ENTRY bool listGetCellBold(ObjectHandle list, int32_t row, int32_t column);
RUNTIME_ENTRY void listSetCellBold(ObjectHandle list, int32_t row, int32_t column, bool value);
RUNTIME_ENTRY bool listGetCellItalic(ObjectHandle list, int32_t row, int32_t column);
RUNTIME_ENTRY void listSetCellItalic(ObjectHandle list, int32_t row, int32_t column, bool value);
RUNTIME_ENTRY bool listGetCellUnderline(ObjectHandle list, int32_t row, int32_t column);
RUNTIME_ENTRY void listSetCellUnderline(ObjectHandle list, int32_t row, int32_t column, bool value);

// Listeners of the selection (while the window is open)
RUNTIME_ENTRY void listAddLSNR(ObjectHandle list, ObjectHandle listener);
RUNTIME_ENTRY void listRemoveLSNR(ObjectHandle list, ObjectHandle listener);

// Rows
RUNTIME_ENTRY void RuntimeListAddRow(ObjectHandle list, StringHandle text);
RUNTIME_ENTRY void RuntimeListAddParent(ObjectHandle list, StringHandle text);
RUNTIME_ENTRY void RuntimeListInsertRow(ObjectHandle list, int32_t row, StringHandle text);
RUNTIME_ENTRY void RuntimeRemoveRow(ObjectHandle list, int32_t row);
RUNTIME_ENTRY void RuntimeListEmpty(ObjectHandle list);
RUNTIME_ENTRY StringHandle RuntimeGetRow(ObjectHandle list, int32_t row);
RUNTIME_ENTRY void RuntimeSetRow(ObjectHandle list, int32_t row, StringHandle text);
