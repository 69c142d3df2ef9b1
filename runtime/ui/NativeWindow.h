// The native peer of a Window object: one system window of the class
// "VLWindow", the runtime's list of them (newest first), and the state the
// message translation and the loop's idle passes work on.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <cstdint>
#include <string>
#include <vector>

#include "objects/ObjectHeader.h"
#include "ui/WindowFrames.h"

namespace runtime {

class Pane;
class WindowDropTarget;

struct NativeWindowParams {
    uint8_t kind = kDocumentKind;
    Bounds bounds;  // client area, screen coordinates
    std::string title;
    bool growIcon = false;
    bool closeBox = false;
    bool zoomIcon = false;
    bool visible = true;
    bool hasBackColor = false;
    COLORREF backColor = RGB(255, 255, 255);
};

class NativeWindow {
public:
    // Creates the system window. handle() is null when the system refused.
    NativeWindow(ObjectHandle window, const NativeWindowParams& params);
    ~NativeWindow();  // destroys the system window and leaves the list
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    HWND handle() const { return handle_; }
    ObjectHandle windowObject() const { return window_; }  // borrowed
    uint8_t kind() const { return kind_; }
    bool isModal() const;
    bool resizable() const { return resizable_; }
    bool active() const { return active_; }
    bool closed() const { return closed_; }
    void markClosed() { closed_ = true; }
    bool shouldBeShown() const { return shouldBeShown_; }
    void setShouldBeShown(bool shown) { shouldBeShown_ = shown; }

    // Panes in pane order, and the focused one.
    const std::vector<Pane*>& panes() const { return panes_; }
    void addPane(Pane* pane) { panes_.push_back(pane); }
    void removePane(Pane* pane);
    Pane* focusedPane() const { return focused_; }
    void setFocusedPane(Pane* pane) { focused_ = pane; }
    void focusFirstPane();
    void moveFocus(bool backwards);

    // Geometry: the bounds as the window object last set them (client area,
    // screen coordinates), applied to the screen at the next idle pass.
    const Bounds& bounds() const { return bounds_; }
    void offsetBounds(int32_t dh, int32_t dv) { bounds_.offset(dh, dv); }
    void setSize(int32_t width, int32_t height);
    void applyPendingGeometry();
    void boundsFromScreen();

    void setBackColor(bool has, COLORREF color);
    bool hasBackColor() const { return hasBackColor_; }
    COLORREF backColor() const { return backColor_; }

    void setBalloonHelp(std::string text) { balloonHelp_ = std::move(text); }
    // Marks a window built from a layout.
    void markRuntimeView() { runtimeView_ = true; }
    bool isRuntimeView() const { return runtimeView_; }

    // The OLE drop target registered for the window (for tests that drop
    // without a drag loop), or null.
    IDropTarget* dropTarget() const;

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // What the system does with a message the runtime leaves alone.
    LRESULT defaultMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A child window of the frame (frame mode).
    bool isFrameChild() const { return frameChild_; }

    static NativeWindow* first();
    NativeWindow* next() const { return next_; }
    static NativeWindow* fromHandle(HWND handle);
    // The first visible modal window other than `except`, or null.
    static NativeWindow* frontModal(const NativeWindow* except = nullptr);
    // Whether the window is on the modal list; a window shown with
    // RuntimeShowModal joins it for the time of the modal loop.
    bool onModalList() const;
    void setOnModalList(bool modal);

private:
    friend LRESULT windowProcedure(HWND, UINT, WPARAM, LPARAM, bool);
    void attach(HWND handle) { handle_ = handle; }
    void create(const WindowStyles& styles, const std::wstring& title, HMENU menu);
    // The top-left corner of the client area, in screen coordinates, or in
    // the frame's client coordinates for a child of the frame.
    POINT clientOrigin() const;
    void fitClientSize(int32_t width, int32_t height);
    void registerDropTarget();
    void revokeDropTarget();
    void activate(bool active);
    void paint();
    bool mouseDown(LPARAM lParam, bool contextual);
    void mouseUp(LPARAM lParam);

    HWND handle_ = nullptr;
    ObjectHandle window_;
    uint8_t kind_;
    bool resizable_ = false;
    bool active_ = false;
    bool shouldBeShown_ = true;
    bool hasBackColor_ = false;
    COLORREF backColor_ = RGB(255, 255, 255);
    bool sizeChanged_ = false;
    bool closed_ = false;
    bool runtimeView_ = false;
    bool hasMenuBar_ = false;
    bool frameChild_ = false;
    Bounds bounds_;
    int32_t clientWidth_ = 0, clientHeight_ = 0;
    // The client size the locked controls were last placed for.
    int32_t lockedWidth_ = 0, lockedHeight_ = 0;
    std::vector<Pane*> panes_;
    Pane* focused_ = nullptr;
    std::string balloonHelp_;
    WindowDropTarget* dropTarget_ = nullptr;
    NativeWindow* next_ = nullptr;
};

// The procedures of "VLWindow" and of the frame's children ("VL_MDICHILD").
LRESULT CALLBACK runtimeWindowProcedure(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK frameChildProcedure(HWND, UINT, WPARAM, LPARAM);
inline constexpr wchar_t kFrameChildClass[] = L"VL_MDICHILD";

// Registers "VLWindow" and "VL_Pane" (once).
void registerWindowClasses();

// The number of native windows.
int32_t nativeWindowCount();

// The window object that holds the mouse capture after a MouseDown it took,
// or null (a pane that holds it is capturePane(), Pane.h).
ObjectHandle captureHolder();

}  // namespace runtime
