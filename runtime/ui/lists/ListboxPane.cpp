#include "ui/lists/ListboxPane.h"

#include <algorithm>

#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/ObjectRef.h"
#include "text/CaseFold.h"
#include "ui/ControlFields.h"
#include "ui/FontCache.h"
#include "ui/NativeWindow.h"
#include "ui/WindowEvents.h"
#include "ui/controls/ControlKind.h"

namespace runtime {
namespace {

constexpr int32_t kHeadingHeight = 20;
constexpr int32_t kHierarchicalMinimumRowHeight = 18;

RECT controlRect(ObjectHandle control) {
    const ControlFields& f = controlFields(control);
    return RECT{f.left, f.top, f.left + std::max<int32_t>(0, f.width), f.top + std::max<int32_t>(0, f.height)};
}

}  // namespace

ListboxPane* listboxPaneOf(ObjectHandle list) {
    if (!list || !inheritsFrom(list->classRecord, builtinClass("Listbox"))) return nullptr;
    return static_cast<ListboxPane*>(controlFields(list).pane);
}

ListboxPane::ListboxPane(ObjectHandle control, NativeWindow* window) : Pane(control, window) {
    InitializeCriticalSection(&paintLock_);
    measureFont();
    // The one-pixel frame is the window's border; the scroll bar lies inside it.
    if (!createChild(L"VL_Pane", WS_BORDER | WS_VSCROLL | WS_CLIPCHILDREN, controlRect(control))) return;
    // Keys, focus and scrolling come to this pane's own procedure first;
    // drawing and the mouse through the "VL_Pane" procedure under it.
    paneProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListboxPane::procedure)));
    layoutColumns();
}

ListboxPane::~ListboxPane() {
    if (edit_) DestroyWindow(std::exchange(edit_, nullptr));
    if (handle() && paneProcedure_) SetWindowLongPtrW(handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(paneProcedure_));
    rows_.clear();
    releaseFonts();
    DeleteCriticalSection(&paintLock_);
}

// --- Fonts and geometry ----------------------------------------------------

HFONT ListboxPane::fontFor(uint8_t style) {
    style &= 7;
    if (!fonts_[style]) {
        const ListboxFields& f = fields();
        FontRequest request;
        request.name = std::string(viewOf(f.textFont));
        request.size = f.textSize > 0 ? f.textSize : 12;
        request.bold = f.bold || (style & lists::kStyleBold);
        request.italic = f.italic || (style & lists::kStyleItalic);
        request.underline = f.underline || (style & lists::kStyleUnderline);
        fonts_[style] = acquireFont(request);
    }
    return fonts_[style];
}

void ListboxPane::releaseFonts() {
    for (HFONT& font : fonts_) {
        if (font) releaseFont(std::exchange(font, nullptr));
    }
}

void ListboxPane::measureFont() {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, fontFor(0));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    fontHeight_ = std::max<int32_t>(1, metrics.tmHeight);
    fontAscent_ = metrics.tmAscent;
    rowHeight_ = hierarchical() ? std::max(fontHeight_, kHierarchicalMinimumRowHeight) : fontHeight_;
}

void ListboxPane::fontChanged() {
    releaseFonts();
    measureFont();
    updateScrollBar();
    invalidateAll();
}

int32_t ListboxPane::headingHeight() const { return fields().hasHeading ? kHeadingHeight : 0; }

int32_t ListboxPane::rowsTop() const { return headingHeight(); }

int32_t ListboxPane::visibleRowCount() const {
    RECT client{};
    if (handle()) GetClientRect(handle(), &client);
    return std::max<int32_t>(1, (client.bottom - rowsTop()) / rowHeight_);
}

int32_t ListboxPane::columnLeft(int32_t column) const {
    int32_t x = 0;
    for (int32_t i = 0; i < column && i < lists::kColumnSlots; ++i) x += fields().columns->width[static_cast<size_t>(i)];
    return x;
}

int32_t ListboxPane::columnAt(int32_t x) const {
    const int32_t count = lists::clampedColumnCount(fields().columnCount);
    int32_t left = 0;
    for (int32_t i = 0; i < count; ++i) {
        left += fields().columns->width[static_cast<size_t>(i)];
        if (x < left) return i;
    }
    return count - 1;
}

int32_t ListboxPane::rowAt(int32_t y) const {
    if (y < rowsTop()) return -1;
    const int32_t row = firstVisible_ + (y - rowsTop()) / rowHeight_;
    return rows_.valid(row) ? row : -1;
}

int32_t ListboxPane::cellType(int32_t row, int32_t column) const {
    const lists::Cell* cell = rows_[row].find(column);
    if (cell && cell->type != lists::kTypeDefault) return cell->type;
    return fields().columns->type[static_cast<size_t>(column)];
}

void ListboxPane::layoutColumns() {
    ListboxFields& f = fields();
    const std::vector<int32_t> widths = lists::columnWidths(viewOf(f.columnWidths), f.columnCount, bounds().width());
    f.columns->width.fill(0);
    std::copy(widths.begin(), widths.end(), f.columns->width.begin());
    invalidateAll();
}

void ListboxPane::updateScrollBar() {
    if (!handle()) return;
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
    info.nMax = std::max(0, rows_.count() - 1);
    info.nPage = static_cast<UINT>(visibleRowCount());
    info.nPos = firstVisible_;
    SetScrollInfo(handle(), SB_VERT, &info, TRUE);
}

void ListboxPane::scrollTo(int32_t firstRow) {
    const int32_t highest = std::max(0, rows_.count() - visibleRowCount());
    firstRow = std::clamp(firstRow, 0, highest);
    if (firstRow == firstVisible_) return;
    firstVisible_ = firstRow;
    updateScrollBar();
    invalidateAll();
}

void ListboxPane::scrollIntoView(int32_t row) {
    if (!rows_.valid(row)) return;
    if (row < firstVisible_) scrollTo(row);
    else if (row >= firstVisible_ + visibleRowCount()) scrollTo(row - visibleRowCount() + 1);
}

void ListboxPane::invalidateAll() { invalidate(); }

void ListboxPane::invalidateRow(int32_t row) {
    if (!handle() || row < firstVisible_) return;
    RECT r{};
    GetClientRect(handle(), &r);
    r.top = rowsTop() + (row - firstVisible_) * rowHeight_;
    if (r.top >= r.bottom) return;
    r.bottom = r.top + rowHeight_;
    InvalidateRect(handle(), &r, TRUE);
}

void ListboxPane::setEnabled(bool enabled) {
    Pane::setEnabled(enabled);
    invalidateAll();
}

void ListboxPane::setBounds(const Bounds& bounds, bool redraw) {
    Pane::setBounds(bounds, redraw);
    // The available width changed: so did the columns.
    layoutColumns();
    scrollTo(firstVisible_);
    updateScrollBar();
}

// --- Events ------------------------------------------------------------------

bool ListboxPane::raiseChange() {
    ObjectHandle list = control();
    const Unwindable<ObjectRef> keep(ObjectRef::borrow(list));
    if (!guarded(GuardedEvent::kChange, [list] { deliverNamedEvent(list, "Listbox", "Change"); })) return listboxPaneOf(list) != nullptr;
    ListboxPane* pane = listboxPaneOf(list);
    return pane && pane->tellListeners("selectionChanged");
}

void ListboxPane::addListener(ObjectHandle listener) {
    if (listener) listeners_.insert(listeners_.begin(), ObjectRef::borrow(listener));
}

void ListboxPane::removeListener(ObjectHandle listener) {
    auto at = std::find_if(listeners_.begin(), listeners_.end(), [listener](const ObjectRef& l) { return l.get() == listener; });
    if (at != listeners_.end()) listeners_.erase(at);
}

bool ListboxPane::tellListeners(const char* method) {
    if (listeners_.empty()) return true;
    ObjectHandle list = control();
    const Unwindable<ObjectRef> keep(ObjectRef::borrow(list));
    // A copy: a listener may add or remove listeners, or close the window.
    const Unwindable<std::vector<ObjectRef>> listeners(listeners_);
    for (const ObjectRef& listener : *listeners) {
        if (CodeAddress code = controls::findMethod(listener.get(), method)) {
            using Told = void (*)(ObjectHandle, ObjectHandle);
            reinterpret_cast<Told>(code)(listener.get(), list);
        }
        if (listboxPaneOf(list) != this) return false;
    }
    return true;
}

bool ListboxPane::raiseCellAction(int32_t row, int32_t column) {
    ObjectHandle list = control();
    const Unwindable<ObjectRef> keep(ObjectRef::borrow(list));
    deliverNamedEvent(list, "Listbox", "CellAction", row, column);
    return controlFields(list).pane != nullptr;
}

bool ListboxPane::raiseRowEvent(const char* name, int32_t row) {
    ObjectHandle list = control();
    const Unwindable<ObjectRef> keep(ObjectRef::borrow(list));
    deliverNamedEvent(list, "Listbox", name, row);
    return controlFields(list).pane != nullptr;
}

void ListboxPane::selectionChanged(const lists::SelectionRuns& before) {
    for (int32_t r = 0; r < rows_.count(); ++r) {
        if (before.isSelected(r) != selection_.isSelected(r)) invalidateRow(r);
    }
}

// --- Rows --------------------------------------------------------------------

int32_t ListboxPane::addRow(StringValue text, bool parent) {
    int32_t index = rows_.count();
    int32_t depth = 0;
    if (rows_.valid(expanding_)) {
        index = rows_.lastDescendant(expanding_) + 1;
        depth = rows_[expanding_].depth + 1;
    }
    EnterCriticalSection(&paintLock_);
    index = rows_.insert(index, std::move(text), depth, parent);
    LeaveCriticalSection(&paintLock_);
    selection_.rowsInserted(index, 1);
    fields().lastIndex = index;
    updateScrollBar();
    invalidateAll();
    return index;
}

int32_t ListboxPane::insertRow(int32_t row, StringValue text) {
    const int32_t index = rows_.insert(row, std::move(text), 0, false);
    selection_.rowsInserted(index, 1);
    if (expanding_ >= index) ++expanding_;
    fields().lastIndex = index;
    updateScrollBar();
    invalidateAll();
    return index;
}

void ListboxPane::removeRow(int32_t row) {
    if (!rows_.valid(row)) return;
    if (selection_.isSelected(row) && !selectionChanging()) return;
    if (!rows_.valid(row)) return;
    if (editRow_ == row) endEdit(false);
    rows_.remove(row);
    const bool wasSelected = selection_.rowsRemoved(row, 1);
    if (anchor_ == row) anchor_ = -1;
    else if (anchor_ > row) --anchor_;
    scrollTo(firstVisible_);
    updateScrollBar();
    invalidateAll();
    if (wasSelected) raiseChange();
}

void ListboxPane::removeAllRows() {
    if (edit_) endEdit(false);
    const bool hadSelection = !selection_.empty();
    rows_.clear();
    selection_.clear();
    firstVisible_ = 0;
    anchor_ = caret_ = lastClickRow_ = -1;
    updateScrollBar();
    invalidateAll();
    if (hadSelection) raiseChange();
}

void ListboxPane::setCellText(int32_t row, int32_t column, StringValue text) {
    rows_[row].cell(column).text = std::move(text);
    invalidateRow(row);
}

void ListboxPane::setRowExpanded(int32_t row, bool expanded) {
    if (!rows_.valid(row) || !rows_[row].parent || rows_[row].expanded == expanded) return;
    rows_[row].expanded = expanded;
    invalidateAll();
    if (expanded) {
        ObjectHandle list = control();
        const Unwindable<ObjectRef> keep(ObjectRef::borrow(list));
        const int32_t outer = expanding_;
        expanding_ = row;
        {
            UnwindAction restore([list, outer] {
                if (ListboxPane* p = listboxPaneOf(list)) p->expanding_ = outer;
            });
            deliverNamedEvent(list, "Listbox", "ExpandRow", row);
        }
        return;
    }
    if (!raiseRowEvent("CollapseRow", row)) return;
    // The handler may have changed the rows: find the same row's extent again.
    if (!rows_.valid(row)) return;
    const int32_t descendants = rows_.lastDescendant(row) - row;
    if (descendants <= 0) return;
    rows_.remove(row + 1, descendants);
    const bool wasSelected = selection_.rowsRemoved(row + 1, descendants);
    scrollTo(firstVisible_);
    updateScrollBar();
    invalidateAll();
    if (wasSelected) raiseChange();
}

// --- Selection ---------------------------------------------------------------

void ListboxPane::selectOnly(int32_t row) {
    if (!selectionChanging()) return;
    const lists::SelectionRuns before = selection_;
    selection_.clear();
    if (rows_.valid(row)) {
        selection_.set(row, true);
        anchor_ = caret_ = row;
        scrollIntoView(row);
    }
    selectionChanged(before);
    raiseChange();
}

void ListboxPane::setRowSelected(int32_t row, bool selected) {
    if (!rows_.valid(row) || !selectionChanging()) return;
    const lists::SelectionRuns before = selection_;
    if (selected && !multiple()) selection_.clear();
    selection_.set(row, selected);
    if (selected) caret_ = row;
    selectionChanged(before);
    raiseChange();
}

}  // namespace runtime
