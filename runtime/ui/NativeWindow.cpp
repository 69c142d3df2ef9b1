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
#include "ui/DropTarget.h"
#include "ui/FrameWindow.h"
#include "ui/Menus.h"
#include "ui/MouseCursors.h"
#include "ui/Pane.h"
#include "ui/PictureDrawing.h"
#include "ui/RuntimePalette.h"
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

    frameChild_ = inFrameMode();
    HMENU menu = nullptr;
    if (kind_ == kDocumentKind && !frameChild_ && !menuBarWindow()) {
        menu = menuBarHandle();
        if (menu) {
            hasMenuBar_ = true;
            setMenuBarWindow(this);
        }
    }
    const WindowStyles styles = windowStyles(
        kind_, {.resizable = resizable_, .closeBox = params.closeBox, .zoomIcon = params.zoomIcon, .frameMode = frameChild_});
    clientWidth_ = bounds_.width();
    clientHeight_ = bounds_.height();
    lockedWidth_ = clientWidth_;
    lockedHeight_ = clientHeight_;
    create(styles, toSystemText(params.title), menu);
    if (!handle_ && hasMenuBar_) {
        setMenuBarWindow(nullptr);
        hasMenuBar_ = false;
    }
    if (handle_) registerDropTarget();
    if (handle_ && isModal()) gModalWindows.insert(gModalWindows.begin(), handle_);
}

// The system window. The native object travels in the creation parameters
// and is attached at WM_NCCREATE; a child of the frame gets it through the
// MDI creation record, as the frame's client passes that on.
void NativeWindow::create(const WindowStyles& styles, const std::wstring& title, HMENU menu) {
    const RECT outer = outerRect(bounds_, styles.style, styles.extendedStyle, menu != nullptr);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    if (!frameChild_) {
        callSystem([&] {
            return CreateWindowExW(styles.extendedStyle, kWindowClass, title.c_str(), styles.style, outer.left,
                                   outer.top, width, height, ownerFor(isModal()), menu, instanceHandle(), this);
        });
        return;
    }
    HWND client = frameClient();
    if (styles.extendedStyle == 0) {
        const Bounds requested = bounds_;
        callSystem([&] {
            return CreateMDIWindowW(kFrameChildClass, title.c_str(), styles.style & (WS_MINIMIZE | WS_MAXIMIZE),
                                    CW_USEDEFAULT, CW_USEDEFAULT, width, height, client, instanceHandle(),
                                    reinterpret_cast<LPARAM>(this));
        });
        if (handle_) fitClientSize(requested.width(), requested.height());
        return;
    }
    // Created as a child of the frame's client; the system hands the
    // parameter on inside an MDI creation record, as for CreateMDIWindow.
    const DWORD style = (styles.style & ~WS_POPUP) | WS_CHILD;
    callSystem([&] {
        return CreateWindowExW(styles.extendedStyle, kFrameChildClass, title.c_str(), style, outer.left, outer.top,
                               width, height, client, nullptr, instanceHandle(), this);
    });
}

NativeWindow::~NativeWindow() {
    std::erase(gModalWindows, handle_);
    if (hasMenuBar_) {
        // The menu goes on living for the next window that takes the bar.
        if (handle_) SetMenu(handle_, nullptr);
        setMenuBarWindow(nullptr);
    }
    // Last made, first deleted: a pane that belongs to another one made
    // before it (a progress bar's moving block) goes before its owner.
    while (!panes_.empty()) delete panes_.back();
    if (handle_) {
        revokeDropTarget();
        SetWindowLongPtrW(handle_, 0, 0);
        HWND handle = std::exchange(handle_, nullptr);
        if (frameChild_ && frameClient()) {
            HWND client = frameClient();
            callSystem([&] { return SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(handle), 0); });
        } else {
            callSystem([&] { return DestroyWindow(handle); });
        }
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

// The frame's client gives its children a frame of its own choosing: the
// client area is brought to the size asked for.
void NativeWindow::fitClientSize(int32_t width, int32_t height) {
    RECT outer, client;
    GetWindowRect(handle_, &outer);
    GetClientRect(handle_, &client);
    if (client.right == width && client.bottom == height) return;
    const int outerWidth = (outer.right - outer.left) - client.right + width;
    const int outerHeight = (outer.bottom - outer.top) - client.bottom + height;
    HWND handle = handle_;
    callSystem([&] {
        return SetWindowPos(handle, nullptr, 0, 0, outerWidth, outerHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    });
}

void NativeWindow::registerDropTarget() {
    dropTarget_ = new WindowDropTarget(this);
    if (RegisterDragDrop(handle_, dropTarget_) != S_OK) revokeDropTarget();
}

void NativeWindow::revokeDropTarget() {
    if (!dropTarget_) return;
    RevokeDragDrop(handle_);
    WindowDropTarget* target = std::exchange(dropTarget_, nullptr);
    target->detach();
    target->Release();
}

IDropTarget* NativeWindow::dropTarget() const { return dropTarget_; }

POINT NativeWindow::clientOrigin() const {
    POINT origin{0, 0};
    ClientToScreen(handle_, &origin);
    if (frameChild_ && frameClient()) ScreenToClient(frameClient(), &origin);
    return origin;
}

void NativeWindow::boundsFromScreen() {
    RECT client;
    GetClientRect(handle_, &client);
    const POINT origin = clientOrigin();
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
    const POINT origin = clientOrigin();
    const bool moved = origin.x != bounds_.left || origin.y != bounds_.top;
    const bool resized = client.right != bounds_.width() || client.bottom != bounds_.height();
    if (moved || resized) {
        // The frame around the client area as the system draws it now (the
        // frame's children get borders of the system's choosing).
        RECT outer;
        GetWindowRect(handle_, &outer);
        POINT clientOnScreen{0, 0};
        ClientToScreen(handle_, &clientOnScreen);
        const int left = clientOnScreen.x - outer.left, top = clientOnScreen.y - outer.top;
        const int extraWidth = (outer.right - outer.left) - client.right;
        const int extraHeight = (outer.bottom - outer.top) - client.bottom;
        // The size changed on screen: the system's WM_SIZE raises Resized, here
        // in the idle pass and never inside the setter.
        sizeChanged_ = false;
        HWND handle = handle_;
        const Bounds b = bounds_;
        callSystem([&] {
            return MoveWindow(handle, b.left - left, b.top - top, b.width() + extraWidth, b.height() + extraHeight, TRUE);
        });
    }
}

void NativeWindow::setBackColor(bool has, COLORREF color) {
    // Turning the back colour off always repaints; turning it on or changing
    // it repaints when the fill changes.
    const bool repaint = !has || has != hasBackColor_ || color != backColor_;
    hasBackColor_ = has;
    if (has) backColor_ = color;
    if (repaint && handle_) InvalidateRect(handle_, nullptr, TRUE);
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
    selectRuntimePalette(dc);
    SetTextAlign(dc, TA_BASELINE);
    drawPicture(dc, windowFields(window_).backdrop, 0, 0);
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
        refreshShownCursor();
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
        return defaultMessage(message, wParam, lParam);
    }
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == 0 || HIWORD(wParam) == 1) runMenuCommand(LOWORD(wParam));
            return 0;
        case WM_MOVE:
            // A child of the frame lets the frame's client see it move too.
            if (frameChild_) defaultMessage(message, wParam, lParam);
            boundsFromScreen();
            deliverWindowEvent(window_, "Moved");
            return 0;
        case WM_SIZE:
            if (frameChild_) defaultMessage(message, wParam, lParam);
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
        case WM_MDIACTIVATE: {
            const auto losing = reinterpret_cast<HWND>(wParam);
            const auto gaining = reinterpret_cast<HWND>(lParam);
            if (gaining == handle_) activate(true);
            else if (losing == handle_) activate(false);
            return 0;
        }
        case WM_PAINT:
            paint();
            return 0;
        case WM_QUERYNEWPALETTE:
            realizeRuntimePalette(handle_);
            return 1;
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
            // Children pass the question up first (wParam is the window
            // under the pointer), so the window decides for its controls too.
            if (LOWORD(lParam) == HTCLIENT) return setCursorForClient(*this, reinterpret_cast<HWND>(wParam));
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
            if (frameChild_) defaultMessage(message, wParam, lParam);
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
    return defaultMessage(message, wParam, lParam);
}

LRESULT NativeWindow::defaultMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (frameChild_) return DefMDIChildProcW(handle_, message, wParam, lParam);
    return DefWindowProcW(handle_, message, wParam, lParam);
}

namespace {

bool listed(const NativeWindow* candidate) {
    for (NativeWindow* w = NativeWindow::first(); w; w = w->next()) {
        if (w == candidate) return true;
    }
    return false;
}

// The native window a system window is created for: the creation parameter,
// which for a child of the frame stands inside the MDI creation record. Only
// a native window of the list (linked before its system window is created)
// is taken, so a window made by anyone else gets none.
NativeWindow* nativeFromCreation(LPARAM lParam, bool frameChild) {
    const auto* created = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    void* parameter = created->lpCreateParams;
    if (frameChild && parameter) parameter = reinterpret_cast<void*>(static_cast<const MDICREATESTRUCTW*>(parameter)->lParam);
    auto* candidate = static_cast<NativeWindow*>(parameter);
    return listed(candidate) ? candidate : nullptr;
}

LRESULT systemDefault(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, bool frameChild) {
    return frameChild ? DefMDIChildProcW(handle, message, wParam, lParam)
                      : DefWindowProcW(handle, message, wParam, lParam);
}

}  // namespace

// The body of both procedures. It runs inside runFromSystem: an exception a
// handler raises is held for the runtime code above the system's frames, and
// the system gets the result its default procedure would give.
LRESULT windowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, bool frameChild) {
    if (message == WM_NCCREATE) {
        // Attached from the creation parameters, so no early message is lost.
        NativeWindow* native = nativeFromCreation(lParam, frameChild);
        SetWindowLongPtrW(handle, 0, reinterpret_cast<LONG_PTR>(native));
        if (native) native->attach(handle);
    }
    auto* native = reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(handle, 0));
    if (!native || native->closed()) return systemDefault(handle, message, wParam, lParam, frameChild);
    CurrentEvent& event = currentEvent();
    event.message = message;
    event.wParam = wParam;
    event.lParam = lParam;
    event.time = GetMessageTime();
    event.position = GetMessagePos();
    LRESULT result = 0;
    if (!runFromSystem([&] { result = native->handleMessage(message, wParam, lParam); })) {
        return message == WM_CLOSE ? 0 : systemDefault(handle, message, wParam, lParam, frameChild);
    }
    return result;
}

LRESULT CALLBACK runtimeWindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    return windowProcedure(handle, message, wParam, lParam, false);
}

LRESULT CALLBACK frameChildProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    return windowProcedure(handle, message, wParam, lParam, true);
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
