#include "ui/Pane.h"

#include <algorithm>

#include "loader/Instance.h"
#include "objects/UnwindScope.h"
#include "text/StringValue.h"
#include "ui/BalloonHelp.h"
#include "ui/ControlFields.h"
#include "ui/NativeWindow.h"

namespace runtime {
namespace {

// The window property that ties a child window to its pane.
constexpr wchar_t kInstanceProperty[] = L"VLInstance";
constexpr wchar_t kPaneClass[] = L"VL_Pane";

int16_t clampToInt16(int32_t v) { return static_cast<int16_t>(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX)); }

}  // namespace

Pane::Pane(ObjectHandle control, NativeWindow* window) : control_(control), window_(window) {
    if (control_) {
        const ControlFields& f = controlFields(control_);
        bounds_ = controlBounds(f);
        panelKey_ = f.tabPanelIndex;
    }
}

Pane::~Pane() {
    if (window_) window_->removePane(this);
    forgetCapture(this);
    // The control keeps no pointer to a pane that is gone.
    if (control_ && controlFields(control_).pane == this) controlFields(control_).pane = nullptr;
    if (parent_) std::erase(parent_->children_, this);
    // Children lose their windows with ours; their panes go with their controls.
    for (Pane* child : children_) child->parent_ = nullptr;
    if (HWND handle = std::exchange(handle_, nullptr)) {
        if (previousProcedure_) SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProcedure_));
        if (drawnByRuntime_) SetWindowLongPtrW(handle, 0, 0);
        RemovePropW(handle, kInstanceProperty);
        if (IsWindow(handle)) DestroyWindow(handle);
    }
    if (font_) releaseFont(font_);
    if (backgroundBrush_) DeleteObject(backgroundBrush_);
}

// --- creation -------------------------------------------------------------

Pane* Pane::chooseParent(const Bounds& rect) const {
    // Controls drawn inside a container (a canvas) belong to it, when it is
    // visible, enabled and on the same panel.
    if (!control_ || !window_) return nullptr;
    ObjectHandle container = controlFields(control_).container;
    Pane* candidate = container ? controlFields(container).pane : nullptr;
    if (!candidate || !candidate->handle_ || !candidate->effectivelyVisible() || !candidate->enabled_) return nullptr;
    if (candidate->panelKey_ != panelKey_ || !candidate->bounds_.contains(rect)) return nullptr;
    return candidate;
}

HWND Pane::makeWindow(const wchar_t* systemClass, DWORD exStyle, DWORD style, const RECT& rect, const wchar_t* text) {
    bounds_ = Bounds{clampToInt16(rect.top), clampToInt16(rect.left), clampToInt16(rect.bottom), clampToInt16(rect.right)};
    if (!window_ || !window_->handle()) return nullptr;
    drawnByRuntime_ = lstrcmpiW(systemClass, kPaneClass) == 0;
    parent_ = chooseParent(bounds_);
    HWND parentHandle = parent_ ? parent_->handle_ : window_->handle();
    const int32_t x = bounds_.left - (parent_ ? parent_->bounds_.left : 0);
    const int32_t y = bounds_.top - (parent_ ? parent_->bounds_.top : 0);
    const int32_t width = std::max(0, bounds_.width()), height = std::max(0, bounds_.height()) + extraWindowHeight_;
    HWND handle = callSystem([&] {
        return CreateWindowExW(exStyle, systemClass, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, x, y, width,
                               height, parentHandle, nullptr, instanceHandle(), this);
    });
    handle_ = handle;
    if (!handle_) return nullptr;
    // Later controls lie above earlier ones, as they were laid out (the
    // system would put a new sibling below the others).
    SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    attachToTree();
    return handle_;
}

void Pane::attachToTree() {
    SetPropW(handle_, kInstanceProperty, this);
    if (parent_) parent_->children_.push_back(this);
    // A container that encloses the new pane (a tab panel) decides whether it
    // is shown, whichever of the two was made first.
    for (Pane* other : window_->panes()) {
        bool shown = true;
        if (other->containerDecides(*this, shown)) shownByContainer_ = shown;
    }
    window_->addPane(this);
    if (!shownByContainer_) ShowWindow(handle_, SW_HIDE);
}

HWND Pane::createChild(const wchar_t* systemClass, DWORD style, const RECT& rect, const wchar_t* text) {
    return makeWindow(systemClass, 0, style, rect, text);
}

HWND Pane::createChild(const wchar_t* systemClass, DWORD style, const std::wstring& text) {
    const RECT r{bounds_.left, bounds_.top, bounds_.right, bounds_.bottom};
    return makeWindow(systemClass, 0, style, r, text.c_str());
}

HWND Pane::createPaneWindow(DWORD exStyle) {
    const RECT r{bounds_.left, bounds_.top, bounds_.right, bounds_.bottom};
    return makeWindow(kPaneClass, exStyle, WS_CLIPCHILDREN, r, L"");
}

void Pane::subclass() {
    if (!handle_ || previousProcedure_) return;
    previousProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&paneSubclassProcedure)));
}

void Pane::placeBelowContents() {
    if (!handle_) return;
    HWND parent = GetParent(handle_);
    HWND lowest = nullptr;
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        Pane* p = h != handle_ ? paneOfHandle(h) : nullptr;
        if (p && bounds_.contains(p->bounds_)) lowest = h;
    }
    if (lowest) SetWindowPos(handle_, lowest, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT Pane::callPreviousProcedure(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!previousProcedure_) return DefWindowProcW(handle_, message, wParam, lParam);
    return CallWindowProcW(previousProcedure_, handle_, message, wParam, lParam);
}

LRESULT Pane::messageHook(UINT message, WPARAM wParam, LPARAM lParam) {
    return callPreviousProcedure(message, wParam, lParam);
}

bool Pane::windowClosed() const { return !window_ || window_->closed(); }

// --- visibility, enabling, state commands ----------------------------------

void Pane::applyEffectiveVisibility(bool wasVisible) {
    const bool now = effectivelyVisible();
    if (now == wasVisible || !handle_) return;
    if (!now && window_ && window_->focusedPane() == this) {
        window_->setFocusedPane(nullptr);
        if (GetFocus() == handle_) SetFocus(window_->handle());
    }
    HWND handle = handle_;
    callSystem([&] { return ShowWindow(handle, now ? SW_SHOWNA : SW_HIDE); });
}

void Pane::setVisible(bool visible) {
    const bool was = effectivelyVisible();
    visible_ = visible;
    applyEffectiveVisibility(was);
}

void Pane::setShownByContainer(bool shown) {
    const bool was = effectivelyVisible();
    shownByContainer_ = shown;
    applyEffectiveVisibility(was);
}

void Pane::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (!handle_) return;
    if (!enabled && window_ && window_->focusedPane() == this) {
        focusLost();
        window_->setFocusedPane(nullptr);
        if (GetFocus() == handle_) SetFocus(window_->handle());
    }
    HWND handle = handle_;
    callSystem([&] { return EnableWindow(handle, enabled); });
    if (!help_.empty() || !disabledHelp_.empty()) showHelp();
}

void Pane::handleStateCommand(int32_t command) {
    if (command >= kPaneEnable && command <= kPaneHide) {
        // A copy: a child's command cannot change this list, but be safe.
        const std::vector<Pane*> children = children_;
        for (Pane* child : children) child->handleStateCommand(command);
    }
    switch (command) {
        case kPaneEnable: setEnabled(true); break;
        case kPaneDisable: setEnabled(false); break;
        case kPaneShow: setVisible(true); break;
        case kPaneHide: setVisible(false); break;
        case kPaneWindowActivated: windowActivation(true); break;
        case kPaneWindowDeactivated: windowActivation(false); break;
        default: break;
    }
}

void Pane::setHelpTexts(StringHandle help, StringHandle disabledHelp) {
    help_ = std::string(viewOf(help));
    disabledHelp_ = std::string(viewOf(disabledHelp));
    showHelp();
}

void Pane::showHelp() {
    if (!handle_ || !window_) return;
    const std::string& text = enabled_ || disabledHelp_.empty() ? help_ : disabledHelp_;
    if (text.empty() && !balloonHelpWindow(window_->handle())) return;
    setBalloonHelp(window_->handle(), handle_, text);
}

// --- focus ------------------------------------------------------------------

bool Pane::acceptsFocus() const {
    return handle_ && effectivelyVisible() && enabled_ && takesFocus() && IsWindowEnabled(handle_);
}

void Pane::focusGained() {
    HWND handle = handle_;
    if (handle && GetFocus() != handle) callSystem([&] { return SetFocus(handle); });
}

void Pane::takeFocus() {
    if (!window_ || !acceptsFocus()) return;
    Pane* old = window_->focusedPane();
    window_->setFocusedPane(this);
    if (!window_->active() && GetActiveWindow() != window_->handle()) return;
    if (old && old != this) old->focusLost();
    focusGained();
}

// --- geometry and drawing ---------------------------------------------------

void Pane::placeWindow(bool redraw) {
    if (!handle_) return;
    const int32_t x = bounds_.left - (parent_ ? parent_->bounds_.left : 0);
    const int32_t y = bounds_.top - (parent_ ? parent_->bounds_.top : 0);
    HWND handle = handle_;
    callSystem([&] {
        return MoveWindow(handle, x, y, std::max(0, bounds_.width()), std::max(0, bounds_.height()) + extraWindowHeight_,
                          redraw);
    });
}

void Pane::setBounds(const Bounds& bounds, bool redraw) {
    bounds_ = bounds;
    placeWindow(redraw);
    // Children keep their place in the window.
    for (Pane* child : children_) child->placeWindow(redraw);
}

void Pane::invalidate(const RECT* area) {
    if (handle_) InvalidateRect(handle_, area, TRUE);
}

COLORREF Pane::colourBehind() const {
    if (window_ && window_->hasBackColor()) return window_->backColor();
    if (window_) {
        for (const Pane* p : window_->panes()) {
            COLORREF colour;
            if (p != this && p->effectivelyVisible() && p->bounds_.contains(bounds_) && p->backgroundColour(colour)) {
                return colour;
            }
        }
    }
    return GetSysColor(COLOR_BTNFACE);
}

void Pane::eraseBackground(HDC dc) {
    RECT r;
    GetClientRect(handle_, &r);
    HBRUSH brush = CreateSolidBrush(colourBehind());
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void Pane::setFont(const FontRequest& request) {
    HFONT font = acquireFont(request);
    HFONT old = std::exchange(font_, font);
    if (handle_) {
        if (drawnByRuntime_) {
            invalidate();
        } else {
            HWND handle = handle_;
            callSystem([&] { return SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); });
        }
    }
    if (old) releaseFont(old);
}

// --- notifications ----------------------------------------------------------

bool Pane::handleNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_COMMAND:
            commandNotification(HIWORD(wParam));
            result = 0;
            return true;
        case WM_NOTIFY: return notify(*reinterpret_cast<const NMHDR*>(lParam), result);
        case WM_HSCROLL:
            horizontalScroll(LOWORD(wParam), static_cast<int16_t>(HIWORD(wParam)));
            result = 0;
            return true;
        case WM_VSCROLL:
            verticalScroll(LOWORD(wParam), static_cast<int16_t>(HIWORD(wParam)));
            result = 0;
            return true;
        case WM_DRAWITEM:
            result = TRUE;
            return drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            // Buttons, check boxes and group boxes sit on the colour behind them.
            const COLORREF colour = colourBehind();
            if (!backgroundBrush_ || brushColour_ != colour) {
                if (backgroundBrush_) DeleteObject(backgroundBrush_);
                backgroundBrush_ = CreateSolidBrush(colour);
                brushColour_ = colour;
            }
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetBkColor(dc, colour);
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            result = reinterpret_cast<LRESULT>(backgroundBrush_);
            return true;
        }
        default: return false;
    }
}

Pane* paneOfHandle(HWND handle) { return handle ? static_cast<Pane*>(GetPropW(handle, kInstanceProperty)) : nullptr; }

}  // namespace runtime
