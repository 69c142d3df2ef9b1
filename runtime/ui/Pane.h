// The native peer of a control: a child window of the control's native
// window. The kinds of control derive their panes from this base; the window
// uses only what is declared here (pane order, focus, visibility, keys, menu
// commands, default and cancel buttons).
#pragma once

#include <windows.h>

#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

namespace runtime {

class NativeWindow;

class Pane {
public:
    Pane(ObjectHandle control, NativeWindow* window) : control_(control), window_(window) {}
    virtual ~Pane();
    Pane(const Pane&) = delete;
    Pane& operator=(const Pane&) = delete;

    HWND handle() const { return handle_; }
    ObjectHandle control() const { return control_; }  // borrowed
    NativeWindow* window() const { return window_; }

    virtual bool acceptsFocus() const { return handle_ && IsWindowVisible(handle_) && IsWindowEnabled(handle_); }
    virtual void setVisible(bool visible);
    virtual void setEnabled(bool enabled);
    virtual void setHelpTexts(StringHandle help, StringHandle disabledHelp);
    // The control's state word, copied when the pane is made.
    virtual void setStateWord(int32_t state) { stateWord_ = state; }
    int32_t stateWord() const { return stateWord_; }
    // The window was activated or deactivated.
    virtual void windowActivation(bool active) { (void)active; }
    // A key for the focused pane; true consumes it.
    virtual bool keyDown(StringHandle key, int32_t modifiers) { (void)key, (void)modifiers; return false; }
    // A menu command offered to the focused pane first; true: handled.
    virtual bool menuCommand(ObjectHandle item) { (void)item; return false; }
    virtual void enableMenuItems() {}
    virtual void idle() {}
    // A notification the window received for this pane (WM_COMMAND and the like).
    virtual bool handleNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        (void)message, (void)wParam, (void)lParam, (void)result;
        return false;
    }
    // Push buttons: Return and Escape push the default and cancel buttons.
    virtual bool isPushButton() const { return false; }
    virtual bool isDefaultButton() const { return false; }
    virtual bool isCancelButton() const { return false; }
    virtual void push() {}

protected:
    // Creates the child window (a Unicode window, so typed double-byte text
    // arrives whole) and ties it to this pane.
    HWND createChild(const wchar_t* systemClass, DWORD style, const RECT& rect, const wchar_t* text = L"");

private:
    ObjectHandle control_;
    NativeWindow* window_;
    HWND handle_ = nullptr;
    int32_t stateWord_ = 0;
};

// The pane of a child window created by createChild, or null.
Pane* paneOfHandle(HWND handle);

}  // namespace runtime
