#include "ui/NativeWindow.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

#include "loader/Instance.h"
#include "objects/ObjectLifetime.h"
#include "text/FatalError.h"
#include "text/SystemText.h"
#include "ui/ControlFields.h"
#include "ui/CurrentEvent.h"
#include "ui/Menus.h"
#include "ui/Pane.h"
#include "ui/WindowEvents.h"
#include "ui/WindowFields.h"
#include "ui/WindowOperations.h"

namespace runtime {
namespace {

// Process-wide: the runtime's windows (newest first) and the handles of the
// modal ones, on the one GUI thread.
NativeWindow* gFirstWindow = nullptr;
std::vector<HWND> gModalWindows;

constexpr wchar_t kWindowClass[] = L"VLWindow";
constexpr wchar_t kPaneClass[] = L"VL_Pane";

HWND ownerFor(bool modal) {
    if (NativeWindow* m = NativeWindow::frontModal()) return m->handle();
    (void)modal;
    for (NativeWindow* w = NativeWindow::first(); w; w = w->next()) {
        if (w->kind() == kDocumentKind && w->handle()) return w->handle();
    }
    return nullptr;
}

RECT outerRect(const Bounds& b, DWORD style, DWORD exStyle, bool hasMenu) {
    RECT r{b.left, b.top, b.right, b.bottom};
    AdjustWindowRectEx(&r, style, hasMenu, exStyle);
    return r;
}

int32_t modifierBits(WPARAM keys) {
    int32_t bits = 0;
    if (keys & MK_SHIFT) bits |= 0x200;
    if (keys & MK_CONTROL) bits |= 0x1000;
    return bits;
}

// A kind the constructor cannot build is a fault of the runtime itself.
[[noreturn]] void internalError(int line) {
    const std::string text = "Assertion failed in window.cpp, line " + std::to_string(line) + ".";
    showFatalMessage(text.c_str());
    ExitProcess(kExitUnhandledException);
}

// The window or control that holds the mouse capture after a MouseDown.
ObjectHandle gCaptureHolder = nullptr;

}  // namespace

CurrentEvent& currentEvent() {
    static CurrentEvent event;
    return event;
}

ObjectHandle captureHolder() { return gCaptureHolder; }
void setCaptureHolder(ObjectHandle holder) { gCaptureHolder = holder; }

NativeWindow::NativeWindow(ObjectHandle window, const NativeWindowParams& params)
    : window_(window),
      kind_(params.kind),
      shouldBeShown_(params.visible),
      hasBackColor_(params.hasBackColor),
      backColor_(params.backColor),
      bounds_(params.bounds) {
    if (kind_ >= 10) internalError(__LINE__);
    resizable_ = params.growIcon && keepsResizable(kind_);
    lockObject(window_);  // an open window keeps its object
    next_ = gFirstWindow;
    gFirstWindow = this;

    HMENU menu = nullptr;
    if (kind_ == kDocumentKind && !menuBarWindow()) {
        menu = menuBarHandle();
        if (menu) {
            hasMenuBar_ = true;
            setMenuBarWindow(this);
        }
    }
    const WindowStyles styles =
        windowStyles(kind_, {.resizable = resizable_, .closeBox = params.closeBox, .zoomIcon = params.zoomIcon});
    const RECT outer = outerRect(bounds_, styles.style, styles.extendedStyle, menu != nullptr);
    clientWidth_ = bounds_.width();
    clientHeight_ = bounds_.height();
    lockedWidth_ = clientWidth_;
    lockedHeight_ = clientHeight_;
    const std::wstring title = toSystemText(params.title);
    callSystem([&] {
        return CreateWindowExW(styles.extendedStyle, kWindowClass, title.c_str(), styles.style, outer.left, outer.top,
                               outer.right - outer.left, outer.bottom - outer.top, ownerFor(isModal()), menu,
                               instanceHandle(), this);
    });
    if (!handle_ && hasMenuBar_) {
        setMenuBarWindow(nullptr);
        hasMenuBar_ = false;
    }
    if (handle_ && isModal()) gModalWindows.insert(gModalWindows.begin(), handle_);
}

NativeWindow::~NativeWindow() {
    std::erase(gModalWindows, handle_);
    if (hasMenuBar_) {
        // The menu goes on living for the next window that takes the bar.
        if (handle_) SetMenu(handle_, nullptr);
        setMenuBarWindow(nullptr);
    }
    while (!panes_.empty()) delete panes_.back();
    if (handle_) {
        SetWindowLongPtrW(handle_, 0, 0);
        HWND handle = std::exchange(handle_, nullptr);
        callSystem([&] { return DestroyWindow(handle); });
    }
    for (NativeWindow** link = &gFirstWindow; *link; link = &(*link)->next_) {
        if (*link == this) {
            *link = next_;
            break;
        }
    }
    if (gCaptureHolder == window_) gCaptureHolder = nullptr;
    unlockObject(window_);
}

bool NativeWindow::isModal() const { return isModalKind(kind_); }

void NativeWindow::removePane(Pane* pane) {
    std::erase(panes_, pane);
    if (focused_ == pane) focused_ = nullptr;
}

void NativeWindow::focusFirstPane() {
    for (Pane* p : panes_) {
        if (p->acceptsFocus()) {
            focused_ = p;
            SetFocus(p->handle());
            return;
        }
    }
    SetFocus(handle_);
}

void NativeWindow::moveFocus(bool backwards) {
    if (panes_.empty()) return;
    const auto n = static_cast<ptrdiff_t>(panes_.size());
    auto at = std::find(panes_.begin(), panes_.end(), focused_);
    ptrdiff_t start = at == panes_.end() ? (backwards ? 0 : -1) : at - panes_.begin();
    for (ptrdiff_t step = 1; step <= n; ++step) {
        const ptrdiff_t i = ((start + (backwards ? -step : step)) % n + n) % n;
        Pane* p = panes_[static_cast<size_t>(i)];
        if (p->acceptsFocus()) {
            focused_ = p;
            SetFocus(p->handle());
            return;
        }
    }
}

void NativeWindow::setSize(int32_t width, int32_t height) {
    bounds_.right = static_cast<int16_t>(bounds_.left + width);
    bounds_.bottom = static_cast<int16_t>(bounds_.top + height);
    clientWidth_ = width;
    clientHeight_ = height;
    sizeChanged_ = true;
}

void NativeWindow::boundsFromScreen() {
    RECT client;
    GetClientRect(handle_, &client);
    POINT origin{0, 0};
    ClientToScreen(handle_, &origin);
    bounds_ = Bounds{static_cast<int16_t>(origin.y), static_cast<int16_t>(origin.x),
                     static_cast<int16_t>(origin.y + client.bottom), static_cast<int16_t>(origin.x + client.right)};
    clientWidth_ = client.right;
    clientHeight_ = client.bottom;
    windowFields(window_).bounds = bounds_;
}

void NativeWindow::applyPendingGeometry() {
    if (!handle_ || closed_) return;
    RECT client;
    GetClientRect(handle_, &client);
    POINT origin{0, 0};
    ClientToScreen(handle_, &origin);
    const bool moved = origin.x != bounds_.left || origin.y != bounds_.top;
    const bool resized = client.right != bounds_.width() || client.bottom != bounds_.height();
    if (moved || resized) {
        const DWORD style = static_cast<DWORD>(GetWindowLongW(handle_, GWL_STYLE));
        const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(handle_, GWL_EXSTYLE));
        const RECT outer = outerRect(bounds_, style, exStyle, GetMenu(handle_) != nullptr);
        // The size changed on screen: the system's WM_SIZE raises Resized, here
        // in the idle pass and never inside the setter.
        sizeChanged_ = false;
        HWND handle = handle_;
        callSystem([&] {
            return MoveWindow(handle, outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top, TRUE);
        });
    }
}

void NativeWindow::setBackColor(bool has, COLORREF color) {
    const bool changed = has != hasBackColor_ || color != backColor_;
    hasBackColor_ = has;
    backColor_ = color;
    if (changed && handle_) InvalidateRect(handle_, nullptr, TRUE);
}

NativeWindow* NativeWindow::first() { return gFirstWindow; }

NativeWindow* NativeWindow::fromHandle(HWND handle) {
    for (NativeWindow* w = gFirstWindow; w; w = w->next_) {
        if (w->handle_ && w->handle_ == handle) return w;
    }
    return nullptr;
}

NativeWindow* NativeWindow::frontModal(const NativeWindow* except) {
    for (HWND h : gModalWindows) {
        NativeWindow* w = fromHandle(h);
        if (w && w != except && IsWindowVisible(h)) return w;
    }
    return nullptr;
}

bool NativeWindow::onModalList() const {
    return std::find(gModalWindows.begin(), gModalWindows.end(), handle_) != gModalWindows.end();
}

void NativeWindow::setOnModalList(bool modal) {
    std::erase(gModalWindows, handle_);
    if (modal && handle_) gModalWindows.insert(gModalWindows.begin(), handle_);
}

int32_t nativeWindowCount() {
    int32_t n = 0;
    for (NativeWindow* w = gFirstWindow; w; w = w->next()) ++n;
    return n;
}

void NativeWindow::activate(bool active) {
    if (active) {
        active_ = true;
        deliverWindowEvent(window_, "Activate");
        if (closed_) return;
        for (Pane* p : panes_) p->windowActivation(true);
        if (kind_ == kFloatingKind) return;
        if (focused_ && focused_->acceptsFocus()) SetFocus(focused_->handle());
        else focusFirstPane();
        return;
    }
    HWND focus = GetFocus();
    if (focus && (focus == handle_ || IsChild(handle_, focus))) SetFocus(nullptr);
    active_ = false;
    for (Pane* p : panes_) p->windowActivation(false);
    deliverWindowEvent(window_, "Deactivate");
}

void NativeWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(handle_, &ps);
    SetTextAlign(dc, TA_BASELINE);
    // The Graphics object that Paint receives draws into this window.
    const Unwindable<ObjectRef> graphics(ObjectRef::adopt(newObject(builtinClass("Graphics"))));
    UnwindAction endPaint([&] { EndPaint(handle_, &ps); });
    deliverWindowEvent(window_, "Paint", graphics->get());
}

bool NativeWindow::mouseDown(LPARAM lParam, bool contextual) {
    currentEvent().contextualClick = contextual;
    UnwindAction clear([] { currentEvent().contextualClick = false; });
    const bool take = deliverWindowEvent(window_, "MouseDown", GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (take && !closed_) {
        SetCapture(handle_);
        gCaptureHolder = window_;
    }
    return take;
}

void NativeWindow::mouseUp(LPARAM lParam) {
    if (gCaptureHolder != window_) return;
    gCaptureHolder = nullptr;
    ReleaseCapture();
    deliverWindowEvent(window_, "MouseUp", GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

LRESULT NativeWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Notifications of controls go to their panes first.
    HWND fromControl = nullptr;
    switch (message) {
        case WM_COMMAND:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: fromControl = reinterpret_cast<HWND>(lParam); break;
        case WM_NOTIFY: fromControl = reinterpret_cast<NMHDR*>(lParam)->hwndFrom; break;
        case WM_DRAWITEM: fromControl = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem; break;
        default: break;
    }
    if (fromControl) {
        if (Pane* pane = paneOfHandle(fromControl)) {
            LRESULT result = 0;
            if (pane->handleNotification(message, wParam, lParam, result)) return result;
        }
        return DefWindowProcW(handle_, message, wParam, lParam);
    }
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == 0 || HIWORD(wParam) == 1) runMenuCommand(LOWORD(wParam));
            return 0;
        case WM_MOVE:
            boundsFromScreen();
            deliverWindowEvent(window_, "Moved");
            return 0;
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) return 0;
            boundsFromScreen();
            if (clientWidth_ != lockedWidth_ || clientHeight_ != lockedHeight_) {
                // Locked controls follow the edges before Resized.
                const int32_t dw = clientWidth_ - lockedWidth_, dh = clientHeight_ - lockedHeight_;
                lockedWidth_ = clientWidth_;
                lockedHeight_ = clientHeight_;
                moveLockedControls(this, dw, dh);
                if (closed_) return 0;
            }
            deliverWindowEvent(window_, "Resized");
            return 0;
        case WM_ACTIVATE:
            activate(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(handle_, &r);
            HBRUSH brush = CreateSolidBrush(hasBackColor_ ? backColor_ : GetSysColor(COLOR_BTNFACE));
            FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
            DeleteObject(brush);
            return 1;
        }
        case WM_CLOSE:
            if (!windowRefusesToClose(window_)) closeWindowNow(window_);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            mouseDown(lParam, message == WM_RBUTTONDOWN);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            mouseUp(lParam);
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                SetCursor(LoadCursorA(nullptr, IDC_ARROW));
                return TRUE;
            }
            break;
        case WM_MOUSEACTIVATE:
            if (frontModal(this)) {
                MessageBeep(0);
                return MA_NOACTIVATEANDEAT;
            }
            break;
        case WM_INITMENU:
            refreshMenuBar();
            return 0;
        case WM_GETMINMAXINFO: {
            if (!window_) break;
            const WindowFields& f = windowFields(window_);
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            const RECT frame = outerRect(Bounds{}, static_cast<DWORD>(GetWindowLongW(handle_, GWL_STYLE)),
                                         static_cast<DWORD>(GetWindowLongW(handle_, GWL_EXSTYLE)), hasMenuBar_);
            const int32_t dw = frame.right - frame.left, dh = frame.bottom - frame.top;
            if (f.minWidth) info->ptMinTrackSize.x = f.minWidth + dw;
            if (f.minHeight) info->ptMinTrackSize.y = f.minHeight + dh;
            if (f.maxWidth) info->ptMaxTrackSize.x = f.maxWidth + dw;
            if (f.maxHeight) info->ptMaxTrackSize.y = f.maxHeight + dh;
            return 0;
        }
        default: break;
    }
    (void)modifierBits;
    return DefWindowProcW(handle_, message, wParam, lParam);
}

// The procedure of "VLWindow". Its body runs inside runFromSystem: an
// exception a handler raises is held for the runtime code above the system's
// frames, and the system gets the result DefWindowProc would give.
LRESULT CALLBACK runtimeWindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        // Attached from the creation parameters, so no early message is lost.
        auto* created = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* native = static_cast<NativeWindow*>(created->lpCreateParams);
        SetWindowLongPtrW(handle, 0, reinterpret_cast<LONG_PTR>(native));
        if (native) native->attach(handle);
    }
    auto* native = reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(handle, 0));
    if (!native || native->closed()) return DefWindowProcW(handle, message, wParam, lParam);
    CurrentEvent& event = currentEvent();
    event.message = message;
    event.wParam = wParam;
    event.lParam = lParam;
    event.time = GetMessageTime();
    event.position = GetMessagePos();
    LRESULT result = 0;
    if (!runFromSystem([&] { result = native->handleMessage(message, wParam, lParam); })) {
        return message == WM_CLOSE ? 0 : DefWindowProcW(handle, message, wParam, lParam);
    }
    return result;
}

void registerWindowClasses() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = runtimeWindowProcedure;
    wc.cbWndExtra = 4;
    wc.hInstance = instanceHandle();
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);
    wc.lpfnWndProc = paneWindowProcedure;
    wc.lpszClassName = kPaneClass;
    RegisterClassExW(&wc);
}

}  // namespace runtime
