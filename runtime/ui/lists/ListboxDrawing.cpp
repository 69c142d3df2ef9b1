// Drawing a list: the frame, the heading buttons, the visible rows and their
// cells (disclosure boxes, check boxes, aligned text in the cell's style).
#include <algorithm>
#include <string>

#include "text/SystemText.h"
#include "ui/ControlFields.h"
#include "ui/lists/ListboxPane.h"

namespace runtime {
namespace {

constexpr COLORREF kDisclosureGrey = RGB(0x7B, 0x7B, 0x7B);
constexpr COLORREF kDisabledText = RGB(0x88, 0x88, 0x88);
constexpr int32_t kBoxSize = 10;
constexpr int32_t kCheckBoxWidth = 20;
constexpr int32_t kPictureWidth = 20;

std::string headingText(const ListColumnTable& columns, int32_t column) {
    const StringValue& text = columns.heading[static_cast<size_t>(column)];
    return text.empty() ? "Field" + std::to_string(column + 1) : std::string(text.view());
}

int32_t textWidth(HDC dc, const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

void drawDisclosureBox(HDC dc, int32_t x, int32_t top, int32_t height, bool expanded) {
    const int32_t y = top + (height - kBoxSize) / 2;
    HPEN pen = CreatePen(PS_SOLID, 1, kDisclosureGrey);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, x, y, x + kBoxSize + 1, y + kBoxSize + 1);
    MoveToEx(dc, x + 2, y + kBoxSize / 2, nullptr);
    LineTo(dc, x + kBoxSize - 1, y + kBoxSize / 2);
    if (!expanded) {
        MoveToEx(dc, x + kBoxSize / 2, y + 2, nullptr);
        LineTo(dc, x + kBoxSize / 2, y + kBoxSize - 1);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

}  // namespace

void ListboxPane::paintPane(HDC dc) {
    if (!handle()) return;
    EnterCriticalSection(&paintLock_);
    RECT client{};
    GetClientRect(handle(), &client);
    // The one-pixel frame is the window's border.
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    paintHeadings(dc, client);
    const int32_t last = std::min(rows_.count(), firstVisible_ + visibleRowCount() + 1);
    HRGN clip = CreateRectRgn(0, rowsTop(), client.right, client.bottom);
    SelectClipRgn(dc, clip);
    for (int32_t r = firstVisible_; r < last; ++r) paintRow(dc, r, client);
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
    if (focused_ && fields().useFocusRing) {
        RECT ring = client;
        DrawFocusRect(dc, &ring);
    }
    LeaveCriticalSection(&paintLock_);
}

void ListboxPane::paintHeadings(HDC dc, const RECT& client) {
    if (!fields().hasHeading) return;
    const int32_t count = lists::clampedColumnCount(fields().columnCount);
    HGDIOBJ oldFont = SelectObject(dc, fontFor(0));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    for (int32_t c = 0; c < count; ++c) {
        RECT button{columnLeft(c), 0, columnLeft(c) + fields().columns->width[static_cast<size_t>(c)], headingHeight()};
        if (c == count - 1) button.right = std::max<LONG>(button.right + lists::kScrollBarWidth, client.right);
        const bool pressed = (c == pressedHeading_ && headingInside_) || (pressedHeading_ < 0 && c == fields().headingIndex);
        DrawFrameControl(dc, &button, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
        std::wstring text = toSystemText(headingText(*fields().columns, c));
        RECT inside = button;
        InflateRect(&inside, -4, 0);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &inside, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    SelectObject(dc, oldFont);
}

void ListboxPane::paintRow(HDC dc, int32_t r, const RECT& client) {
    const bool enabled = IsWindowEnabled(handle());
    const bool selected = enabled && selection_.isSelected(r);
    RECT line{0, rowsTop() + (r - firstVisible_) * rowHeight_, client.right, 0};
    line.bottom = line.top + rowHeight_;
    if (selected) FillRect(dc, &line, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, !enabled ? kDisabledText : GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const lists::Row& row = rows_[r];
    const int32_t count = lists::clampedColumnCount(fields().columnCount);
    for (int32_t c = 0; c < count; ++c) {
        RECT cell{columnLeft(c), line.top, columnLeft(c) + fields().columns->width[static_cast<size_t>(c)], line.bottom};
        if (c == 0 && hierarchical() && row.parent) drawDisclosureBox(dc, 5 + 12 * row.depth, line.top, rowHeight_, row.expanded);
        paintCell(dc, row, c, cell, selected);
    }
    if (r == caret_ && focused_ && multiple()) DrawFocusRect(dc, &line);
}

void ListboxPane::paintCell(HDC dc, const lists::Row& row, int32_t column, RECT cell, bool selected) {
    const lists::Cell* data = row.find(column);
    const ListColumnTable& columns = *fields().columns;
    const auto slot = static_cast<size_t>(column);
    int32_t left = cell.left + (column == 0 ? (hierarchical() ? 20 + 12 * row.depth : 4) : 4);
    const int32_t type = data && data->type ? data->type : columns.type[slot];
    if (type == lists::kTypeCheckBox) {
        const int32_t top = cell.top + (rowHeight_ - 12) / 2;
        RECT box{left, top, left + 12, top + 12};
        DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | (data && data->checked ? DFCS_CHECKED : 0));
        left += kCheckBoxWidth;
    }
    if (column == 0 && row.picture) left += kPictureWidth;
    if (!data || data->text.empty()) return;
    HGDIOBJ oldFont = SelectObject(dc, fontFor(data->style));
    const std::wstring text = toSystemText(data->text.view());
    const int32_t right = cell.right - 4;
    const int32_t alignment = data->alignment ? data->alignment : columns.alignment[slot];
    const int32_t offset = data->alignmentOffset ? data->alignmentOffset : columns.alignmentOffset[slot];
    int32_t x = left;
    switch (alignment) {
        case lists::kAlignCentre: x = left + (right - left - textWidth(dc, text)) / 2; break;
        case lists::kAlignRight: x = right - textWidth(dc, text); break;
        case lists::kAlignDecimal: {
            const size_t point = text.find(L'.');
            x = cell.right - textWidth(dc, point == std::wstring::npos ? text : text.substr(0, point));
            if (point == std::wstring::npos) x = right - textWidth(dc, text);
            break;
        }
        default: break;
    }
    x += offset;
    (void)selected;
    HRGN clip = CreateRectRgn(cell.left, cell.top, cell.right, cell.bottom);
    ExtSelectClipRgn(dc, clip, RGN_AND);
    SetTextAlign(dc, TA_BASELINE | TA_LEFT);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int32_t baseline = cell.top + (rowHeight_ - fontHeight_) / 2 + metrics.tmAscent;
    TextOutW(dc, x, baseline, text.c_str(), static_cast<int>(text.size()));
    SelectClipRgn(dc, nullptr);
    RECT client{};
    GetClientRect(handle(), &client);
    HRGN rows = CreateRectRgn(0, rowsTop(), client.right, client.bottom);
    SelectClipRgn(dc, rows);
    DeleteObject(rows);
    DeleteObject(clip);
    SelectObject(dc, oldFont);
}

}  // namespace runtime
