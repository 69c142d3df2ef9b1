// The pane of an EditField: a system "EDIT" control for plain single-line
// fields, else a "RichEdit" control, always subclassed. The control is a
// Unicode window and every text crosses through the runtime's system-text
// conversion, so double-byte text typed by a person arrives whole.
//
// Positions (SelStart, SelLength) are the control's character positions: a
// double-byte character counts once, as in the double-byte string functions.
//
// Password fields are masked here, not by the control: the control shows one
// mask character per character and the pane keeps the real text.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "ui/Pane.h"
#include "ui/controls/PasswordMask.h"
#include "ui/controls/RichTextFormat.h"

namespace runtime {

class EditFieldPane final : public Pane {
public:
    // Creates and configures the control from the field's stored values.
    EditFieldPane(ObjectHandle field, NativeWindow* window);
    ~EditFieldPane() override;

    bool isRich() const { return rich_; }
    bool isMasked() const { return masked_; }

    // The field's text: the hidden text while masked, else the control's.
    std::wstring text() const;
    void setText(std::wstring_view text);

    TextRange selection() const;
    void select(size_t start, size_t end);
    std::wstring selectedText() const;
    void replaceSelection(std::wstring_view text);
    // SelText set by a routine: the replacement, then TextChange and SelChange.
    void setSelectedText(std::wstring_view text);

    void setPassword(bool on);
    void setReadOnly(bool on);
    void setLimit(int32_t limit);
    void setAcceptTabs(bool on) { acceptTabs_ = on; }
    void setTextColor(COLORREF color);
    void setBackColor(COLORREF color);
    // The whole field's font from the control's text style.
    void applyFont();

    // The character format of the selection (rich fields).
    SelectionFormat selectionFormat() const;
    // The face name when the whole selection has one, else empty.
    std::wstring selectionFace() const;
    void setSelectionFormat(uint32_t mask, uint32_t effects, int32_t height = 0, COLORREF color = 0,
                            std::wstring_view face = {});

    // The standard edit commands, under the conditions that enable them.
    bool canCut() const;
    bool canCopy() const;
    bool canClear() const;
    bool canPaste() const;
    void cut();
    void copy();
    void clear();
    void paste();

    // TextChange and SelChange, each guarded against raising itself again
    // for this field while its handler runs; SelChange then re-evaluates the
    // edit menu items.
    void raiseTextChange();
    void raiseSelChange();

    // A rich field's text from a file and into one (the file's bytes are
    // runtime text); the number of bytes read or written, or -1 when the file
    // cannot be opened. Plain fields do nothing and give -1.
    int32_t loadFile(const std::wstring& path);
    int32_t saveFile(const std::wstring& path);

    bool keyDown(StringHandle key, int32_t modifiers) override;
    bool menuCommand(ObjectHandle item) override;
    void enableMenuItems() override;
    bool handleNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void commandNotification(int32_t code) override;
    bool notify(const NMHDR& header, LRESULT& result) override;
    LRESULT messageHook(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT passOn(UINT message, WPARAM wParam, LPARAM lParam) { return callPreviousProcedure(message, wParam, lParam); }
    LRESULT onCharacter(WPARAM wParam, LPARAM lParam);
    bool onMaskedKey(WPARAM key);
    void onFocus(bool gained);
    // Whether this pane still exists after compiled code ran.
    static bool stillAlive(HWND handle, const EditFieldPane* pane);
    // The control's text as it stands (the mask while masked).
    std::wstring shownText() const;
    // The number of positions a selection can span.
    size_t positionCount() const;
    void replaceShown(std::wstring_view text);
    void makeBrush();
    void updateStandardItems(bool exact);

    bool rich_ = false;
    bool masked_ = false;
    bool readOnly_ = false;
    bool acceptTabs_ = false;
    bool multiLine_ = false;
    std::wstring hidden_;  // the real text while masked
    bool hasTextColor_ = false, hasBackColor_ = false;
    COLORREF textColor_ = RGB(0, 0, 0), backColor_ = RGB(255, 255, 255);
    HBRUSH brush_ = nullptr;
    int quiet_ = 0;  // >0: the control's own change notifications raise nothing
};

// The field's pane, or null while it has none.
EditFieldPane* editPaneOf(ObjectHandle field);

}  // namespace runtime
