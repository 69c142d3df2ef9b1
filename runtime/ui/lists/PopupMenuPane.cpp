#include "ui/lists/PopupMenuPane.h"

#include <algorithm>
#include <string>
#include <vector>

#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/ObjectLifetime.h"
#include "objects/ObjectRef.h"
#include "text/SystemText.h"
#include "ui/ControlFields.h"
#include "ui/FontCache.h"
#include "ui/controls/ControlKind.h"
#include "ui/NativeWindow.h"
#include "ui/WindowEvents.h"

namespace runtime {
PopupMenuPane* popupMenuPaneOf(ObjectHandle popup) {
    if (!popup || !inheritsFrom(popup->classRecord, builtinClass("PopupMenu"))) return nullptr;
    return static_cast<PopupMenuPane*>(controlFields(popup).pane);
}

PopupMenuPane::PopupMenuPane(ObjectHandle control, NativeWindow* window) : Pane(control, window) {
    // The pane's bounds are the control's; only the system window is taller,
    // wherever the control moves.
    setExtraWindowHeight(kDropDownHeight);
    if (!createChild(L"COMBOBOX", WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL, std::wstring())) return;
    setFont(controls::fontRequestOf(control));
}

PopupMenuPane::~PopupMenuPane() {
    if (handle()) {
        for (int32_t row = 0; row < count(); ++row) unlockObject(rowTag(row));
        send(CB_RESETCONTENT);
    }
}

LRESULT PopupMenuPane::send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return handle() ? SendMessageW(handle(), message, wParam, lParam) : CB_ERR;
}

int32_t PopupMenuPane::count() const { return std::max<int32_t>(0, static_cast<int32_t>(send(CB_GETCOUNT))); }

int32_t PopupMenuPane::selection() const {
    const auto row = static_cast<int32_t>(send(CB_GETCURSEL));
    return row < 0 ? -1 : row;
}

StringValue PopupMenuPane::rowText(int32_t row) const {
    if (!valid(row)) return {};
    const auto length = static_cast<int32_t>(send(CB_GETLBTEXTLEN, static_cast<WPARAM>(row)));
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const auto copied = static_cast<int32_t>(send(CB_GETLBTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data())));
    text.resize(static_cast<size_t>(std::max(0, copied)));
    return StringValue::fromBytes(fromSystemText(text));
}

ObjectHandle PopupMenuPane::rowTag(int32_t row) const {
    if (!valid(row)) return nullptr;
    const LRESULT data = send(CB_GETITEMDATA, static_cast<WPARAM>(row));
    return data == CB_ERR ? nullptr : reinterpret_cast<ObjectHandle>(data);
}

int32_t PopupMenuPane::addRow(StringValue text) {
    const std::wstring wide = toSystemText(text.view());
    const auto row = static_cast<int32_t>(send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
    if (row >= 0) send(CB_SETITEMDATA, static_cast<WPARAM>(row), 0);
    return row;
}

void PopupMenuPane::insertRow(int32_t row, StringValue text) {
    const std::wstring wide = toSystemText(text.view());
    const auto at = static_cast<int32_t>(send(CB_INSERTSTRING, static_cast<WPARAM>(std::clamp(row, -1, count())),
                                              reinterpret_cast<LPARAM>(wide.c_str())));
    if (at >= 0) send(CB_SETITEMDATA, static_cast<WPARAM>(at), 0);
}

void PopupMenuPane::removeRow(int32_t row) {
    ObjectRef tag = ObjectRef::adopt(rowTag(row));  // the pop-up's reference, dropped after the row
    send(CB_DELETESTRING, static_cast<WPARAM>(row));
}

void PopupMenuPane::removeAll() {
    std::vector<ObjectRef> tags;
    for (int32_t row = 0; row < count(); ++row) tags.push_back(ObjectRef::adopt(rowTag(row)));
    send(CB_RESETCONTENT);
}

void PopupMenuPane::setRowText(int32_t row, StringValue text) {
    const LRESULT tag = send(CB_GETITEMDATA, static_cast<WPARAM>(row));
    const bool wasSelected = selection() == row;
    send(CB_DELETESTRING, static_cast<WPARAM>(row));
    const std::wstring wide = toSystemText(text.view());
    const auto at = static_cast<int32_t>(send(CB_INSERTSTRING, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(wide.c_str())));
    if (at < 0) return;
    send(CB_SETITEMDATA, static_cast<WPARAM>(at), tag == CB_ERR ? 0 : tag);
    // The replaced row stays the choice when it was.
    if (wasSelected) send(CB_SETCURSEL, static_cast<WPARAM>(at));
}

void PopupMenuPane::setRowTag(int32_t row, ObjectHandle tag) {
    lockObject(tag);  // the new reference first: the old tag may be the same object
    ObjectRef old = ObjectRef::adopt(rowTag(row));
    send(CB_SETITEMDATA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(tag));
}

void PopupMenuPane::select(int32_t row) {
    send(CB_SETCURSEL, static_cast<WPARAM>(valid(row) ? row : -1));
    raiseChange();
}

void PopupMenuPane::raiseChange() {
    ObjectHandle popup = control();
    guarded(GuardedEvent::kChange, [popup] { deliverNamedEvent(popup, "PopupMenu", "Change"); });
}

void PopupMenuPane::commandNotification(int32_t code) {
    switch (code) {
        case CBN_SELCHANGE: raiseChange(); break;
        case CBN_SETFOCUS:
            if (window()) window()->setFocusedPane(this);
            break;
        default: break;
    }
}

}  // namespace runtime
