// The routines of the controls the application uses: the runtime's control
// families (push buttons, check and radio boxes, static texts, progress bars,
// edit fields, lists, pop-up menus) and the members of the plug-ins' classes
// (the bevel button's menu, the double-byte field function). Cdecl, bound by
// name when the image is linked; arguments are borrowed and returned
// references belong to the caller.
#pragma once

#include <cstdint>

#include "AppImports.h"

extern "C" {

// Every visual control.
void controlEnabledSetter(ObjectHandle control, bool enabled);
void RuntimeSetFocus(ObjectHandle control);

// Check boxes, radio buttons and static texts.
bool checkBoxValueGetter(ObjectHandle box);
void checkBoxValueSetter(ObjectHandle box, bool checked);
bool radioValueGetter(ObjectHandle button);
void radioValueSetter(ObjectHandle button, bool checked);
void staticCaptionSetter(ObjectHandle text, StringHandle caption);
void staticTextColorSetter(ObjectHandle text, int32_t colour);

// Edit fields.
StringHandle editTextGetter(ObjectHandle field);
void editTextSetter(ObjectHandle field, StringHandle text);
void editSelStartSetter(ObjectHandle field, int32_t start);
void editSelLengthSetter(ObjectHandle field, int32_t length);

// Lists (rows and columns from 0).
void RuntimeListAddRow(ObjectHandle list, StringHandle text);
void RuntimeRemoveRow(ObjectHandle list, int32_t row);
StringHandle listGetCell(ObjectHandle list, int32_t row, int32_t column);
void listSetCell(ObjectHandle list, int32_t row, int32_t column, StringHandle text);
void listSetHeading(ObjectHandle list, int32_t column, StringHandle text);
int32_t listCountGetter(ObjectHandle list);
int32_t listSelectionGetter(ObjectHandle list);
void listSelectionSetter(ObjectHandle list, int32_t row);

// Pop-up menus.
void RuntimePopupAddRow(ObjectHandle popup, StringHandle text);
int32_t RuntimePopupCountGetter(ObjectHandle popup);
int32_t RuntimePopupSelectionGetter(ObjectHandle popup);
void RuntimePopupSelectionSetter(ObjectHandle popup, int32_t row);

// The appearance plug-in's bevel button with its drop-down menu.
void bevelDeleteAllRows(ObjectHandle button) APP_PLUGIN_MEMBER("M", "BevelButton!DeleteAllRows");
void bevelAddRow(ObjectHandle button, StringHandle text) APP_PLUGIN_MEMBER("M", "BevelButton!AddRow(text As String)");
void bevelAddSeparator(ObjectHandle button) APP_PLUGIN_MEMBER("M", "BevelButton!AddSeparator");
StringHandle bevelListRow(ObjectHandle button, int32_t row)
    APP_PLUGIN_MEMBER("M", "BevelButton!List(row As Integer) As String");
int32_t bevelMenuValue(ObjectHandle button) APP_PLUGIN_MEMBER("G", "BevelButton!MenuValue");

}  // extern "C"
