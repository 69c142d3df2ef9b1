#include "AppDriver.h"

#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "support/MessageBoxWatcher.h"
#include "support/PngWriter.h"
#include "support/RealInput.h"

namespace app_test {
namespace {

constexpr DWORD kMessageTimeoutMs = 5000;

std::string trimmed(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return {};
    const size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

std::string unquoted(const std::string& value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
    return value;
}

LRESULT sendTo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result)) return -1;
    return static_cast<LRESULT>(result);
}

std::wstring windowClass(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

RECT clientRectOf(HWND child, HWND window) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

struct ProcessWindows {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK collectProcessWindow(HWND hwnd, LPARAM data) {
    auto* s = reinterpret_cast<ProcessWindows*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == s->processId) s->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> topLevelWindowsOf(DWORD processId) {
    ProcessWindows search{processId, {}};
    EnumWindows(collectProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct PlacedControl {
    HWND window;
    const LaidOutControl* c;
    HWND exact = nullptr;
    HWND placed = nullptr;
};

// A child window in the laid-out place: same left, top and width (a pop-up
// menu's combo box is taller than its bounds), the same height preferred.
BOOL CALLBACK matchPlacedControl(HWND hwnd, LPARAM data) {
    auto* s = reinterpret_cast<PlacedControl*>(data);
    const RECT r = clientRectOf(hwnd, s->window);
    if (r.left != s->c->left || r.top != s->c->top || r.right - r.left != s->c->width) return TRUE;
    if (r.bottom - r.top == s->c->height && !s->exact) s->exact = hwnd;
    if (!s->placed) s->placed = hwnd;
    return TRUE;
}

std::wstring titleOf(HWND hwnd) {
    wchar_t title[256] = {};
    GetWindowTextW(hwnd, title, 256);
    return title;
}

void key(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
    Sleep(30);
}

}  // namespace

std::vector<LaidOutControl> readLayout(const std::wstring& path, const std::string& window) {
    std::vector<LaidOutControl> controls;
    std::istringstream in(readFileBytes(path));
    std::string line;
    bool inWindow = false;
    bool inControl = false;
    LaidOutControl current;
    while (std::getline(in, line)) {
        const std::string t = trimmed(line);
        if (!inWindow) {
            inWindow = t == "window " + window + " {";
            continue;
        }
        if (line.rfind("}", 0) == 0) break;
        if (t.rfind("control ", 0) == 0) {
            inControl = true;
            current = LaidOutControl{};
            std::istringstream words(t.substr(8));
            words >> current.className;
            continue;
        }
        if (inControl && t == "}") {
            controls.push_back(current);
            inControl = false;
            continue;
        }
        if (!inControl || t.rfind("property ", 0) != 0) continue;
        const std::string rest = t.substr(9);
        const size_t space = rest.find(' ');
        const std::string key = rest.substr(0, space);
        const std::string value = space == std::string::npos ? "" : unquoted(trimmed(rest.substr(space + 1)));
        if (key == "Name") current.name = value;
        else if (key == "Index") current.index = std::stoi(value);
        else if (key == "TabPanelIndex") current.tab = std::stoi(value);
        else if (key == "Left") current.left = std::stoi(value);
        else if (key == "Top") current.top = std::stoi(value);
        else if (key == "Width") current.width = std::stoi(value);
        else if (key == "Height") current.height = std::stoi(value);
    }
    return controls;
}

std::wstring hostPath(const std::string& path) {
    std::wstring result = L"Z:";
    for (char c : path) result += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return result;
}

std::string shiftJis(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(932, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(932, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring fromShiftJis(const std::string& bytes) {
    if (bytes.empty()) return {};
    const int n = MultiByteToWideChar(932, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::wstring out(size_t(n), L'\0');
    MultiByteToWideChar(932, 0, bytes.data(), int(bytes.size()), out.data(), n);
    return out;
}

std::string readFileBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

bool writeFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    return ok;
}

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
}

RunningApp::RunningApp(std::wstring exe, std::wstring folder, std::vector<LaidOutControl> layout)
    : exe_(std::move(exe)), folder_(std::move(folder)), layout_(std::move(layout)) {}

RunningApp::~RunningApp() {
    if (info_.hProcess) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 10000);
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

bool RunningApp::start() {
    std::wstring commandLine = L"\"" + exe_ + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exe_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &startup,
                        &info_)) {
        failure_ = "cannot start the program";
        return false;
    }
    const DWORD started = GetTickCount();
    while (GetTickCount() - started < 90000) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(info_.hProcess, &code);
            failure_ = "the program ended with code " + std::to_string(code);
            return false;
        }
        if (auto box = testing_support::dismissMessageBox(info_.dwProcessId, 100)) {
            failure_ = "message box: " + box->text;
            return false;
        }
        for (HWND hwnd : topLevelWindowsOf(info_.dwProcessId)) {
            if (titleOf(hwnd) == L"すたきば" && IsWindowVisible(hwnd)) window_ = hwnd;
        }
        if (window_ && control("Edit_Port") && control("Serial_Popup")) {
            // Open has run once the port menu holds its rows and the program
            // waits for input.
            if (waitFor([&] { return popupCount("Serial_Popup") > 0; }, 20000)) {
                WaitForInputIdle(info_.hProcess, 20000);
                return true;
            }
        }
        Sleep(100);
    }
    failure_ = "the main window did not appear";
    return false;
}

const LaidOutControl* RunningApp::laidOut(const std::string& name, int index) const {
    for (const LaidOutControl& c : layout_) {
        if (c.name == name && c.index == index) return &c;
    }
    return nullptr;
}

HWND RunningApp::control(const std::string& name, int index) const {
    const LaidOutControl* c = laidOut(name, index);
    if (!c || !window_) return nullptr;
    PlacedControl search{window_, c};
    EnumChildWindows(window_, matchPlacedControl, reinterpret_cast<LPARAM>(&search));
    return search.exact ? search.exact : search.placed;
}

std::wstring RunningApp::text(const std::string& name, int index) const {
    HWND hwnd = control(name, index);
    if (!hwnd) return L"<no control " + std::wstring(name.begin(), name.end()) + L">";
    const LRESULT length = sendTo(hwnd, WM_GETTEXTLENGTH, 0, 0);
    if (length < 0) return L"<no answer>";
    std::wstring buffer(size_t(length) + 1, L'\0');
    const LRESULT n = sendTo(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(n > 0 ? size_t(n) : 0);
    return buffer;
}

void RunningApp::setText(const std::string& name, const std::wstring& text) {
    if (HWND hwnd = control(name)) sendTo(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool RunningApp::checked(const std::string& name) const {
    HWND hwnd = control(name);
    return hwnd && sendTo(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool RunningApp::enabled(const std::string& name, int index) const {
    HWND hwnd = control(name, index);
    return hwnd && IsWindowEnabled(hwnd);
}

// The button's own notification, as a click on it sends: no pointer, no
// capture, so a button on a hidden tab is clicked the same way.
void RunningApp::click(const std::string& name, int index) {
    HWND hwnd = control(name, index);
    if (!hwnd) return;
    PostMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
                 reinterpret_cast<LPARAM>(hwnd));
    sendTo(window_, WM_NULL, 0, 0);
}

int RunningApp::popupCount(const std::string& name) const {
    HWND hwnd = control(name);
    return hwnd ? int(sendTo(hwnd, CB_GETCOUNT, 0, 0)) : -1;
}

int RunningApp::popupSelection(const std::string& name) const {
    HWND hwnd = control(name);
    return hwnd ? int(sendTo(hwnd, CB_GETCURSEL, 0, 0)) : -2;
}

std::wstring RunningApp::popupRow(const std::string& name, int row) const {
    HWND hwnd = control(name);
    if (!hwnd) return L"<no control>";
    const LRESULT length = sendTo(hwnd, CB_GETLBTEXTLEN, row, 0);
    if (length < 0) return L"<no row>";
    std::wstring buffer(size_t(length) + 1, L'\0');
    const LRESULT n = sendTo(hwnd, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(n > 0 ? size_t(n) : 0);
    return buffer;
}

void RunningApp::choosePopupRow(const std::string& name, int row) {
    HWND hwnd = control(name);
    if (!hwnd) return;
    sendTo(hwnd, CB_SETCURSEL, row, 0);
    PostMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(hwnd));
    sendTo(window_, WM_NULL, 0, 0);
}

void RunningApp::bringToFront() {
    SetForegroundWindow(window_);
    waitFor([&] { return GetForegroundWindow() == window_; }, 2000);
}

void RunningApp::clickScreen(int x, int y, bool pauseWhilePressed) const {
    using testing_support::absoluteMouseInput;
    const POINT target{x, y};
    // The program follows the pointer by its moves: it sees some over the
    // target before the press. Every event carries the target point: a busy
    // program that reads old pointer motion late can set the pointer back,
    // and a press at "the current place" would then land there.
    INPUT move[2] = {absoluteMouseInput(POINT{x + 1, y}, 0), absoluteMouseInput(target, 0)};
    SendInput(2, move, sizeof(INPUT));
    Sleep(250);
    INPUT input[2] = {absoluteMouseInput(target, MOUSEEVENTF_LEFTDOWN),
                      absoluteMouseInput(target, MOUSEEVENTF_LEFTUP)};
    if (pauseWhilePressed) {
        SendInput(1, &input[0], sizeof(INPUT));
        Sleep(60);
        SendInput(1, &input[1], sizeof(INPUT));
    } else {
        SendInput(2, input, sizeof(INPUT));
    }
    Sleep(60);
}

bool RunningApp::chooseBevelRow(const std::string& name, int position) {
    HWND hwnd = control(name);
    if (!hwnd) return false;
    bringToFront();
    RECT r{};
    GetWindowRect(hwnd, &r);
    HWND menu = nullptr;
    auto menuOpen = [&] {
        menu = nullptr;
        for (HWND w : topLevelWindowsOf(info_.dwProcessId)) {
            if (windowClass(w) == L"#32768" && IsWindowVisible(w)) menu = w;
        }
        return menu != nullptr;
    };
    // Pressed and released at once: a release that reaches the menu once it
    // is open would choose the row under the pointer. A press that arrives
    // while the program still finishes the last choice is tried again.
    bool opened = false;
    for (int attempt = 0; attempt < 3 && !opened; ++attempt) {
        sendTo(window_, WM_NULL, 0, 0);
        clickScreen((r.left + r.right) / 2, (r.top + r.bottom) / 2, false);
        opened = waitFor(menuOpen, 4000);
    }
    if (!opened) return false;
    // A tall menu may open under the pointer: the pointer leaves it.
    RECT area{};
    GetWindowRect(menu, &area);
    INPUT away[2] = {testing_support::absoluteMouseInput(POINT{area.right + 40, area.top + 10}, 0),
                     testing_support::absoluteMouseInput(POINT{area.right + 41, area.top + 10}, 0)};
    SendInput(2, away, sizeof(INPUT));
    Sleep(200);
    // Home selects the first row whatever the pointer highlighted.
    key(VK_HOME, false), key(VK_HOME, true);
    for (int i = 0; i < position; ++i) key(VK_DOWN, false), key(VK_DOWN, true);
    key(VK_RETURN, false);
    key(VK_RETURN, true);
    const bool closed = waitFor([&] { return !menuOpen(); }, 15000);
    sendTo(window_, WM_NULL, 0, 0);
    return closed;
}

// The title of tab `index` (from 0) in screen coordinates. The tab control
// writes the rectangle into the program's own memory, so it is asked with a
// buffer allocated there.
bool RunningApp::tabTitle(HWND tabs, int index, RECT* title) const {
    void* buffer = VirtualAllocEx(info_.hProcess, nullptr, sizeof(RECT), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!buffer) return false;
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                             kMessageTimeoutMs, &answer)) {
        // The message may still be handled later and write there: the
        // buffer stays with the program.
        return false;
    }
    SIZE_T read = 0;
    const bool got = answer && ReadProcessMemory(info_.hProcess, buffer, title, sizeof(RECT), &read) &&
                     read == sizeof(RECT);
    VirtualFreeEx(info_.hProcess, buffer, 0, MEM_RELEASE);
    if (got) MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(title), 2);
    return got;
}

bool RunningApp::showTab(int tab) {
    const LaidOutControl* witness = nullptr;
    for (const LaidOutControl& c : layout_) {
        if (c.tab == tab && control(c.name, c.index)) {
            witness = &c;
            break;
        }
    }
    HWND panel = control("TabPanel1");
    if (!witness || !panel) return false;
    HWND shown = control(witness->name, witness->index);
    if (IsWindowVisible(shown)) return true;
    HWND tabs = windowClass(panel) == WC_TABCONTROLW ? panel : FindWindowExW(panel, nullptr, WC_TABCONTROLW, nullptr);
    RECT title{};
    if (!tabs || !tabTitle(tabs, tab - 1, &title)) return false;
    bringToFront();
    // Clicking a shown tab's title again changes nothing: a click the busy
    // program lost is simply repeated.
    for (int attempt = 0; attempt < 3; ++attempt) {
        clickScreen((title.left + title.right) / 2, (title.top + title.bottom) / 2);
        if (waitFor([&] { return IsWindowVisible(shown) != FALSE; }, 4000)) return true;
    }
    return false;
}

COLORREF RunningApp::textColour(const std::string& name) const {
    HWND hwnd = control(name);
    if (!hwnd) return CLR_INVALID;
    RECT r{};
    GetWindowRect(hwnd, &r);
    HDC screen = GetDC(nullptr);
    std::map<COLORREF, int> saturated;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF c = GetPixel(screen, x, y);
            const int red = GetRValue(c), green = GetGValue(c), blue = GetBValue(c);
            const int high = std::max({red, green, blue}), low = std::min({red, green, blue});
            if (high - low < 200) continue;
            ++saturated[RGB(red > 127 ? 255 : 0, green > 127 ? 255 : 0, blue > 127 ? 255 : 0)];
        }
    }
    ReleaseDC(nullptr, screen);
    COLORREF best = CLR_INVALID;
    int count = 0;
    for (const auto& [colour, n] : saturated) {
        if (n > count) best = colour, count = n;
    }
    return best;
}

void RunningApp::pressKeys(const std::vector<WORD>& keys, bool withControl) {
    if (withControl) key(VK_CONTROL, false);
    for (WORD k : keys) key(k, false), key(k, true);
    if (withControl) key(VK_CONTROL, true);
}

HWND RunningApp::ownWindow(const std::wstring& title) const {
    for (HWND hwnd : topLevelWindowsOf(info_.dwProcessId)) {
        if (hwnd != window_ && titleOf(hwnd) == title) return hwnd;
    }
    return nullptr;
}

HWND RunningApp::waitForFileDialog() const {
    HWND dialog = nullptr;
    waitFor([&] {
        for (HWND w = GetTopWindow(nullptr); w; w = GetNextWindow(w, GW_HWNDNEXT)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            wchar_t cls[16] = {};
            GetClassNameW(w, cls, 16);
            if (owner == info_.dwProcessId && std::wstring(cls) == L"#32770" && IsWindowVisible(w)) dialog = w;
        }
        return dialog != nullptr;
    });
    return dialog;
}

bool RunningApp::answerFileDialog(HWND dialog, const std::wstring& path) {
    // The name field is a plain edit, or the edit inside the dialog's combo box.
    HWND nameField = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
    if (!nameField) {
        HWND combo = FindWindowExW(dialog, nullptr, L"ComboBoxEx32", nullptr);
        if (!combo) combo = FindWindowExW(dialog, nullptr, L"ComboBox", nullptr);
        nameField = combo ? FindWindowExW(combo, nullptr, nullptr, nullptr) : nullptr;
        if (nameField && FindWindowExW(nameField, nullptr, L"Edit", nullptr)) {
            nameField = FindWindowExW(nameField, nullptr, L"Edit", nullptr);
        }
    }
    if (!nameField) return false;
    // A dialog still settling (its activation, its file list taking the focus)
    // can put a listed file's name into the field: the name is typed once the
    // dialog is the active window of its thread.
    const DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
    const bool active = waitFor([&] {
        GUITHREADINFO info{sizeof info};
        return GetGUIThreadInfo(thread, &info) && info.hwndActive == dialog && info.hwndFocus;
    }, 5000);
    if (!active) return false;
    SendMessageW(nameField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    // Sent right after the name, not posted behind whatever input is queued.
    // A dialog that answers with a message box (no such file) does not
    // return from it: false after a while.
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(dialog, WM_COMMAND, IDOK, 0, SMTO_NORMAL, 5000, &ignored) != 0;
}

bool RunningApp::waitForExit(DWORD* exitCode, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(info_.hProcess, 100) == WAIT_TIMEOUT) {
        if (auto box = testing_support::dismissMessageBox(info_.dwProcessId, 50)) failure_ = "message box: " + box->text;
        if (GetTickCount() - start > timeoutMs) return false;
    }
    GetExitCodeProcess(info_.hProcess, exitCode);
    return true;
}

bool RunningApp::closeAndWait(DWORD* exitCode, DWORD timeoutMs) {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return waitForExit(exitCode, timeoutMs);
}

bool RunningApp::screenshot(const std::string& path) const { return testing_support::writeScreenshot(path); }

}  // namespace app_test
