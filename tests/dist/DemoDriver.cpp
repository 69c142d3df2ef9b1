// Plays the person who tries the demo: in the running application's main
// window it fills in the centre, the recipient and the message, and sends
// them by modem ("送信") or by mail ("Ｅメール送信", then "メッセージ送信").
// The controls are found where the main window's layout places them, and are
// filled and pressed through their own messages, as the end-to-end tests do.
//   demo-driver PROJECT modem|mail CENTRE PHONE MESSAGE
// Exit code 0 once the send has started, 1 with the reason on stderr.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/AppDriver.h"

namespace {

using app_test::LaidOutControl;

std::string narrow(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

int fail(const std::string& why) {
    std::fprintf(stderr, "demo-driver: %s\n", why.c_str());
    return 1;
}

struct Search {
    HWND window;
    const LaidOutControl* c;
    HWND found = nullptr;
};

// A child in the laid-out place: same left, top and width (a pop-up menu is
// taller than its bounds), the same height preferred.
BOOL CALLBACK matchPlaced(HWND hwnd, LPARAM data) {
    auto* s = reinterpret_cast<Search*>(data);
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, s->window, reinterpret_cast<POINT*>(&r), 2);
    if (r.left != s->c->left || r.top != s->c->top || r.right - r.left != s->c->width) return TRUE;
    if (!s->found || r.bottom - r.top == s->c->height) s->found = hwnd;
    return TRUE;
}

class MainWindow {
public:
    MainWindow(HWND window, std::vector<LaidOutControl> layout) : window_(window), layout_(std::move(layout)) {}

    HWND control(const std::string& name, int index = INT_MIN) const {
        for (const LaidOutControl& c : layout_) {
            if (c.name != name || c.index != index) continue;
            Search search{window_, &c};
            EnumChildWindows(window_, matchPlaced, reinterpret_cast<LPARAM>(&search));
            return search.found;
        }
        return nullptr;
    }

    bool setText(const std::string& name, const std::wstring& text) const {
        HWND hwnd = control(name);
        DWORD_PTR ignored = 0;
        return hwnd && SendMessageTimeoutW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                           SMTO_ABORTIFHUNG, 5000, &ignored);
    }

    // The notification a click sends, so the control's Action handler runs.
    bool click(const std::string& name, int index = INT_MIN) const {
        HWND hwnd = control(name, index);
        if (!hwnd || !IsWindowEnabled(hwnd)) return false;
        PostMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd));
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        return true;
    }

    bool checked(const std::string& name) const {
        HWND hwnd = control(name);
        DWORD_PTR state = 0;
        return hwnd && SendMessageTimeoutW(hwnd, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state) &&
               state == BST_CHECKED;
    }

    bool setCheck(const std::string& name, bool on) const {
        if (checked(name) != on && !click(name)) return false;
        return app_test::waitFor([&] { return checked(name) == on; }, 5000);
    }

private:
    HWND window_;
    std::vector<LaidOutControl> layout_;
};

HWND findMainWindow() {
    HWND found = nullptr;
    app_test::waitFor(
        [&] {
            found = FindWindowW(nullptr, L"すたきば");
            return found && IsWindowVisible(found);
        },
        60000);
    return found;
}

int drive(const std::vector<std::wstring>& args) {
    if (args.size() != 6 || (args[2] != L"modem" && args[2] != L"mail")) {
        return fail("usage: demo-driver PROJECT modem|mail CENTRE PHONE MESSAGE");
    }
    std::vector<LaidOutControl> layout = app_test::readLayout(args[1], "Window1Layout");
    if (layout.empty()) return fail("no layout of the main window in " + narrow(args[1]));
    HWND hwnd = findMainWindow();
    if (!hwnd) return fail("the main window did not appear");
    const MainWindow window(hwnd, std::move(layout));
    const bool byMail = args[2] == L"mail";

    if (!window.setCheck("Check_Email", byMail)) return fail("cannot set Check_Email");
    if (!window.setText("Edit_Center", args[3]) || !window.setText("Edit_Phone", args[4]) ||
        !window.setText("Edit_Msg", args[5])) {
        return fail("cannot fill in the centre, the recipient and the message");
    }
    // "送信" is PushButton(1), "メッセージ送信" PushButton(3).
    if (!window.click("PushButton", byMail ? 3 : 1)) return fail("the send button is missing or disabled");
    std::printf("demo-driver: %s send started\n", byMail ? "mail" : "modem");
    return 0;
}

}  // namespace

int main() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv) return fail("no command line");
    std::vector<std::wstring> args(argv, argv + count);
    LocalFree(argv);
    return drive(args);
}
