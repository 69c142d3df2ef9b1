// The pane of a PopupMenu: a drop-down-list "COMBOBOX" whose items are the
// rows and whose item data are the rows' tags. The pop-up holds one
// reference on every tag it stores.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "objects/ObjectHeader.h"
#include "text/StringValue.h"
#include "ui/ControlFields.h"
#include "ui/Pane.h"

namespace runtime {

// The pop-up's own data, after the control's data and its text style (the
// font family of the pop-up's routines).
struct PopupMenuFields {
    StringHandle initialValue;
};
constexpr int32_t kPopupMenuFieldsOffset = kControlKindDataOffset;
constexpr int32_t kPopupMenuInstanceSize = 116;
#if defined(__i386__)
static_assert(kPopupMenuFieldsOffset + sizeof(PopupMenuFields) <= kPopupMenuInstanceSize, "fits a PopupMenu instance");
#endif

inline PopupMenuFields& popupMenuFields(ObjectHandle popup) {
    return *reinterpret_cast<PopupMenuFields*>(reinterpret_cast<char*>(popup) + kPopupMenuFieldsOffset);
}

// The extra height of the combo box: its drop-down list.
constexpr int32_t kDropDownHeight = 200;

class PopupMenuPane final : public Pane {
public:
    PopupMenuPane(ObjectHandle control, NativeWindow* window);
    ~PopupMenuPane() override;

    int32_t count() const;
    bool valid(int32_t row) const { return row >= 0 && row < count(); }
    int32_t selection() const;
    StringValue rowText(int32_t row) const;
    ObjectHandle rowTag(int32_t row) const;  // borrowed

    int32_t addRow(StringValue text);
    void insertRow(int32_t row, StringValue text);
    void removeRow(int32_t row);
    void removeAll();
    void setRowText(int32_t row, StringValue text);
    // Stores `tag` (a reference of its own) and releases the old one.
    void setRowTag(int32_t row, ObjectHandle tag);
    // CB_SETCURSEL, then the change handling.
    void select(int32_t row);
    void commandNotification(int32_t code) override;

private:
    void raiseChange();
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
};

PopupMenuPane* popupMenuPaneOf(ObjectHandle popup);

}  // namespace runtime
