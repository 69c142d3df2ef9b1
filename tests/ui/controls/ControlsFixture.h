// Windows with real controls built from layouts, under Wine: C++ functions
// stand in for the compiled handlers of the classes the fixture declares.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"
#include "objects/WindowLayout.h"
#include "support/LoopPasses.h"

namespace controls_test {

// What the handlers saw, in order ("A:name " for an Action and so on).
extern std::string gTrace;
// The check box Action handler sets its own Value to this when >= 0.
extern int gCheckValueInAction;

struct Classes {
    int32_t window, pushButton, checkBox, radioButton, staticText, groupBox, progressBar, tabPanel, canvas,
        scrollBar, rectangle, oval, roundRectangle, rectControl, line, popupMenu;
    // Compiled subclasses whose handlers trace.
    int32_t traceWindow, traceButton, closingButton, traceCheck, traceRadio, traceTab, traceCanvas, traceScroll;
    // An object told of a check box's changes ("changing:name=value " and
    // "changed:name=value " in the trace).
    int32_t checkReceiver;
};
const Classes& ix();

runtime::LayoutControl control(int32_t cls, const std::string& name, int x, int y, int width, int height,
                               std::vector<runtime::PropertyText> more = {});
runtime::WindowLayout windowLayout(std::vector<runtime::LayoutControl> controls,
                                   std::vector<runtime::PropertyText> props = {});

// An open window, closed and released at the end of the test.
class OpenWindow {
public:
    explicit OpenWindow(const runtime::WindowLayout& layout);
    ~OpenWindow();
    OpenWindow(const OpenWindow&) = delete;
    OpenWindow& operator=(const OpenWindow&) = delete;
    ObjectHandle object() const { return object_; }
    HWND handle() const;
    // The control registered under `name` (borrowed).
    ObjectHandle fetch(const char* name) const;
    // The child window of that control's pane, or null.
    HWND paneHandle(const char* name) const;
    // Brings the window to the front, active, and lets it paint.
    void activate() const;

private:
    ObjectHandle object_ = nullptr;
};

using testing_support::runPasses;
void moveMouse(POINT to);
// Clicks at a point of the screen and runs passes until `arrived` says the
// click was handled (or a bound passes).
void clickAt(POINT screen, const std::function<bool()>& arrived);
void waitFor(const std::function<bool()>& done);
POINT centreOf(HWND control);
// The rectangle of a child window in its top-level window's client area.
RECT rectInWindow(HWND child);
// Reads the screen's pixels in a rectangle of screen coordinates.
std::vector<COLORREF> screenPixels(const RECT& area);
// Counts the pixels of a window area (client coordinates of `window`) that
// have `colour`.
int countColour(HWND window, const RECT& area, COLORREF colour);
// A string value with the Shift-JIS form of `text`; the caller releases it.
StringHandle sjis(const wchar_t* text);
std::string sjisBytes(const wchar_t* text);

}  // namespace controls_test
