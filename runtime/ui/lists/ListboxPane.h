// The pane of a Listbox: a "VL_Pane" child window that the runtime draws
// itself. It keeps the rows, their cells and the selection while the window
// is open, scrolls by whole rows, lays out the columns and their headings,
// and turns clicks and keys into selection changes and the list's events.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "objects/ObjectRef.h"
#include "text/StringValue.h"
#include "ui/Pane.h"
#include "ui/lists/ListRows.h"
#include "ui/lists/ListboxFields.h"
#include "ui/lists/SelectionRuns.h"

namespace runtime {

class ListboxPane final : public Pane {
public:
    ListboxPane(ObjectHandle control, NativeWindow* window);
    ~ListboxPane() override;

    const lists::ListRows& rows() const { return rows_; }
    lists::ListRows& rows() { return rows_; }
    const lists::SelectionRuns& selection() const { return selection_; }

    // Rows. Each sets LastIndex to the new row. While an ExpandRow handler
    // runs, added rows become children of the expanding row.
    int32_t addRow(StringValue text, bool parent);
    int32_t insertRow(int32_t row, StringValue text);
    // Removes a valid row; Change follows when it was selected.
    void removeRow(int32_t row);
    void removeAllRows();
    void setCellText(int32_t row, int32_t column, StringValue text);
    void setRowExpanded(int32_t row, bool expanded);

    // Selection set by the program: each raises Change.
    void selectOnly(int32_t row);
    void setRowSelected(int32_t row, bool selected);

    // HeadingIndex: presses that heading and sorts by its column.
    void pressHeading(int32_t column);
    // ColumnCount, ColumnWidths or the width changed.
    void layoutColumns();
    // The font family changed.
    void fontChanged();
    void invalidateRow(int32_t row);
    void invalidateAll();

    // Geometry, for tests and the mouse: the row at a client y (or -1), a
    // row's top, the first visible row.
    int32_t rowHeight() const { return rowHeight_; }
    int32_t rowsTop() const;
    int32_t firstVisibleRow() const { return firstVisible_; }
    void scrollTo(int32_t firstRow);

    // Listeners of the selection: told "selectionChanging" before a change
    // and "selectionChanged" after its Change. Each holds a reference.
    void addListener(ObjectHandle listener);
    void removeListener(ObjectHandle listener);

    bool keyDown(StringHandle key, int32_t modifiers) override;
    void enableMenuItems() override;
    void setEnabled(bool enabled) override;
    void setBounds(const Bounds& bounds, bool redraw) override;

    // Drawing and the mouse, from the "VL_Pane" procedure (window coordinates).
    void paintPane(HDC dc) override;
    bool mouseDownAt(POINT point, int32_t modifiers) override;
    void mouseDragAt(POINT point) override;
    void mouseUpAt(POINT point) override;

private:
    static LRESULT CALLBACK procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    // The messages "VL_Pane" leaves to the system; false: pass it on.
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    ListboxFields& fields() const { return listboxFields(control()); }
    bool multiple() const { return fields().selectionType != 0; }
    bool hierarchical() const { return fields().hierarchical != 0; }
    int32_t headingHeight() const;
    int32_t visibleRowCount() const;
    int32_t columnLeft(int32_t column) const;
    int32_t columnAt(int32_t x) const;
    int32_t rowAt(int32_t y) const;
    int32_t cellType(int32_t row, int32_t column) const;
    void updateScrollBar();
    void scrollIntoView(int32_t row);
    void measureFont();
    HFONT fontFor(uint8_t style);
    void releaseFonts();

    // Events. Each returns false when the list's pane is gone afterwards
    // (a handler closed the window); `this` must not be used then.
    bool raiseChange();
    bool raiseCellAction(int32_t row, int32_t column);
    bool raiseRowEvent(const char* name, int32_t row);
    // Tells the listeners; false when the pane is gone afterwards.
    bool tellListeners(const char* method);
    bool selectionChanging() { return tellListeners("selectionChanging"); }
    void selectionChanged(const lists::SelectionRuns& before);

    // Drawing (ListboxDrawing.cpp).
    void paintHeadings(HDC dc, const RECT& client);
    void paintRow(HDC dc, int32_t row, const RECT& client);
    void paintCell(HDC dc, const lists::Row& row, int32_t column, RECT cell, bool selected);

    // Input (ListboxInput.cpp), in the list's client coordinates.
    bool pressAt(POINT point, int32_t modifiers);
    void dragTo(POINT point);
    void releaseAt(POINT point);
    POINT clientPoint(POINT windowPoint) const;
    bool clickInCell(int32_t row, int32_t column, POINT point);
    bool isDoubleClick(int32_t row, int32_t modifiers, LONG time) const;
    void clickRow(int32_t row, int32_t modifiers);
    void headingClicked(int32_t column);
    void sortRows(int32_t column);
    void defaultKey(WPARAM key, bool shift);
    void beginEdit(int32_t row, int32_t column);
    void endEdit(bool keep);
    static LRESULT CALLBACK editProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC paneProcedure_ = nullptr;  // the "VL_Pane" procedure under ours
    std::vector<ObjectRef> listeners_;  // newest first
    CRITICAL_SECTION paintLock_;
    lists::ListRows rows_;
    lists::SelectionRuns selection_;
    int32_t firstVisible_ = 0;
    int32_t anchor_ = -1;  // the row of the last click
    int32_t caret_ = -1;   // the row that shows the focus rectangle
    int32_t expanding_ = -1;  // the row whose ExpandRow handler runs
    // The last click, for double clicks.
    int32_t lastClickRow_ = -1;
    int32_t lastClickModifiers_ = 0;
    LONG lastClickTime_ = 0;
    bool draggedSinceClick_ = false;
    bool tracking_ = false;       // the mouse is held down in the rows
    int32_t pressedHeading_ = -1; // the heading held down, or -1
    bool headingInside_ = false;
    bool focused_ = false;
    // Fonts by style bits (bold 1, italic 2, underline 4) over the list's.
    std::array<HFONT, 8> fonts_{};
    int32_t fontHeight_ = 16, fontAscent_ = 13;
    int32_t rowHeight_ = 16;
    // The inline edit field, while a cell is edited.
    HWND edit_ = nullptr;
    WNDPROC editPrevious_ = nullptr;
    int32_t editRow_ = -1, editColumn_ = -1;
};

// The pane of a list object, or null when its window is not open.
ListboxPane* listboxPaneOf(ObjectHandle list);

}  // namespace runtime
