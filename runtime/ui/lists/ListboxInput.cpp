// A list's window procedure and its input: clicks on rows, cells, disclosure
// boxes and headings, dragging, the default keys, and the inline edit field
// of editable cells.
#include <windowsx.h>

#include <algorithm>

#include "objects/ObjectRef.h"
#include "objects/UnwindScope.h"
#include "text/StringEntries.h"
#include "text/SystemText.h"
#include "ui/ControlFields.h"
#include "ui/NativeWindow.h"
#include "ui/WindowEvents.h"
#include "ui/lists/ListboxPane.h"

namespace runtime {
namespace {

constexpr int32_t kShift = 0x200;
constexpr int32_t kToggle = 0x100;
constexpr int32_t kControl = 0x1000;

int32_t modifierBits(WPARAM keys) {
    int32_t bits = 0;
    if (keys & MK_SHIFT) bits |= kShift;
    if (keys & MK_CONTROL) bits |= kControl;
    return bits;
}

ListboxPane* paneOfWindow(HWND handle) { return static_cast<ListboxPane*>(paneOfHandle(handle)); }

}  // namespace

LRESULT CALLBACK ListboxPane::procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* pane = static_cast<ListboxPane*>(paneOfHandle(handle));
    if (!pane || !pane->paneProcedure_) return DefWindowProcW(handle, message, wParam, lParam);
    const WNDPROC under = pane->paneProcedure_;
    LRESULT result = 0;
    bool handled = true;
    if (!runFromSystem([&] { handled = pane->handleMessage(message, wParam, lParam, result); })) return 0;
    return handled ? result : CallWindowProcW(under, handle, message, wParam, lParam);
}

bool ListboxPane::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
        case WM_ERASEBKGND:
            result = 1;  // paint() fills every pixel
            return true;
        case WM_CAPTURECHANGED:
            // Lost while still held (not released by a button-up): forget the press.
            if (capturePane() == this) {
                tracking_ = false;
                if (pressedHeading_ >= 0) {
                    pressedHeading_ = -1;
                    invalidateAll();
                }
            }
            return false;
        case WM_VSCROLL: {
            const int32_t page = visibleRowCount();
            switch (LOWORD(wParam)) {
                case SB_LINEUP: scrollTo(firstVisible_ - 1); break;
                case SB_LINEDOWN: scrollTo(firstVisible_ + 1); break;
                case SB_PAGEUP: scrollTo(firstVisible_ - page); break;
                case SB_PAGEDOWN: scrollTo(firstVisible_ + page); break;
                case SB_TOP: scrollTo(0); break;
                case SB_BOTTOM: scrollTo(rows_.count()); break;
                case SB_THUMBTRACK:
                case SB_THUMBPOSITION: {
                    SCROLLINFO info{sizeof(info), SIF_TRACKPOS, 0, 0, 0, 0, 0};
                    GetScrollInfo(handle(), SB_VERT, &info);
                    scrollTo(info.nTrackPos);
                    break;
                }
                default: break;
            }
            return true;
        }
        case WM_MOUSEWHEEL:
            scrollTo(firstVisible_ - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3);
            return true;
        case WM_KEYDOWN:
            defaultKey(wParam, GetKeyState(VK_SHIFT) < 0);
            return true;
        case WM_GETDLGCODE:
            result = DLGC_WANTARROWS | DLGC_WANTCHARS;
            return true;
        case WM_SETFOCUS: {
            focused_ = true;
            window()->setFocusedPane(this);
            invalidateAll();
            if (!edit_ || reinterpret_cast<HWND>(wParam) != edit_) deliverNamedEvent(control(), "Listbox", "GotFocus");
            return true;
        }
        case WM_KILLFOCUS: {
            if (edit_ && reinterpret_cast<HWND>(wParam) == edit_) return true;
            focused_ = false;
            invalidateAll();
            deliverNamedEvent(control(), "Listbox", "LostFocus");
            return true;
        }
        case WM_SIZE:
            updateScrollBar();
            return false;
        default: return false;
    }
    (void)lParam;
}

// --- Mouse ---------------------------------------------------------------------

POINT ListboxPane::clientPoint(POINT windowPoint) const {
    return POINT{windowPoint.x - bounds().left, windowPoint.y - bounds().top};
}

bool ListboxPane::mouseDownAt(POINT point, int32_t modifiers) { return pressAt(clientPoint(point), modifiers); }

void ListboxPane::mouseDragAt(POINT point) { dragTo(clientPoint(point)); }

void ListboxPane::mouseUpAt(POINT point) { releaseAt(clientPoint(point)); }

// A press in the list; true when the list keeps the mouse until it is released.
bool ListboxPane::pressAt(POINT point, int32_t modifiers) {
    // Handlers below may close the window and so delete this pane: the list
    // object is kept and asked for its pane again after each of them.
    ObjectHandle list = control();
    const Unwindable<ObjectRef> keep(ObjectRef::borrow(list));
    if (edit_) endEdit(true);
    if (listboxPaneOf(list) != this) return false;
    if (fields().hasHeading && point.y >= 0 && point.y < rowsTop()) {
        pressedHeading_ = columnAt(point.x);
        headingInside_ = true;
        invalidateAll();
        return true;
    }
    if (GetFocus() != handle()) SetFocus(handle());
    if (listboxPaneOf(list) != this) return false;
    const int32_t row = rowAt(point.y);
    const LONG time = GetMessageTime();
    if (row < 0) {
        // Below the last row: nothing stays selected.
        lastClickRow_ = -1;
        if (!selection_.empty() && selectionChanging()) {
            const lists::SelectionRuns before = selection_;
            selection_.clear();
            selectionChanged(before);
            raiseChange();
        }
        return false;
    }
    if (clickInCell(row, columnAt(point.x), point)) return false;
    const bool doubleClick = isDoubleClick(row, modifiers, time);
    lastClickRow_ = doubleClick ? -1 : row;
    lastClickModifiers_ = modifiers;
    lastClickTime_ = time;
    draggedSinceClick_ = false;
    if (doubleClick) {
        deliverNamedEvent(list, "Listbox", "DoubleClick");
        return false;
    }
    clickRow(row, modifiers);
    if (listboxPaneOf(list) != this) return false;
    tracking_ = true;
    return true;
}

bool ListboxPane::isDoubleClick(int32_t row, int32_t modifiers, LONG time) const {
    return row == lastClickRow_ && selection_.isSelected(row) && modifiers == lastClickModifiers_ &&
           !draggedSinceClick_ && static_cast<DWORD>(time - lastClickTime_) <= GetDoubleClickTime();
}

void ListboxPane::clickRow(int32_t row, int32_t modifiers) {
    if (!selectionChanging() || !rows_.valid(row)) return;
    const lists::SelectionRuns before = selection_;
    if ((modifiers & kShift) && multiple()) {
        const int32_t from = selection_.count() == 1 ? selection_.lowest() : (anchor_ >= 0 ? anchor_ : row);
        selection_.addRange(from, row);
    } else if ((modifiers & (kToggle | kControl)) && multiple()) {
        // Control-click toggles one row of a multiple-selection list.
        selection_.set(row, !selection_.isSelected(row));
    } else {
        selection_.clear();
        selection_.set(row, true);
    }
    anchor_ = caret_ = row;
    selectionChanged(before);
    if (selection_.runs() != before.runs()) raiseChange();
}

bool ListboxPane::clickInCell(int32_t row, int32_t column, POINT point) {
    lists::Row& r = rows_[row];
    if (column == 0 && hierarchical() && r.parent) {
        const int32_t boxLeft = 5 + 12 * r.depth;
        if (point.x >= boxLeft - 2 && point.x <= boxLeft + 12) {
            setRowExpanded(row, !r.expanded);
            return true;
        }
    }
    switch (cellType(row, column)) {
        case lists::kTypeCheckBox: {
            lists::Cell& cell = r.cell(column);
            cell.checked = !cell.checked;
            invalidateRow(row);
            raiseCellAction(row, column);
            return true;
        }
        case lists::kTypeEditable:
            beginEdit(row, column);
            return true;
        default: return false;
    }
}

void ListboxPane::dragTo(POINT point) {
    if (pressedHeading_ >= 0) {
        const int32_t left = columnLeft(pressedHeading_);
        const bool inside = point.y >= 0 && point.y < rowsTop() && point.x >= left &&
                            point.x < left + fields().columns->width[static_cast<size_t>(pressedHeading_)];
        if (inside != headingInside_) {
            headingInside_ = inside;
            invalidateAll();
        }
        return;
    }
    if (!tracking_) return;
    int32_t row;
    if (point.y < rowsTop()) {
        scrollTo(firstVisible_ - 1);
        row = firstVisible_;
    } else {
        RECT client{};
        GetClientRect(handle(), &client);
        if (point.y >= client.bottom) scrollTo(firstVisible_ + 1);
        row = std::min<int32_t>(rows_.count() - 1, firstVisible_ + (std::min<LONG>(point.y, client.bottom - 1) - rowsTop()) / rowHeight_);
    }
    if (!rows_.valid(row) || row == caret_) return;
    draggedSinceClick_ = true;
    if (!selectionChanging() || !rows_.valid(row)) return;
    const lists::SelectionRuns before = selection_;
    if (multiple()) {
        selection_.addRange(anchor_ >= 0 ? anchor_ : row, row);
    } else {
        selection_.clear();
        selection_.set(row, true);
    }
    caret_ = row;
    selectionChanged(before);
    if (selection_.runs() != before.runs()) raiseChange();
}

void ListboxPane::releaseAt(POINT point) {
    (void)point;
    const int32_t column = pressedHeading_;
    const bool inside = headingInside_;
    tracking_ = false;
    pressedHeading_ = -1;
    if (column < 0) return;
    invalidateAll();
    if (inside) headingClicked(column);
}

// --- Headings and sorting --------------------------------------------------------

void ListboxPane::headingClicked(int32_t column) {
    ObjectHandle list = control();
    invalidateAll();
    fields().headingIndex = column;
    const Unwindable<ObjectRef> keep(ObjectRef::borrow(list));
    const bool handled = deliverNamedEvent(list, "Listbox", "SortColumn", column);
    ListboxPane* pane = listboxPaneOf(list);
    if (!pane || handled) return;
    pane->sortRows(column);
}

void ListboxPane::pressHeading(int32_t column) {
    fields().headingIndex = column;
    if (lists::validColumn(column)) sortRows(column);
    invalidateAll();
}

void ListboxPane::sortRows(int32_t column) {
    if (edit_) endEdit(false);
    EnterCriticalSection(&paintLock_);
    const std::vector<int32_t> order = rows_.sortByColumn(column, [](const StringValue& a, const StringValue& b) {
        return RuntimeStringCompare(a.get(), b.get());
    });
    LeaveCriticalSection(&paintLock_);
    selection_.rowsReordered(order);
    anchor_ = caret_ = lastClickRow_ = -1;
    invalidateAll();
}

// --- Keys ------------------------------------------------------------------------

bool ListboxPane::keyDown(StringHandle key, int32_t modifiers) {
    (void)modifiers;
    if (edit_) {
        // Return and Escape end the edit; other keys go to the field.
        const std::string_view text = viewOf(key);
        if (text == "\r" || text == "\x1b") {
            endEdit(text == "\r");
            return true;
        }
        return false;
    }
    return deliverNamedEvent(control(), "Listbox", "KeyDown", key);
}

void ListboxPane::enableMenuItems() { deliverNamedEvent(control(), "Listbox", "EnableMenuItems"); }

void ListboxPane::defaultKey(WPARAM key, bool shift) {
    const int32_t page = visibleRowCount();
    switch (key) {
        case VK_HOME: scrollTo(0); return;
        case VK_END: scrollTo(rows_.count()); return;
        case VK_PRIOR: scrollTo(firstVisible_ - page); return;
        case VK_NEXT: scrollTo(firstVisible_ + page); return;
        case VK_LEFT:
        case VK_RIGHT: {
            const int32_t row = selection_.lowest();
            if (hierarchical() && rows_.valid(row) && rows_[row].parent && rows_[row].expanded == (key == VK_LEFT)) {
                setRowExpanded(row, key == VK_RIGHT);
            }
            return;
        }
        case VK_UP:
        case VK_DOWN: break;
        default: return;
    }
    if (rows_.count() == 0 || !selectionChanging() || rows_.count() == 0) return;
    const bool up = key == VK_UP;
    const lists::SelectionRuns before = selection_;
    int32_t target;
    if (selection_.empty()) {
        target = 0;
        selection_.set(0, true);
    } else if (shift && multiple()) {
        target = up ? selection_.lowest() - 1 : selection_.highest() + 1;
        if (!rows_.valid(target)) return;
        selection_.set(target, true);
    } else {
        const int32_t edge = up ? selection_.lowest() : selection_.highest();
        target = selection_.count() > 1 ? edge : std::clamp(edge + (up ? -1 : 1), 0, rows_.count() - 1);
        selection_.clear();
        selection_.set(target, true);
    }
    caret_ = anchor_ = target;
    scrollIntoView(target);
    selectionChanged(before);
    if (selection_.runs() != before.runs()) raiseChange();
}

// --- Inline editing ----------------------------------------------------------------

void ListboxPane::beginEdit(int32_t row, int32_t column) {
    scrollIntoView(row);
    RECT cell{columnLeft(column), rowsTop() + (row - firstVisible_) * rowHeight_, 0, 0};
    cell.right = cell.left + fields().columns->width[static_cast<size_t>(column)];
    cell.bottom = cell.top + rowHeight_;
    const std::wstring text = toSystemText(rows_.text(row, column).view());
    edit_ = CreateWindowExW(0, L"EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, cell.left,
                            cell.top, cell.right - cell.left, cell.bottom - cell.top, handle(), nullptr,
                            reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(handle(), GWLP_HINSTANCE)), nullptr);
    if (!edit_) return;
    editRow_ = row;
    editColumn_ = column;
    SetPropW(edit_, L"VLList", this);
    editPrevious_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListboxPane::editProcedure)));
    SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(0)), FALSE);
    SetFocus(edit_);
    const auto end = static_cast<LPARAM>(text.size());
    SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(end), end);
}

void ListboxPane::endEdit(bool keep) {
    if (!edit_) return;
    HWND field = std::exchange(edit_, nullptr);
    const int32_t row = std::exchange(editRow_, -1), column = std::exchange(editColumn_, -1);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
    const bool hadFocus = GetFocus() == field;
    SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editPrevious_));
    RemovePropW(field, L"VLList");
    DestroyWindow(field);
    if (hadFocus) SetFocus(handle());
    if (!keep || !rows_.valid(row)) return;
    setCellText(row, column, StringValue::fromBytes(fromSystemText(text)));
    raiseCellAction(row, column);
}

LRESULT CALLBACK ListboxPane::editProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* pane = static_cast<ListboxPane*>(GetPropW(handle, L"VLList"));
    if (!pane) return DefWindowProcW(handle, message, wParam, lParam);
    const WNDPROC previous = pane->editPrevious_;
    LRESULT result = 0;
    bool handled = false;
    const bool completed = runFromSystem([&] {
        switch (message) {
            case WM_GETDLGCODE: result = DLGC_WANTALLKEYS; handled = true; break;
            case WM_KEYDOWN:
                if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
                    pane->endEdit(wParam == VK_RETURN);
                    handled = true;
                }
                break;
            case WM_CHAR:
                handled = wParam == '\r' || wParam == 27;
                break;
            case WM_KILLFOCUS:
                if (pane->edit_ == handle) {
                    CallWindowProcW(previous, handle, message, wParam, lParam);
                    pane->endEdit(true);
                    handled = true;
                }
                break;
            default: break;
        }
    });
    if (!completed || handled) return result;
    return CallWindowProcW(previous, handle, message, wParam, lParam);
}

}  // namespace runtime
