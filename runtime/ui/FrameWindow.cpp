#include "ui/FrameWindow.h"

#include <string>

#include "loader/Instance.h"
#include "objects/ApplicationObject.h"
#include "objects/ProjectItems.h"
#include "objects/UnwindScope.h"
#include "text/SystemText.h"
#include "ui/Menus.h"
#include "ui/NativeWindow.h"

namespace runtime {
namespace {

constexpr wchar_t kFrameClass[] = L"VL_MDIFRAME";
constexpr UINT kFirstChildId = 3000;
constexpr int kFrameWidth = 640, kFrameHeight = 480;

// Process-wide: the one frame and its client, on the GUI thread.
HWND gFrame = nullptr;
HWND gClient = nullptr;

HWND createClient(HWND frame) {
    CLIENTCREATESTRUCT client{};
    client.hWindowMenu = nullptr;
    client.idFirstChild = kFirstChildId;
    return CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL,
                           0, 0, 0, 0, frame, nullptr, instanceHandle(), &client);
}

LRESULT frameMessage(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            gClient = createClient(frame);
            return gClient ? 0 : -1;
        case WM_CLOSE:
            // Closing the frame quits the application; a window that refuses
            // to close keeps the frame open too.
            quitApplication(RUNTIME_CURRENT_FRAME());
            return 0;
        case WM_COMMAND:
            if (lParam == 0 && runMenuCommand(LOWORD(wParam))) return 0;
            break;
        case WM_INITMENU:
            refreshMenuBar();
            return 0;
        case WM_MOUSEACTIVATE:
            if (NativeWindow::frontModal()) {
                MessageBeep(0);
                return MA_NOACTIVATEANDEAT;
            }
            break;
        case WM_DESTROY:
            if (frame == gFrame) {
                gFrame = nullptr;
                gClient = nullptr;
            }
            break;
        default: break;
    }
    return DefFrameProcW(frame, gClient, message, wParam, lParam);
}

LRESULT CALLBACK frameProcedure(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!runFromSystem([&] { result = frameMessage(frame, message, wParam, lParam); })) {
        return message == WM_CLOSE ? 0 : DefFrameProcW(frame, gClient, message, wParam, lParam);
    }
    return result;
}

void registerFrameClasses() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = 0;
    wc.hInstance = instanceHandle();
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpfnWndProc = frameProcedure;
    wc.lpszClassName = kFrameClass;
    RegisterClassExW(&wc);
    wc.lpfnWndProc = frameChildProcedure;
    wc.cbWndExtra = 4;  // the native window
    wc.lpszClassName = kFrameChildClass;
    RegisterClassExW(&wc);
}

}  // namespace

void createFrameWindow() {
    if (gFrame) return;
    registerFrameClasses();
    const std::wstring title = toSystemText(applicationSettings().mdiTitle);
    HWND frame = CreateWindowExW(0, kFrameClass, title.c_str(), WS_VISIBLE | WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                 CW_USEDEFAULT, kFrameWidth, kFrameHeight, nullptr, menuBarHandle(), instanceHandle(),
                                 nullptr);
    if (frame && gClient) gFrame = frame;
}

bool inFrameMode() { return gFrame != nullptr; }
HWND frameWindow() { return gFrame; }
HWND frameClient() { return gClient; }

NativeWindow* activeFrameChild() {
    if (!gClient) return nullptr;
    auto active = reinterpret_cast<HWND>(SendMessageW(gClient, WM_MDIGETACTIVE, 0, 0));
    NativeWindow* window = active ? NativeWindow::fromHandle(active) : nullptr;
    return window && !window->closed() ? window : nullptr;
}

bool translateFrameAccelerator(MSG& message) { return gClient && TranslateMDISysAccel(gClient, &message); }

void destroyFrameWindow() {
    if (HWND frame = gFrame) DestroyWindow(frame);
}

}  // namespace runtime
