// The simple controls through their routines and through real input.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <malloc.h>

#include "support/RealInput.h"
#include "ControlsFixture.h"
#include "objects/ObjectEntries.h"
#include "support/PngWriter.h"
#include "text/StringValue.h"
#include "ui/ControlEntries.h"
#include "ui/ControlFields.h"
#include "ui/NativeWindow.h"
#include "ui/Pane.h"
#include "ui/WindowFields.h"
#include "ui/controls/ControlKind.h"
#include "ui/controls/SimpleControlEntries.h"
#include "ui/lists/PopupMenuEntries.h"

using namespace runtime;
using namespace controls_test;

namespace {

LONG buttonKind(HWND h) { return GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK; }

TEST(PushButtons, DefaultStyleFollowsTheFocusAndActionComesFromClicksAndPush) {
    OpenWindow w(windowLayout({control(ix().traceButton, "ok", 10, 10, 80, 24, {{"Default", "True"}}),
                               control(ix().traceButton, "other", 100, 10, 80, 24),
                               control(ix().checkBox, "check", 200, 10, 80, 24)}));
    w.activate();
    EXPECT_EQ(GetWindowLongW(w.paneHandle("ok"), GWL_STYLE) & WS_VISIBLE, WS_VISIBLE);
    EXPECT_EQ(buttonKind(w.paneHandle("ok")), BS_DEFPUSHBUTTON);
    EXPECT_EQ(buttonKind(w.paneHandle("other")), BS_PUSHBUTTON);
    RuntimeSetFocus(w.fetch("other"));  // the focused push button is drawn as the default
    runPasses(2);
    EXPECT_EQ(buttonKind(w.paneHandle("other")), BS_DEFPUSHBUTTON);
    EXPECT_EQ(buttonKind(w.paneHandle("ok")), BS_PUSHBUTTON);
    RuntimeSetFocus(w.fetch("check"));  // focus off the buttons: the Default one again
    runPasses(2);
    EXPECT_EQ(buttonKind(w.paneHandle("ok")), BS_DEFPUSHBUTTON);
    EXPECT_EQ(buttonKind(w.paneHandle("other")), BS_PUSHBUTTON);
    pushButtonDefaultSetter(w.fetch("ok"), false);
    EXPECT_EQ(buttonKind(w.paneHandle("ok")), BS_PUSHBUTTON);

    gTrace.clear();
    clickAt(centreOf(w.paneHandle("other")), [] { return !gTrace.empty(); });
    pushButtonPush(w.fetch("ok"));
    EXPECT_EQ(gTrace, "A:other A:ok ");
    controlEnabledSetter(w.fetch("ok"), false);
    gTrace.clear();
    pushButtonPush(w.fetch("ok"));  // only while enabled
    EXPECT_EQ(gTrace, "");
}

TEST(PushButtons, ReturnAndEscapePushTheDefaultAndCancelButtons) {
    OpenWindow w(windowLayout({control(ix().traceButton, "ok", 10, 10, 80, 24, {{"Default", "True"}}),
                               control(ix().traceButton, "cancel", 100, 10, 80, 24, {{"Cancel", "True"}}),
                               control(ix().traceCheck, "check", 200, 10, 80, 24)}));
    w.activate();
    RuntimeSetFocus(w.fetch("check"));
    gTrace.clear();
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
    runPasses(3);
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
    runPasses(3);
    EXPECT_EQ(gTrace, "A:ok A:cancel ");
}

TEST(PushButtons, CaptionIsTheWindowTextInShiftJis) {
    StringHandle send = sjis(L"送信");
    OpenWindow w(windowLayout({control(ix().pushButton, "b", 10, 10, 80, 24, {{"Caption", sjisBytes(L"中止")}})}));
    wchar_t text[16] = {};
    GetWindowTextW(w.paneHandle("b"), text, 16);
    EXPECT_STREQ(text, L"中止");
    pushButtonTitleSetter(w.fetch("b"), send);
    GetWindowTextW(w.paneHandle("b"), text, 16);
    EXPECT_STREQ(text, L"送信");
    StringValue read = StringValue::adopt(pushButtonTitleGetter(w.fetch("b")));
    EXPECT_EQ(viewOf(read.get()), sjisBytes(L"送信"));
    StringValue::adopt(send);
}

TEST(CheckBoxes, EveryStateChangeRaisesActionOnceAndNotFromItsOwnAction) {
    OpenWindow w(windowLayout({control(ix().traceCheck, "c", 10, 10, 120, 24, {{"Value", "True"}})}));
    w.activate();
    ObjectHandle c = w.fetch("c");
    HWND h = w.paneHandle("c");
    EXPECT_EQ(SendMessageW(h, BM_GETCHECK, 0, 0), BST_CHECKED);  // the initial state from Value
    gTrace.clear();
    checkBoxValueSetter(c, true);  // the same value still notifies, once
    EXPECT_EQ(gTrace, "A:c=1 ");
    gTrace.clear();
    clickAt(centreOf(h), [] { return !gTrace.empty(); });  // a click flips the state
    EXPECT_EQ(gTrace, "A:c=0 ");
    EXPECT_FALSE(checkBoxValueGetter(c));
    EXPECT_EQ(SendMessageW(h, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // An Action handler that sets the Value again changes the state without a second Action.
    gCheckValueInAction = 0;
    gTrace.clear();
    checkBoxValueSetter(c, true);
    gCheckValueInAction = -1;
    EXPECT_EQ(gTrace, "A:c=1 ");
    EXPECT_FALSE(checkBoxValueGetter(c));
    EXPECT_EQ(SendMessageW(h, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    // The guard was cleared: the next change notifies again.
    gTrace.clear();
    checkBoxValueSetter(c, true);
    EXPECT_EQ(gTrace, "A:c=1 ");
}

TEST(CheckBoxes, ReceiversAreToldAroundActionUntilRemoved) {
    OpenWindow w(windowLayout({control(ix().traceCheck, "c", 10, 10, 120, 24)}));
    w.activate();
    ObjectHandle c = w.fetch("c");
    ObjectHandle receiver = RuntimeNewObject(ix().checkReceiver);
    ASSERT_NE(receiver, nullptr);
    const int32_t refs = receiver->refCount;
    checkBoxAddDataNotificationReceiver(c, receiver);
    EXPECT_EQ(receiver->refCount, refs + 1);

    gTrace.clear();
    checkBoxValueSetter(c, true);
    EXPECT_EQ(gTrace, "changing:c=1 A:c=1 changed:c=1 ");
    gTrace.clear();
    clickAt(centreOf(w.paneHandle("c")), [] { return gTrace.find("changed") != std::string::npos; });
    EXPECT_EQ(gTrace, "changing:c=0 A:c=0 changed:c=0 ");
    // A change made by Action itself tells nobody again; the receivers see its result.
    gCheckValueInAction = 0;
    gTrace.clear();
    checkBoxValueSetter(c, true);
    gCheckValueInAction = -1;
    EXPECT_EQ(gTrace, "changing:c=1 A:c=1 changed:c=0 ");

    checkBoxRemoveDataNotificationReceiver(c, receiver);
    EXPECT_EQ(receiver->refCount, refs);
    checkBoxRemoveDataNotificationReceiver(c, receiver);  // not there: nothing happens
    checkBoxAddDataNotificationReceiver(c, nullptr);
    gTrace.clear();
    checkBoxValueSetter(c, true);
    EXPECT_EQ(gTrace, "A:c=1 ");

    // A check box without a pane keeps its receivers, and lets them go with itself.
    ObjectHandle stored = RuntimeNewObject(ix().checkBox);
    checkBoxAddDataNotificationReceiver(stored, receiver);
    EXPECT_EQ(receiver->refCount, refs + 1);
    RuntimeUnlockObject(stored);
    EXPECT_EQ(receiver->refCount, refs);
    RuntimeUnlockObject(receiver);
}

TEST(RadioButtons, AGroupBoxMakesAGroupOfTheButtonsInsideIt) {
    std::vector<LayoutControl> controls{control(ix().groupBox, "box", 10, 10, 180, 140, {{"Caption", "Box"}})};
    for (int i = 0; i < 3; ++i) {
        controls.push_back(control(ix().traceRadio, "in" + std::to_string(i), 20, 30 + 35 * i, 120, 24));
    }
    controls.push_back(control(ix().traceRadio, "out0", 220, 30, 120, 24));
    controls.push_back(control(ix().traceRadio, "out1", 220, 65, 120, 24));
    OpenWindow w(windowLayout(controls));
    w.activate();
    auto checked = [&](const char* name) { return SendMessageW(w.paneHandle(name), BM_GETCHECK, 0, 0) == BST_CHECKED; };
    radioValueSetter(w.fetch("in0"), true);
    radioValueSetter(w.fetch("out0"), true);
    gTrace.clear();
    clickAt(centreOf(w.paneHandle("in2")), [] { return !gTrace.empty(); });
    EXPECT_EQ(gTrace, "A:in2 ");
    EXPECT_TRUE(checked("in2"));
    EXPECT_FALSE(checked("in0"));
    EXPECT_FALSE(radioValueGetter(w.fetch("in0")));
    EXPECT_TRUE(checked("out0"));  // the other group keeps its choice
    gTrace.clear();
    radioValueSetter(w.fetch("out1"), true);
    EXPECT_EQ(gTrace, "A:out1 ");
    EXPECT_FALSE(checked("out0"));
    EXPECT_TRUE(checked("in2"));
    gTrace.clear();
    radioValueSetter(w.fetch("in1"), false);  // unchecking raises nothing
    EXPECT_EQ(gTrace, "");
}

TEST(TabPanels, TabsSplitAtNulAndTheSelectedTabShowsItsControls) {
    const std::string definition("A\0B", 3);
    OpenWindow w(windowLayout({control(ix().traceTab, "tabs", 10, 10, 300, 200, {{"TabDefinition", definition}}),
                               control(ix().traceButton, "first", 30, 50, 80, 24, {{"TabPanelIndex", "1"}}),
                               control(ix().traceButton, "second", 30, 90, 80, 24, {{"TabPanelIndex", "2"}}),
                               control(ix().traceButton, "outside", 320, 50, 80, 24, {{"TabPanelIndex", "2"}})}));
    w.activate();
    HWND tabs = w.paneHandle("tabs");
    ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
    wchar_t text[8] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 8;
    SendMessageW(tabs, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, L"B");
    EXPECT_TRUE(IsWindowVisible(w.paneHandle("first")));
    EXPECT_FALSE(IsWindowVisible(w.paneHandle("second")));
    EXPECT_TRUE(IsWindowVisible(w.paneHandle("outside")));  // not inside the panel

    gTrace.clear();
    tabPanelValueSetter(w.fetch("tabs"), 1);
    EXPECT_EQ(gTrace, "C:1 ");
    EXPECT_EQ(tabPanelValueGetter(w.fetch("tabs")), 1);
    EXPECT_FALSE(IsWindowVisible(w.paneHandle("first")));
    EXPECT_TRUE(IsWindowVisible(w.paneHandle("second")));
    // Hidden by its tab, a control keeps its own Visible.
    EXPECT_TRUE(controlVisibleGetter(w.fetch("first")));

    // A click on the first tab selects it through TCN_SELCHANGE.
    RECT tabRect{};
    SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tabRect));
    POINT p{(tabRect.left + tabRect.right) / 2, (tabRect.top + tabRect.bottom) / 2};
    ClientToScreen(tabs, &p);
    gTrace.clear();
    clickAt(p, [] { return !gTrace.empty(); });
    EXPECT_EQ(gTrace, "C:0 ");
    EXPECT_TRUE(IsWindowVisible(w.paneHandle("first")));
    EXPECT_FALSE(IsWindowVisible(w.paneHandle("second")));
}

TEST(TabPanels, APanelMadeBeforeItsPagesControlsDoesNotPaintOverThem) {
    OpenWindow w(windowLayout({control(ix().tabPanel, "tabs", 10, 10, 300, 200, {{"TabDefinition", "Page"}}),
                               control(ix().rectangle, "mark", 40, 60, 60, 40,
                                       {{"TabPanelIndex", "1"}, {"FillColor", "16711680"}, {"BorderWidth", "0"}})}));
    w.activate();
    InvalidateRect(w.paneHandle("tabs"), nullptr, TRUE);  // the panel repaints last
    UpdateWindow(w.paneHandle("tabs"));
    runPasses(3);
    EXPECT_EQ(countColour(w.handle(), RECT{40, 60, 100, 100}, RGB(255, 0, 0)), 60 * 40);
}

TEST(TabPanels, APopupMenuNearTheBottomOfAPageBelongsToThatPage) {
    const std::string definition("A\0B", 3);
    // The combo box is 200 pixels taller than the control, far past the panel.
    OpenWindow w(windowLayout({control(ix().tabPanel, "tabs", 10, 10, 300, 200, {{"TabDefinition", definition}}),
                               control(ix().popupMenu, "port", 30, 170, 120, 24, {{"TabPanelIndex", "2"}})}));
    HWND port = w.paneHandle("port");
    ASSERT_NE(port, nullptr);
    EXPECT_FALSE(IsWindowVisible(port));
    tabPanelValueSetter(w.fetch("tabs"), 1);
    EXPECT_TRUE(IsWindowVisible(port));
    RECT r;
    GetWindowRect(port, &r);
    EXPECT_EQ(r.right - r.left, 120);
    // Moved, the combo box keeps the drop-down list's extra height.
    ctlPosSetter(w.fetch("port"), 1, 160);
    EXPECT_EQ(rectInWindow(port).top, 160);
    tabPanelValueSetter(w.fetch("tabs"), 0);
    EXPECT_FALSE(IsWindowVisible(port));
}

TEST(ProgressBars, ThirtyTwoBitRangeAndTheIndeterminateDisplay) {
    OpenWindow w(windowLayout({control(ix().progressBar, "bar", 10, 10, 200, 20,
                                       {{"Maximum", "200000"}, {"Value", "150000"}})}));
    w.activate();
    HWND bar = w.paneHandle("bar");
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 200000);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 150000);
    EXPECT_EQ(progressMaximumGetter(w.fetch("bar")), 200000);
    // Three quarters filled: the highlight reaches past 70 % of the bar and not 80 %.
    const COLORREF fill = GetSysColor(COLOR_HIGHLIGHT);
    const RECT r = rectInWindow(bar);
    const int y = (r.top + r.bottom) / 2;
    auto filledAt = [&](int percent) {
        const int x = r.left + (r.right - r.left) * percent / 100;
        return countColour(w.handle(), RECT{x, y, x + 1, y + 1}, fill) == 1;
    };
    EXPECT_TRUE(filledAt(20));
    EXPECT_TRUE(filledAt(70));
    EXPECT_FALSE(filledAt(80));

    progressMaximumSetter(w.fetch("bar"), 0);
    HWND overlay = controls::progressOverlayHandle(w.fetch("bar"));
    ASSERT_NE(overlay, nullptr);
    EXPECT_TRUE(IsWindowVisible(overlay));
    // The block walks: some pass moves it away from the left end.
    const RECT firstBlock{r.left + 2, y, r.left + 6, y + 1};
    bool moved = false;
    for (int i = 0; i < 200 && !moved; ++i) {
        runPasses(1);
        Sleep(5);
        UpdateWindow(overlay);
        moved = countColour(w.handle(), firstBlock, fill) == 0 && countColour(w.handle(), r, fill) > 0;
    }
    EXPECT_TRUE(moved);
    progressMaximumSetter(w.fetch("bar"), 100);
    EXPECT_EQ(controls::progressOverlayHandle(w.fetch("bar")), nullptr);
    EXPECT_FALSE(IsWindow(overlay));
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 100);
}

// The moving block belongs to its bar: a window closed while it shows
// deletes it once (a second delete corrupts the heap and ends the process).
TEST(ProgressBars, AWindowClosedWhileTheBlockMovesLetsItGoOnce) {
    for (int round = 0; round < 3; ++round) {
        OpenWindow w(windowLayout({control(ix().progressBar, "bar", 10, 10, 200, 20, {{"Maximum", "0"}})}));
        w.activate();
        ASSERT_NE(controls::progressOverlayHandle(w.fetch("bar")), nullptr);
        runPasses(2);
    }
    // The C library's own heap, where the panes live.
    EXPECT_EQ(_heapchk(), _HEAPOK);
}

// A static text keeps its caption as its window text too, so that other
// programs (a screen reader) can read what it shows.
TEST(StaticTexts, CaptionIsTheWindowText) {
    OpenWindow w(windowLayout({control(ix().staticText, "label", 10, 10, 200, 20, {{"Text", "ready"}})}));
    HWND label = w.paneHandle("label");
    wchar_t text[32] = {};
    GetWindowTextW(label, text, 32);
    EXPECT_STREQ(text, L"ready");
    const StringValue changed = StringValue::fromBytes("sending 1/2");
    staticCaptionSetter(w.fetch("label"), changed.get());
    GetWindowTextW(label, text, 32);
    EXPECT_STREQ(text, L"sending 1/2");
}

// Red pixels of a static text's pane, by thirds of its width and by halves
// of its height.
struct InkSpread {
    int left = 0, centre = 0, right = 0, top = 0, bottom = 0;
};
InkSpread inkOf(const OpenWindow& w, const char* name) {
    const RECT r = rectInWindow(w.paneHandle(name));
    const int third = (r.right - r.left) / 3, half = (r.bottom - r.top) / 2;
    const COLORREF red = RGB(255, 0, 0);
    InkSpread ink;
    ink.left = countColour(w.handle(), RECT{r.left, r.top, r.left + third, r.bottom}, red);
    ink.centre = countColour(w.handle(), RECT{r.left + third, r.top, r.right - third, r.bottom}, red);
    ink.right = countColour(w.handle(), RECT{r.right - third, r.top, r.right, r.bottom}, red);
    ink.top = countColour(w.handle(), RECT{r.left, r.top, r.right, r.top + half}, red);
    ink.bottom = countColour(w.handle(), RECT{r.left, r.top + half, r.right, r.bottom}, red);
    return ink;
}

TEST(StaticTexts, AlignmentLinesWrappingAndColour) {
    const std::vector<PropertyText> red{{"TextColor", "16711680"}, {"TextSize", "14"}};
    auto with = [&](std::vector<PropertyText> more) {
        more.insert(more.end(), red.begin(), red.end());
        return more;
    };
    OpenWindow w(windowLayout({control(ix().staticText, "left", 10, 10, 240, 40, with({{"Text", "MMM"}})),
                               control(ix().staticText, "centre", 10, 60, 240, 40,
                                       with({{"Text", "MMM"}, {"TextAlign", "1"}})),
                               control(ix().staticText, "right", 10, 110, 240, 40,
                                       with({{"Text", "MMM"}, {"TextAlign", "2"}})),
                               control(ix().staticText, "lines", 10, 160, 240, 40, with({{"Text", "MMM\r\nMMM"}})),
                               control(ix().staticText, "wrapped", 260, 10, 60, 60,
                                       with({{"Text", "MMMM MMMM"}, {"MultiLine", "True"}}))}));
    w.activate();
    InkSpread ink = inkOf(w, "left");
    EXPECT_GT(ink.left, 0);
    EXPECT_EQ(ink.centre + ink.right, 0);
    ink = inkOf(w, "centre");
    EXPECT_GT(ink.centre, 0);
    EXPECT_EQ(ink.left + ink.right, 0);
    ink = inkOf(w, "right");
    EXPECT_GT(ink.right, 0);
    EXPECT_EQ(ink.left + ink.centre, 0);
    ink = inkOf(w, "lines");  // a second line below the first
    EXPECT_GT(ink.top, 0);
    EXPECT_GT(ink.bottom, 0);
    ink = inkOf(w, "wrapped");  // word-wrapped to a second line
    EXPECT_GT(ink.top, 0);
    EXPECT_GT(ink.bottom, 0);
    const InkSpread single = inkOf(w, "left");
    EXPECT_EQ(single.bottom, 0);

    // The colour and the text change with their setters.
    staticTextColorSetter(w.fetch("left"), 0x0000FF);
    StringValue text = StringValue::fromCString("MMMMMMMMMMMMMMM");
    staticCaptionSetter(w.fetch("left"), text.get());
    UpdateWindow(w.paneHandle("left"));
    runPasses(3);
    ink = inkOf(w, "left");
    EXPECT_EQ(ink.left, 0);
    EXPECT_GT(countColour(w.handle(), rectInWindow(w.paneHandle("left")), RGB(0, 0, 255)), 0);
}

TEST(StaticTexts, ClicksOnTextsAndShapesReachTheWindowBeneath) {
    OpenWindow w(windowLayout({control(ix().staticText, "label", 20, 20, 150, 30, {{"Text", "About"}}),
                               control(ix().rectangle, "shape", 200, 20, 60, 40),
                               control(ix().traceCanvas, "pad", 200, 100, 60, 40)}));
    w.activate();
    for (const char* name : {"label", "shape"}) {
        SCOPED_TRACE(name);
        const RECT r = rectInWindow(w.paneHandle(name));
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        const std::string at = std::to_string(p.x) + "," + std::to_string(p.y);
        ClientToScreen(w.handle(), &p);
        gTrace.clear();
        clickAt(p, [] { return gTrace.find("wup") != std::string::npos; });
        EXPECT_EQ(gTrace, "wdown:" + at + " wup:" + at + " ");
    }
    // A canvas keeps its clicks.
    gTrace.clear();
    clickAt(centreOf(w.paneHandle("pad")), [] { return gTrace.find("up") != std::string::npos; });
    EXPECT_EQ(gTrace.find("wdown"), std::string::npos) << gTrace;
    EXPECT_NE(gTrace.find("down:"), std::string::npos) << gTrace;
}

TEST(ScrollBars, StepsMoveTheValueWithinItsRangeAndRaiseValueChanged) {
    OpenWindow w(windowLayout({control(ix().traceScroll, "s", 10, 10, 200, 16,
                                       {{"Minimum", "0"}, {"Maximum", "50"}, {"LineStep", "5"}, {"PageStep", "20"}})}));
    HWND bar = w.paneHandle("s");
    EXPECT_EQ(GetWindowLongW(bar, GWL_STYLE) & SBS_VERT, 0);  // wider than tall
    gTrace.clear();
    SendMessageW(w.handle(), WM_HSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bar));
    SendMessageW(w.handle(), WM_HSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(bar));
    SendMessageW(w.handle(), WM_HSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(bar));  // stops at the maximum
    SendMessageW(w.handle(), WM_HSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(bar));  // no change: no event
    SendMessageW(w.handle(), WM_HSCROLL, SB_TOP, reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(gTrace, "V:5 V:25 V:45 V:50 V:0 ");
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);
}

TEST(Canvases, PaintAndMouseEventsInControlCoordinates) {
    OpenWindow w(windowLayout({control(ix().traceCanvas, "pad", 40, 30, 120, 90)}));
    gTrace.clear();
    w.activate();
    EXPECT_NE(gTrace.find("paint:pad "), std::string::npos);
    POINT p{20, 15};
    ClientToScreen(w.paneHandle("pad"), &p);
    moveMouse(p);
    gTrace.clear();
    INPUT press = testing_support::absoluteMouseInput(p, MOUSEEVENTF_LEFTDOWN);
    SendInput(1, &press, sizeof(INPUT));
    waitFor([] { return gTrace.find("down") != std::string::npos; });
    moveMouse(POINT{p.x + 10, p.y + 5});
    press = testing_support::absoluteMouseInput(POINT{p.x + 10, p.y + 5}, MOUSEEVENTF_LEFTUP);
    SendInput(1, &press, sizeof(INPUT));
    waitFor([] { return gTrace.find("up") != std::string::npos; });
    EXPECT_EQ(gTrace, "down:20,15 drag up:30,20 ");
}

TEST(Shapes, RectanglesOvalsAndRoundRectanglesDrawTheirColours) {
    OpenWindow w(windowLayout({control(ix().rectangle, "rect", 10, 10, 60, 40,
                                       {{"FillColor", "65280"}, {"BorderColor", "255"}, {"BorderWidth", "2"}}),
                               control(ix().oval, "oval", 90, 10, 60, 40, {{"FillColor", "65280"}}),
                               control(ix().roundRectangle, "round", 170, 10, 60, 40, {{"FillColor", "65280"}})}));
    w.activate();
    const COLORREF green = RGB(0, 255, 0), blue = RGB(0, 0, 255);
    EXPECT_EQ(countColour(w.handle(), RECT{12, 12, 68, 48}, green), 56 * 36);
    EXPECT_EQ(countColour(w.handle(), RECT{10, 10, 70, 12}, blue), 60 * 2);
    // The oval leaves its corners to the window and fills its middle.
    EXPECT_EQ(countColour(w.handle(), RECT{90, 10, 92, 12}, green), 0);
    EXPECT_EQ(countColour(w.handle(), RECT{110, 25, 130, 35}, green), 20 * 10);
    EXPECT_EQ(countColour(w.handle(), RECT{170, 10, 171, 11}, green), 0);
    EXPECT_EQ(countColour(w.handle(), RECT{180, 20, 220, 40}, green), 40 * 20);
}

TEST(Shapes, LinesRunBetweenTheirPointsAndFollowLinePosSetter) {
    OpenWindow w(windowLayout({control(ix().line, "line", 0, 0, 0, 0,
                                       {{"X1", "20"}, {"Y1", "50"}, {"X2", "120"}, {"Y2", "50"},
                                        {"BorderWidth", "3"}, {"BorderColor", "16711680"}})}));
    w.activate();
    ObjectHandle line = w.fetch("line");
    const COLORREF red = RGB(255, 0, 0);
    // The pane just encloses the line and its pen.
    EXPECT_EQ(ctlPosGetter(line, 0), 19);
    EXPECT_EQ(ctlPosGetter(line, 1), 49);
    EXPECT_EQ(ctlPosGetter(line, 3), 3);
    EXPECT_EQ(countColour(w.handle(), RECT{20, 50, 120, 51}, red), 100);
    EXPECT_EQ(countColour(w.handle(), RECT{0, 0, 300, 47}, red), 0);
    EXPECT_EQ(countColour(w.handle(), RECT{0, 53, 300, 200}, red), 0);

    linePosSetter(line, 3, 90);  // Y2: now a slope down to (120, 90)
    linePosSetter(line, 9, 500);  // not a point: nothing
    UpdateWindow(w.handle());
    RedrawWindow(w.handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    runPasses(3);
    EXPECT_EQ(ctlPosGetter(line, 3), 90 + 2 - 49);
    EXPECT_GT(countColour(w.handle(), RECT{68, 68, 73, 73}, red), 0);      // the middle of the slope
    EXPECT_EQ(countColour(w.handle(), RECT{100, 48, 122, 53}, red), 0);   // the old right end is gone
    EXPECT_GT(countColour(w.handle(), RECT{116, 86, 123, 93}, red), 0);   // the new one
}

TEST(Screenshot, EveryControlKindWithJapaneseCaptions) {
    const std::string tabs = sjisBytes(L"送信") + std::string(1, '\0') + sjisBytes(L"設定");
    OpenWindow w(windowLayout(
        {control(ix().tabPanel, "tabs", 10, 10, 400, 230, {{"TabDefinition", tabs}}),
         control(ix().groupBox, "box", 20, 40, 180, 110, {{"Caption", sjisBytes(L"送信方法")}, {"TabPanelIndex", "1"}}),
         control(ix().radioButton, "modem", 30, 60, 150, 22,
                 {{"Caption", sjisBytes(L"モデム")}, {"Value", "True"}, {"TabPanelIndex", "1"}}),
         control(ix().radioButton, "mail", 30, 85, 150, 22, {{"Caption", sjisBytes(L"メール")}, {"TabPanelIndex", "1"}}),
         control(ix().checkBox, "melody", 30, 115, 150, 22,
                 {{"Caption", sjisBytes(L"メロディ付き")}, {"Value", "True"}, {"TabPanelIndex", "1"}}),
         control(ix().staticText, "label", 220, 45, 180, 40,
                 {{"Text", sjisBytes(L"相手の番号を入力してください")}, {"MultiLine", "True"}, {"TextColor", "128"},
                  {"TabPanelIndex", "1"}}),
         control(ix().progressBar, "progress", 220, 95, 180, 18,
                 {{"Maximum", "200000"}, {"Value", "150000"}, {"TabPanelIndex", "1"}}),
         control(ix().scrollBar, "scroll", 220, 125, 180, 16, {{"TabPanelIndex", "1"}}),
         control(ix().canvas, "canvas", 20, 160, 80, 70, {{"TabPanelIndex", "1"}}),
         control(ix().rectangle, "rect", 110, 165, 50, 30, {{"FillColor", "16763904"}, {"TabPanelIndex", "1"}}),
         control(ix().oval, "oval", 170, 165, 50, 30, {{"FillColor", "6737151"}, {"TabPanelIndex", "1"}}),
         control(ix().roundRectangle, "round", 230, 165, 50, 30, {{"FillColor", "13434828"}, {"TabPanelIndex", "1"}}),
         control(ix().line, "line", 0, 0, 0, 0,
                 {{"X1", "295"}, {"Y1", "160"}, {"X2", "400"}, {"Y2", "190"}, {"BorderWidth", "2"},
                  {"BorderColor", "13369344"}, {"TabPanelIndex", "1"}}),
         control(ix().popupMenu, "port", 110, 205, 120, 22,
                 {{"InitialValue", "COM1\rCOM2\rCOM3"}, {"TabPanelIndex", "1"}}),
         control(ix().pushButton, "send", 300, 200, 100, 28,
                 {{"Caption", sjisBytes(L"送信")}, {"Default", "True"}, {"TabPanelIndex", "1"}}),
         control(ix().pushButton, "stop", 420, 200, 90, 28, {{"Caption", sjisBytes(L"中止")}, {"Cancel", "True"}})},
        {{"Title", sjisBytes(L"コントロール")}, {"Width", "520"}, {"Height", "250"}}));
    ASSERT_NE(w.object(), nullptr);
    RuntimePopupSelectionSetter(w.fetch("port"), 1);
    w.activate();
    Sleep(200);
    runPasses(3);
    EXPECT_TRUE(testing_support::writeScreenshot("controls_screenshot.png"));
    // Every control of the first tab is on screen.
    for (const char* name : {"box", "modem", "mail", "melody", "label", "progress", "scroll", "canvas", "line", "port", "send"}) {
        EXPECT_TRUE(IsWindowVisible(w.paneHandle(name))) << name;
    }
}

}  // namespace
