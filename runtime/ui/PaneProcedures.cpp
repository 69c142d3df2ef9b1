// The window procedures of panes: the procedure of the class "VL_Pane" (panes
// the runtime draws) and the one subclassing procedure of wrapped Win32
// controls. Both run their bodies inside runFromSystem, as the window's
// procedure does.
#include <windowsx.h>

#include "objects/UnwindScope.h"
#include "ui/CurrentEvent.h"
#include "ui/MouseCursors.h"
#include "ui/NativeWindow.h"
#include "ui/Pane.h"

namespace runtime {
namespace {

// Process-wide, on the GUI thread: the pane that holds the mouse capture
// after a MouseDown it took.
Pane* gCapturePane = nullptr;

int32_t modifierBits(WPARAM keys) {
    int32_t bits = 0;
    if (keys & MK_SHIFT) bits |= 0x200;
    if (keys & MK_CONTROL) bits |= 0x1000;
    return bits;
}

// The control that sent a notification, when it is one of the runtime's
// panes: its parent is a container pane, but the window handles it.
bool isPaneNotification(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX: return lParam && paneOfHandle(reinterpret_cast<HWND>(lParam));
        case WM_NOTIFY: return paneOfHandle(reinterpret_cast<const NMHDR*>(lParam)->hwndFrom) != nullptr;
        case WM_DRAWITEM: return paneOfHandle(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem) != nullptr;
        case WM_MEASUREITEM: (void)wParam; return false;
        default: return false;
    }
}

void recordEvent(UINT message, WPARAM wParam, LPARAM lParam) {
    CurrentEvent& event = currentEvent();
    event.message = message;
    event.wParam = wParam;
    event.lParam = lParam;
    event.time = GetMessageTime();
    event.position = GetMessagePos();
}

}  // namespace

Pane* capturePane() { return gCapturePane; }
void forgetCapture(const Pane* pane) {
    if (gCapturePane == pane) gCapturePane = nullptr;
}

LRESULT Pane::paneMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND handle = handle_;
    auto windowPoint = [&] {
        return POINT{GET_X_LPARAM(lParam) + bounds_.left, GET_Y_LPARAM(lParam) + bounds_.top};
    };
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
            if (!takesMouse()) return passClickOn(message, wParam, lParam);
            break;
        default: break;
    }
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(handle, &ps);
            paintingDc_ = dc;
            // A Paint handler may close the window: nothing of the pane is
            // used after paint().
            UnwindAction endPaint([handle, &ps] { EndPaint(handle, &ps); });
            if (font_) SelectObject(dc, font_);
            paintPane(dc);
            if (paneOfHandle(handle) == this) paintingDc_ = nullptr;
            return 0;
        }
        case WM_ERASEBKGND:
            if (!(GetWindowLongW(handle, GWL_EXSTYLE) & WS_EX_TRANSPARENT)) eraseBackground(reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_MOUSEMOVE:
            if (gCapturePane == this) mouseDragAt(windowPoint());
            else mouseMoveAt(windowPoint());
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN: {
            const POINT p = windowPoint();
            const bool take = message == WM_LBUTTONDOWN ? mouseDownAt(p, modifierBits(wParam))
                                                        : rightMouseDownAt(p, modifierBits(wParam));
            // The handler may have closed the window and destroyed this pane.
            if (take && IsWindow(handle) && paneOfHandle(handle) == this) {
                gCapturePane = this;
                SetCapture(handle);
                refreshShownCursor();
            }
            return 0;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            if (gCapturePane == this) {
                gCapturePane = nullptr;
                ReleaseCapture();
                mouseUpAt(windowPoint());
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (gCapturePane == this && reinterpret_cast<HWND>(lParam) != handle) gCapturePane = nullptr;
            return 0;
        default: break;
    }
    if (window_ && isPaneNotification(message, wParam, lParam)) {
        return SendMessageW(window_->handle(), message, wParam, lParam);
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

LRESULT Pane::passClickOn(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND beneath = GetParent(handle_);
    if (!beneath) return 0;
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    MapWindowPoints(handle_, beneath, &p, 1);
    return SendMessageW(beneath, message, wParam, MAKELPARAM(p.x, p.y));
}

LRESULT CALLBACK paneWindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        // Attached from the creation parameters, so no early message is lost.
        auto* pane = static_cast<Pane*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(handle, 0, reinterpret_cast<LONG_PTR>(pane));
        if (pane) pane->handle_ = handle;
    }
    auto* pane = reinterpret_cast<Pane*>(GetWindowLongPtrW(handle, 0));
    if (!pane) return DefWindowProcW(handle, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(handle, 0, 0);
        if (gCapturePane == pane) gCapturePane = nullptr;
        pane->handle_ = nullptr;
        return DefWindowProcW(handle, message, wParam, lParam);
    }
    recordEvent(message, wParam, lParam);
    LRESULT result = 0;
    if (!runFromSystem([&] { result = pane->paneMessage(message, wParam, lParam); })) {
        return DefWindowProcW(handle, message, wParam, lParam);
    }
    return result;
}

LRESULT CALLBACK paneSubclassProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Pane* pane = paneOfHandle(handle);
    if (!pane || !pane->previousProcedure_) return DefWindowProcW(handle, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The control goes without its pane: give it back its own procedure.
        WNDPROC previous = std::exchange(pane->previousProcedure_, nullptr);
        SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        pane->handle_ = nullptr;
        return CallWindowProcW(previous, handle, message, wParam, lParam);
    }
    // Notifications of panes inside a container go to the window.
    if (pane->window_ && isPaneNotification(message, wParam, lParam)) {
        return SendMessageW(pane->window_->handle(), message, wParam, lParam);
    }
    LRESULT result = 0;
    // A handler that raised has already let the control answer (or not): the
    // message is not passed on twice.
    if (!runFromSystem([&] { result = pane->messageHook(message, wParam, lParam); })) return 0;
    return result;
}

}  // namespace runtime
