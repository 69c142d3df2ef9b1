// Waits for a top-level window with a given title to appear in this Wine
// prefix, then writes a PNG of it: how `make run` shows a person what opened on
// a display nobody looks at.
//   window-shot.exe TITLE OUTPUT.png [TIMEOUT_SECONDS]
// Exit code 0: the window was found and captured; 1: it did not appear in time
// (the whole screen is captured instead, to show what did); 2: bad arguments.
#include <windows.h>

#include <cwchar>
#include <string>

#include "support/PngWriter.h"

namespace {

std::string narrow(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

HWND waitForWindow(const wchar_t* title, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        HWND found = FindWindowW(nullptr, title);
        if (found && IsWindowVisible(found)) return found;
        Sleep(250);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        fputws(L"usage: window-shot TITLE OUTPUT.png [TIMEOUT_SECONDS]\n", stderr);
        return 2;
    }
    const DWORD timeoutMs = argc > 3 ? static_cast<DWORD>(_wtoi(argv[3])) * 1000 : 120000;
    const std::string output = narrow(argv[2]);
    HWND window = waitForWindow(argv[1], timeoutMs);
    if (!window) {
        testing_support::writeScreenshot(output);
        return 1;
    }
    // The window's first paint, and under Wine the desktop's, may come a
    // while after the window exists: a capture that is still all black is
    // taken again.
    for (int attempt = 0; attempt < 20; ++attempt) {
        Sleep(1000);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        // Only the part on the screen can be read: a source rectangle that
        // reaches past its edge reads as black.
        RECT frame{}, area{};
        GetWindowRect(window, &frame);
        const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (!IntersectRect(&area, &frame, &screen)) return 1;
        bool allBlack = false;
        if (!testing_support::writeScreenRect(output, area, &allBlack)) return 1;
        if (!allBlack) return 0;
    }
    return 1;
}
