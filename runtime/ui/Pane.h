// The native peer of a control: a child window of the control's native
// window, or of an enclosing container pane. Panes form a tree in creation
// order (each parent keeps its children in order); the window keeps every
// pane in pane order.
//
// A pane owns its child window. Win32 controls ("BUTTON", "SysTabControl32",
// ...) carry the window property "VLInstance" pointing at their pane and are
// subclassed with one common procedure that calls the pane's message hook;
// panes drawn by the runtime use the window class "VL_Pane", whose procedure
// finds the pane in the window's extra word.
//
// Visibility has two flags: the pane's own (state commands 7 and 8) and the
// one its container (a tab panel) sets; the child window is shown only while
// both are set.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"
#include "ui/FontCache.h"
#include "ui/WindowFrames.h"

namespace runtime {

class NativeWindow;

// Commands of handleStateCommand.
enum PaneStateCommand : int32_t {
    kPaneEnable = 5,
    kPaneDisable = 6,
    kPaneShow = 7,
    kPaneHide = 8,
    kPaneWindowActivated = 1000,
    kPaneWindowDeactivated = 1001,
};

// The events that are not raised again for a control while a handler of the
// same event runs for it.
enum class GuardedEvent : uint8_t { kAction = 1, kChange = 2, kTextChange = 4, kSelChange = 8, kValueChanged = 16 };

class Pane {
public:
    Pane(ObjectHandle control, NativeWindow* window);
    virtual ~Pane();
    Pane(const Pane&) = delete;
    Pane& operator=(const Pane&) = delete;

    HWND handle() const { return handle_; }
    ObjectHandle control() const { return control_; }  // borrowed
    NativeWindow* window() const { return window_; }
    Pane* parentPane() const { return parent_; }
    const std::vector<Pane*>& children() const { return children_; }
    // The rectangle in the window's client coordinates.
    const Bounds& bounds() const { return bounds_; }
    // A container number that must match for containment; -1 for none.
    int32_t panelKey() const { return panelKey_; }
    bool visibleFlag() const { return visible_; }
    bool shownByContainer() const { return shownByContainer_; }
    bool effectivelyVisible() const { return visible_ && shownByContainer_; }
    bool enabledFlag() const { return enabled_; }

    // Focus: a pane takes it when it is visible, shown, enabled and of a kind
    // that takes focus.
    virtual bool acceptsFocus() const;
    virtual bool takesFocus() const { return true; }
    // Asks for the keyboard focus; the window remembers the pane and, when it
    // is active, moves the focus at once.
    void takeFocus();
    virtual void focusLost() {}
    virtual void focusGained();

    // The pane's own visibility (state commands 7 and 8).
    virtual void setVisible(bool visible);
    // A container shows or hides the pane.
    virtual void setShownByContainer(bool shown);
    virtual void setEnabled(bool enabled);
    // 5 enable, 6 disable, 7 show, 8 hide, 1000/1001 the window was
    // (de)activated; passed on to the child panes first.
    virtual void handleStateCommand(int32_t command);
    virtual void setHelpTexts(StringHandle help, StringHandle disabledHelp);
    // The control's state word, copied when the pane is made.
    virtual void setStateWord(int32_t state) { stateWord_ = state; }
    int32_t stateWord() const { return stateWord_; }
    // The window was activated or deactivated.
    virtual void windowActivation(bool active) { (void)active; }

    // Geometry, in window coordinates.
    virtual void setBounds(const Bounds& bounds, bool redraw);
    // Requests a repaint of the whole pane or of an area (pane coordinates).
    virtual void invalidate(const RECT* area = nullptr);

    // Drawing of "VL_Pane" windows.
    virtual void paintPane(HDC dc) { (void)dc; }
    // A pane that paints a background reports its colour.
    virtual bool backgroundColour(COLORREF& colour) const { (void)colour; return false; }
    // The colour behind this pane: the window's BackColor, else that of the
    // first visible pane that encloses this one and defines one, else the
    // dialog colour.
    COLORREF colourBehind() const;

    // Mouse, in window coordinates, from "VL_Pane" windows.
    virtual bool mouseDownAt(POINT point, int32_t modifiers) { (void)point, (void)modifiers; return false; }
    virtual bool rightMouseDownAt(POINT point, int32_t modifiers) { (void)point, (void)modifiers; return false; }
    virtual void mouseDragAt(POINT point) { (void)point; }
    virtual void mouseMoveAt(POINT point) { (void)point; }
    virtual void mouseUpAt(POINT point) { (void)point; }
    virtual void setCursor(ObjectHandle cursor) { (void)cursor; }
    // A pane that takes no part in the mouse (a static text, a shape) hands
    // its clicks to the window beneath, as if it were not there.
    virtual bool takesMouse() const { return true; }

    // A key for the focused pane; true consumes it.
    virtual bool keyDown(StringHandle key, int32_t modifiers) { (void)key, (void)modifiers; return false; }
    // A menu command offered to the focused pane first; true: handled.
    virtual bool menuCommand(ObjectHandle item) { (void)item; return false; }
    virtual void enableMenuItems() {}
    virtual void idle() {}

    // A notification the window received for this pane. The default hands
    // WM_COMMAND, WM_NOTIFY, the scroll messages and WM_DRAWITEM to the
    // operations below, and answers the colour messages with the colour
    // behind the pane.
    virtual bool handleNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    virtual void commandNotification(int32_t code) { (void)code; }
    virtual bool notify(const NMHDR& header, LRESULT& result) { (void)header, (void)result; return false; }
    virtual void horizontalScroll(int32_t code, int32_t position) { (void)code, (void)position; }
    virtual void verticalScroll(int32_t code, int32_t position) { (void)code, (void)position; }
    virtual bool drawItem(const DRAWITEMSTRUCT& item) { (void)item; return false; }
    // Messages to a subclassed Win32 control; the default passes them on to
    // the control's previous procedure.
    virtual LRESULT messageHook(UINT message, WPARAM wParam, LPARAM lParam);

    // Push buttons: Return and Escape push the default and cancel buttons.
    virtual bool isPushButton() const { return false; }
    virtual bool isDefaultButton() const { return false; }
    virtual bool isCancelButton() const { return false; }
    virtual void push() {}
    // A container (a tab panel) tells whether it shows `pane`; false when the
    // pane is not its business.
    virtual bool containerDecides(const Pane& pane, bool& shown) const { (void)pane, (void)shown; return false; }

    // The font: acquired from the font cache, applied with WM_SETFONT,
    // released with the pane.
    void setFont(const FontRequest& request);
    HFONT font() const { return font_; }

    // Runs `deliver` unless the same guarded event is already running for
    // this pane's control or its window is closed; clears the flag however
    // the handler is left. Returns whether it ran.
    template <typename Deliver>
    bool guarded(GuardedEvent event, Deliver&& deliver);

protected:
    // Creates the child window (a Unicode window, so typed double-byte text
    // arrives whole) inside `rect` (window coordinates), chooses its parent,
    // and ties it to this pane. WS_VISIBLE is added.
    HWND createChild(const wchar_t* systemClass, DWORD style, const RECT& rect, const wchar_t* text = L"");
    // As createChild, with the control's own rectangle and its caption.
    HWND createChild(const wchar_t* systemClass, DWORD style, const std::wstring& text);
    // Creates a "VL_Pane" window in the control's rectangle.
    HWND createPaneWindow(DWORD exStyle = 0);
    // Replaces the control's procedure with the common one (messageHook).
    void subclass();
    // Puts the pane's window below the panes drawn inside its rectangle (a
    // container made before or after its contents), else leaves it on top.
    void placeBelowContents();
    LRESULT callPreviousProcedure(UINT message, WPARAM wParam, LPARAM lParam);
    void setPanelKey(int32_t key) { panelKey_ = key; }
    // The system window is taller than the pane by `extra` pixels (a combo
    // box's drop-down list); containment and parent choice use the pane's
    // own bounds.
    void setExtraWindowHeight(int32_t extra) { extraWindowHeight_ = extra; }
    bool windowClosed() const;

private:
    friend LRESULT CALLBACK paneWindowProcedure(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK paneSubclassProcedure(HWND, UINT, WPARAM, LPARAM);
    friend struct EventGuardReset;
    HWND makeWindow(const wchar_t* systemClass, DWORD exStyle, DWORD style, const RECT& rect, const wchar_t* text);
    Pane* chooseParent(const Bounds& rect) const;
    void attachToTree();
    void applyEffectiveVisibility(bool wasVisible);
    void placeWindow(bool redraw);
    // The balloon help of the current state as the pane's tooltip.
    void showHelp();
    void eraseBackground(HDC dc);
    LRESULT paneMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT passClickOn(UINT message, WPARAM wParam, LPARAM lParam);

    ObjectHandle control_;
    NativeWindow* window_;
    HWND handle_ = nullptr;
    Pane* parent_ = nullptr;  // null: the window itself
    std::vector<Pane*> children_;
    Bounds bounds_{};
    int32_t panelKey_ = -1;
    bool visible_ = true;
    bool shownByContainer_ = true;
    bool enabled_ = true;
    bool drawnByRuntime_ = false;
    uint8_t runningEvents_ = 0;
    HDC paintingDc_ = nullptr;
    HFONT font_ = nullptr;
    HBRUSH backgroundBrush_ = nullptr;
    COLORREF brushColour_ = 0;
    WNDPROC previousProcedure_ = nullptr;
    std::string help_, disabledHelp_;
    int32_t stateWord_ = 0;
    int32_t extraWindowHeight_ = 0;
};

// The pane of a child window made by a pane, or null.
Pane* paneOfHandle(HWND handle);

// The pane that holds the mouse capture after taking a MouseDown, or null.
Pane* capturePane();
void forgetCapture(const Pane* pane);

// Moves and stretches the locked controls of a window whose client area
// changed by (dw, dh).
void moveLockedControls(NativeWindow* window, int32_t dw, int32_t dh);

LRESULT CALLBACK paneWindowProcedure(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK paneSubclassProcedure(HWND, UINT, WPARAM, LPARAM);

}  // namespace runtime

#include "ui/PaneGuard.h"
