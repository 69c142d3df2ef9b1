// Drives the real sutakiba.exe from outside, as a user would: starts it in a
// folder of its own, finds its main window and the controls on it by the
// places the window layout gives them, types, clicks, chooses rows, reads
// texts, check marks and the colours on the screen, and closes it.
#pragma once

#include <windows.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace app_test {

// One control of a window layout of the project description.
struct LaidOutControl {
    std::string className;
    std::string name;
    int index = INT_MIN;  // none
    int tab = 0;          // 0: not on a tab
    int left = 0, top = 0, width = 0, height = 0;
};

// The controls of the layout `window` of the project description at `path`.
std::vector<LaidOutControl> readLayout(const std::wstring& path, const std::string& window);

// A path of the Linux side as Wine shows it (drive Z:).
std::wstring hostPath(const std::string& path);

// Text in the Shift-JIS bytes the application reads and writes.
std::string shiftJis(const std::wstring& text);
std::wstring fromShiftJis(const std::string& bytes);

std::string readFileBytes(const std::wstring& path);
bool writeFileBytes(const std::wstring& path, const std::string& bytes);
bool fileExists(const std::wstring& path);

// Waits up to `timeoutMs` for `condition`.
bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

class RunningApp {
public:
    RunningApp(std::wstring exe, std::wstring folder, std::vector<LaidOutControl> layout);
    ~RunningApp();
    RunningApp(const RunningApp&) = delete;
    RunningApp& operator=(const RunningApp&) = delete;

    // Starts the program and waits for its main window "すたきば". False, with
    // the reason in failure(), when it does not appear (a message box the
    // program showed is read and dismissed).
    bool start();
    const std::string& failure() const { return failure_; }
    HWND window() const { return window_; }
    DWORD processId() const { return info_.dwProcessId; }

    HWND control(const std::string& name, int index = INT_MIN) const;
    const LaidOutControl* laidOut(const std::string& name, int index = INT_MIN) const;

    std::wstring text(const std::string& name, int index = INT_MIN) const;
    void setText(const std::string& name, const std::wstring& text);
    bool checked(const std::string& name) const;
    bool enabled(const std::string& name, int index = INT_MIN) const;
    void click(const std::string& name, int index = INT_MIN);

    // Pop-up menus.
    int popupCount(const std::string& name) const;
    int popupSelection(const std::string& name) const;
    std::wstring popupRow(const std::string& name, int row) const;
    void choosePopupRow(const std::string& name, int row);

    // Opens the drop-down menu of a bevel button and chooses its row
    // `position` among the rows that are not separators (from 0).
    bool chooseBevelRow(const std::string& name, int position);

    // Shows the tab (1 to 4) by clicking its title.
    bool showTab(int tab);

    // The colour most of the text pixels of a control have on the screen.
    COLORREF textColour(const std::string& name) const;

    // Keys typed into the program's active window.
    void pressKeys(const std::vector<WORD>& keys, bool withControl = false);
    void bringToFront();

    // A top-level window of the program with this title (not the main one).
    HWND ownWindow(const std::wstring& title) const;

    // The program's file dialog once it is shown, else nullptr after the wait.
    HWND waitForFileDialog() const;
    // Types `path` into a file dialog's name field and confirms it; false when
    // the dialog has no name field, does not become active, or does not take
    // the name.
    static bool answerFileDialog(HWND dialog, const std::wstring& path);

    // Asks the window to close and waits for the process to end.
    bool closeAndWait(DWORD* exitCode, DWORD timeoutMs = 30000);
    bool waitForExit(DWORD* exitCode, DWORD timeoutMs = 30000);

    // The whole screen as a PNG test artifact.
    bool screenshot(const std::string& path) const;

    // A real click at a place on the screen, as a hand on the mouse makes it.
    void clickScreen(int x, int y, bool pauseWhilePressed = true) const;

private:
    bool tabTitle(HWND tabs, int index, RECT* title) const;

    std::wstring exe_;
    std::wstring folder_;
    std::vector<LaidOutControl> layout_;
    PROCESS_INFORMATION info_{};
    HWND window_ = nullptr;
    std::string failure_;
};

}  // namespace app_test
