// The yardstick of the application's start-up: a bare Win32 program that
// opens a window of the main window's size with the same native controls
// (read from the same layout) and waits for input, doing nothing else.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "app/AppDriver.h"

namespace {

LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

struct NativeKind {
    const wchar_t* className;
    DWORD style;
    int extraHeight;
};

NativeKind nativeKindOf(const std::string& name) {
    if (name == "PushButton") return {L"BUTTON", BS_PUSHBUTTON, 0};
    if (name == "CheckBox") return {L"BUTTON", BS_CHECKBOX | BS_NOTIFY, 0};
    if (name == "RadioButton") return {L"BUTTON", BS_RADIOBUTTON | BS_NOTIFY, 0};
    if (name == "GroupBox") return {L"BUTTON", BS_GROUPBOX, 0};
    if (name == "EditField") return {L"EDIT", ES_AUTOHSCROLL | WS_BORDER, 0};
    if (name == "SelectAll") return {L"RichEdit", ES_MULTILINE | WS_VSCROLL | WS_BORDER, 0};
    if (name == "PopupMenu") return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 200};
    if (name == "ProgressBar") return {L"msctls_progress32", 0, 0};
    if (name == "TabPanel") return {L"SysTabControl32", WS_CLIPSIBLINGS, 0};
    return {L"STATIC", 0, 0};  // the panes the runtime draws itself
}

void addTabs(HWND panel) {
    const wchar_t* titles[] = {L"メール", L"電話帳", L"設定", L"着メロ"};
    for (int i = 0; i < 4; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(titles[i]);
        SendMessageW(panel, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
}

HMENU menuBar() {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 1, L"終了");
    HMENU edit = CreatePopupMenu();
    for (const wchar_t* item : {L"元に戻す", L"切り取り", L"コピー", L"貼り付け", L"消去", L"すべてを選択", L"すたきばについて..."}) {
        AppendMenuW(edit, MF_STRING, 2, item);
    }
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"ファイル");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"編集");
    return bar;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    INITCOMMONCONTROLSEX common{sizeof common, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&common);
    LoadLibraryW(L"RICHED32.DLL");
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BareAppWindow";
    RegisterClassW(&windowClass);
    RECT bounds{0, 0, 346, 276};
    const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    AdjustWindowRect(&bounds, style, TRUE);
    HWND window = CreateWindowExW(0, L"BareAppWindow", L"すたきば", style, 10, 50, bounds.right - bounds.left,
                                  bounds.bottom - bounds.top, nullptr, menuBar(), instance, nullptr);
    std::wstring project = commandLine;
    project.erase(std::remove(project.begin(), project.end(), L'"'), project.end());
    for (const app_test::LaidOutControl& c : app_test::readLayout(project, "Window1Layout")) {
        if (c.width == 0) continue;  // serial port, timers, note player, socket
        const NativeKind kind = nativeKindOf(c.className);
        const DWORD visible = c.tab <= 1 ? WS_VISIBLE : 0;
        HWND child = CreateWindowExW(0, kind.className, L"", WS_CHILD | visible | kind.style, c.left, c.top, c.width,
                                     c.height + kind.extraHeight, window, nullptr, instance, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
        if (c.className == "TabPanel") addTabs(child);
    }
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
