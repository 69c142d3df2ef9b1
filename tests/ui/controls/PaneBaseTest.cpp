// The pane base through real controls: geometry and locks, visibility and
// enabling by state commands, focus rules, containers, backgrounds, fonts,
// balloon help and the routines' handling of nil and bad values.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "ControlsFixture.h"
#include "objects/ObjectEntries.h"
#include "text/StringValue.h"
#include "loader/RuntimeEntryTable.h"
#include "ui/BalloonHelp.h"
#include "ui/ControlEntries.h"
#include "ui/ControlFields.h"
#include "ui/FontCache.h"
#include "ui/FormEntries.h"
#include "ui/NativeWindow.h"
#include "ui/Pane.h"
#include "ui/WindowEntries.h"
#include "ui/WindowFields.h"
#include "ui/controls/SimpleControlEntries.h"

using namespace runtime;
using namespace controls_test;

namespace {

TEST(PaneGeometry, ResizeMovesAndStretchesLockedControlsBeforeResized) {
    struct Row {
        const char* name;
        std::vector<PropertyText> locks;
        RECT expected;  // after the window grew by 30 in both directions
    };
    const Row rows[] = {
        {"right", {{"LockRight", "True"}}, {40, 10, 100, 30}},
        {"stretch", {{"LockLeft", "True"}, {"LockRight", "True"}}, {10, 40, 100, 60}},
        {"left", {{"LockLeft", "True"}}, {10, 70, 70, 90}},
        {"bottom", {{"LockBottom", "True"}}, {10, 130, 70, 150}},
        {"tall", {{"LockTop", "True"}, {"LockBottom", "True"}}, {200, 10, 260, 60}},
    };
    std::vector<LayoutControl> controls{control(ix().pushButton, "right", 10, 10, 60, 20, rows[0].locks),
                                        control(ix().pushButton, "stretch", 10, 40, 60, 20, rows[1].locks),
                                        control(ix().pushButton, "left", 10, 70, 60, 20, rows[2].locks),
                                        control(ix().pushButton, "bottom", 10, 100, 60, 20, rows[3].locks),
                                        control(ix().pushButton, "tall", 200, 10, 60, 20, rows[4].locks)};
    OpenWindow w(windowLayout(controls));
    ASSERT_NE(w.object(), nullptr);
    gTrace.clear();
    windowPosSetter(w.object(), 2, windowPosGetter(w.object(), 2) + 30);
    windowPosSetter(w.object(), 3, windowPosGetter(w.object(), 3) + 30);
    runPasses(4);
    EXPECT_NE(gTrace.find("resized"), std::string::npos);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ObjectHandle c = w.fetch(row.name);
        EXPECT_EQ(ctlPosGetter(c, 0), row.expected.left);
        EXPECT_EQ(ctlPosGetter(c, 1), row.expected.top);
        EXPECT_EQ(ctlPosGetter(c, 2), row.expected.right - row.expected.left);
        EXPECT_EQ(ctlPosGetter(c, 3), row.expected.bottom - row.expected.top);
        const RECT onScreen = rectInWindow(w.paneHandle(row.name));
        EXPECT_EQ(onScreen.left, row.expected.left);
        EXPECT_EQ(onScreen.top, row.expected.top);
        EXPECT_EQ(onScreen.right, row.expected.right);
        EXPECT_EQ(onScreen.bottom, row.expected.bottom);
    }
    // Shrinking gives the space back.
    windowPosSetter(w.object(), 2, windowPosGetter(w.object(), 2) - 30);
    runPasses(4);
    EXPECT_EQ(ctlPosGetter(w.fetch("right"), 0), 10);
    EXPECT_EQ(ctlPosGetter(w.fetch("stretch"), 2), 60);
}

TEST(PaneGeometry, ShrinkingPastALockedControlAndGrowingBackRestoresIt) {
    OpenWindow w(windowLayout({control(ix().pushButton, "stretch", 10, 10, 40, 20,
                                       {{"LockLeft", "True"}, {"LockRight", "True"}}),
                               control(ix().pushButton, "tall", 100, 10, 40, 20,
                                       {{"LockTop", "True"}, {"LockBottom", "True"}})}));
    ASSERT_NE(w.object(), nullptr);
    const int32_t width = windowPosGetter(w.object(), 2), height = windowPosGetter(w.object(), 3);
    windowPosSetter(w.object(), 2, width - 60);
    windowPosSetter(w.object(), 3, height - 60);
    runPasses(4);
    // The edges crossed: the control is empty on screen, and keeps its edges.
    EXPECT_EQ(ctlPosGetter(w.fetch("stretch"), 2), -20);
    EXPECT_EQ(rectInWindow(w.paneHandle("stretch")).right, rectInWindow(w.paneHandle("stretch")).left);
    windowPosSetter(w.object(), 2, width);
    windowPosSetter(w.object(), 3, height);
    runPasses(4);
    for (const char* name : {"stretch", "tall"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ctlPosGetter(w.fetch(name), 2), 40);
        EXPECT_EQ(ctlPosGetter(w.fetch(name), 3), 20);
        const RECT r = rectInWindow(w.paneHandle(name));
        EXPECT_EQ(r.right - r.left, 40);
        EXPECT_EQ(r.bottom - r.top, 20);
    }
}

TEST(PaneGeometry, PositionRoutinesMoveTheLiveControlAndRefuseBadValues) {
    OpenWindow w(windowLayout({control(ix().pushButton, "b", 10, 10, 80, 24)}));
    ObjectHandle b = w.fetch("b");
    ctlPosSetter(b, 0, 50);
    ctlPosSetter(b, 1, 60);
    ctlPosSetter(b, 2, 100);
    EXPECT_EQ(rectInWindow(w.paneHandle("b")).left, 50);
    EXPECT_EQ(rectInWindow(w.paneHandle("b")).top, 60);
    EXPECT_EQ(rectInWindow(w.paneHandle("b")).right, 150);  // the width keeps the new left
    ctlPosSetter(b, 3, -40);                                  // no inverted rectangle
    EXPECT_EQ(ctlPosGetter(b, 3), 0);
    ctlPosSetter(b, 2, 1 << 20);  // kept within the 16-bit rectangle
    EXPECT_EQ(ctlPosGetter(b, 2), 32767);
    ctlPosSetter(b, 7, 5);
    EXPECT_EQ(ctlPosGetter(b, 7), 0);
    EXPECT_EQ(ctlPosGetter(b, -1), 0);
}

TEST(PaneRoutines, EveryRoutineTheControlPartsNameIsInTheEntryTable) {
    const char* const names[] = {
    "ControlVisibleSetter", "RuntimeControlRefresh", "RuntimeControlRefreshRect", "RuntimeGetRow",
    "RuntimeListAddParent", "RuntimeListAddRow", "RuntimeListEmpty", "RuntimeListInsertRow", "RuntimePopupAddRow",
    "RuntimePopupAddSeparator", "RuntimePopupCountGetter", "RuntimePopupEmpty", "RuntimePopupGetRow",
    "RuntimePopupGetRowTag", "RuntimePopupGetString", "RuntimePopupInsertRow", "RuntimePopupRemoveRow",
    "RuntimePopupSelectionGetter", "RuntimePopupSelectionSetter", "RuntimePopupSetRow", "RuntimePopupSetRowTag",
    "RuntimeRemoveRow", "RuntimeSetFocus", "RuntimeSetRow", "checkBoxAddDataNotificationReceiver",
    "checkBoxBoldGetter", "checkBoxItalicGetter", "checkBoxRemoveDataNotificationReceiver", "checkBoxTextFontGetter",
    "checkBoxTextSizeGetter", "checkBoxTitleGetter", "checkBoxTitleSetter", "checkBoxUnderlineGetter",
    "checkBoxValueGetter", "checkBoxValueSetter", "controlBalloonHelpSetter", "controlDisabledBalloonHelpSetter",
    "controlEnabledGetter", "controlEnabledSetter", "controlLockBottomSetter", "controlLockLeftGetter",
    "controlMacControlHandleGetter", "controlMouseCursorSetter", "controlMouseXGetter", "controlMouseYGetter",
    "controlVisibleGetter", "controlWindowGetter", "ctlPosGetter", "ctlPosSetter", "editBackColorSetter",
    "editBoldGetter", "editBoldSetter", "editBorderGetter", "editBorderSetter", "editItalicGetter",
    "editItalicSetter", "editLimitTextGetter", "editLimitTextSetter", "editMultiLineGetter", "editMultiLineSetter",
    "editPasswordGetter", "editPasswordSetter", "editReadOnlyGetter", "editReadOnlySetter", "editScrollBarGetter",
    "editScrollBarSetter", "editSelBoldGetter", "editSelBoldSetter", "editSelLengthGetter", "editSelLengthSetter",
    "editSelOutlineGetter", "editSelPlainGetter", "editSelPlainSetter", "editSelStartGetter", "editSelStartSetter",
    "editSelTextColorGetter", "editSelTextColorSetter", "editSelTextFontGetter", "editSelTextFontSetter",
    "editSelTextGetter", "editSelTextSetter", "editSelTextSizeGetter", "editSelTextSizeSetter", "editSetTextAndStyle",
    "editTextColorSetter", "editTextFontGetter", "editTextFontSetter", "editTextGetter", "editTextSetter",
    "editTextSizeGetter", "editTextSizeSetter", "editTextStyleDataGetter", "editToggleSelectionBold",
    "editUnderlineGetter", "editUnderlineSetter", "groupBoldGetter", "groupCaptionGetter", "groupCaptionSetter",
    "groupItalicGetter", "groupTextFontGetter", "groupTextSizeGetter", "groupUnderlineGetter", "linePosSetter",
    "listAddLSNR", "listCellAlignmentGetter", "listCellAlignmentOffsetGetter", "listCellAlignmentOffsetSetter",
    "listCellAlignmentSetter", "listCellCheckGetter", "listCellCheckSetter", "listCellTypeGetter",
    "listCellTypeSetter", "listColumnAlignmentGetter", "listColumnAlignmentOffsetGetter",
    "listColumnAlignmentOffsetSetter", "listColumnAlignmentSetter", "listColumnCountGetter", "listColumnCountSetter",
    "listColumnTypeGetter", "listColumnTypeSetter", "listColumnWidthsGetter", "listColumnWidthsSetter",
    "listCountGetter", "listEnableDragSetter", "listGetCell", "listGetCellBold", "listGetCellItalic",
    "listGetCellUnderline", "listGetExpanded", "listGetHeading", "listGetRowPicture", "listGetSelected",
    "listHeadingIndexGetter", "listHeadingIndexSetter", "listLastIndexGetter", "listSelCountGetter",
    "listSelectionGetter", "listSelectionSetter", "listSetCell", "listSetCellBold", "listSetCellItalic",
    "listSetCellUnderline", "listSetExpanded", "listSetHeading", "listSetRowPicture", "listSetSelected",
    "listTextFontGetter", "listTextFontSetter", "listTextGetter", "listTextSetter", "listUnderlineGetter",
    "listUnderlineSetter", "popupBoldGetter", "popupItalicGetter", "popupTextFontGetter", "popupTextFontSetter",
    "popupTextGetter", "popupTextSizeGetter", "popupUnderlineGetter", "progressMaximumGetter",
    "progressMaximumSetter", "progressValueGetter", "progressValueSetter", "pushButtonBoldGetter",
    "pushButtonCancelGetter", "pushButtonCancelSetter", "pushButtonDefaultGetter", "pushButtonDefaultSetter",
    "pushButtonItalicGetter", "pushButtonPush", "pushButtonTextFontGetter", "pushButtonTextSizeGetter",
    "pushButtonTitleGetter", "pushButtonTitleSetter", "pushButtonUnderlineGetter", "radioBoldGetter",
    "radioItalicGetter", "radioTextFontGetter", "radioTextSizeGetter", "radioTitleGetter", "radioTitleSetter",
    "radioUnderlineGetter", "radioValueGetter", "radioValueSetter", "staticAttributeSetter", "staticCaptionSetter",
    "staticTextAlignSetter", "staticTextColorSetter", "staticTextFontSetter", "staticTextSizeSetter",
    "tabPanelValueGetter", "tabPanelValueSetter", "timerModeGetter", "timerModeSetter", "timerPeriodGetter",
    "timerPeriodSetter",
    };
    for (const char* name : names) EXPECT_NE(runtime::findRuntimeRoutine(name), nullptr) << name;
}

// A kind's caption and font name, stored through its routines.
struct TextRoutines {
    const char* kind;
    int32_t Classes::*cls;
    void (*caption)(ObjectHandle, StringHandle);
    void (*font)(ObjectHandle, StringHandle);
};

TEST(PaneRoutines, CaptionsAndFontNamesGoWithTheControl) {
    const TextRoutines kinds[] = {
        {"PushButton", &Classes::pushButton, pushButtonTitleSetter, pushButtonTextFontSetter},
        {"CheckBox", &Classes::checkBox, checkBoxTitleSetter, checkBoxTextFontSetter},
        {"RadioButton", &Classes::radioButton, radioTitleSetter, radioTextFontSetter},
        {"GroupBox", &Classes::groupBox, groupCaptionSetter, groupTextFontSetter},
        {"StaticText", &Classes::staticText, staticCaptionSetter, staticTextFontSetter},
        {"TabPanel", &Classes::tabPanel, nullptr, groupTextFontSetter},
    };
    for (const TextRoutines& k : kinds) {
        SCOPED_TRACE(k.kind);
        StringValue caption = StringValue::fromCString("Caption");
        StringValue font = StringValue::fromCString("Arial");
        ObjectHandle c = RuntimeNewObject(ix().*k.cls);
        ASSERT_NE(c, nullptr);
        if (k.caption) k.caption(c, caption.get());
        k.font(c, font.get());
        EXPECT_EQ(font.get()->refCount, 2);
        EXPECT_EQ(caption.get()->refCount, k.caption ? 2 : 1);
        RuntimeUnlockObject(c);
        EXPECT_EQ(font.get()->refCount, 1);
        EXPECT_EQ(caption.get()->refCount, 1);
    }
}

TEST(PaneRoutines, NilControlsAndWindowsAreIgnored) {
    ctlPosSetter(nullptr, 0, 1);
    EXPECT_EQ(ctlPosGetter(nullptr, 0), 0);
    ControlVisibleSetter(nullptr, true);
    controlEnabledSetter(nullptr, false);
    EXPECT_FALSE(controlVisibleGetter(nullptr));
    controlBalloonHelpSetter(nullptr, nullptr);
    controlMouseCursorSetter(nullptr, nullptr);
    RuntimeControlRefresh(nullptr);
    RuntimeControlRefreshRect(nullptr, 0, 0, 10, 10);
    RuntimeSetFocus(nullptr);
    pushButtonPush(nullptr);
    checkBoxValueSetter(nullptr, true);
    radioValueSetter(nullptr, true);
    tabPanelValueSetter(nullptr, 3);
    progressMaximumSetter(nullptr, 5);
    staticCaptionSetter(nullptr, nullptr);
    pushButtonBoldSetter(nullptr, true);
    EXPECT_EQ(controlWindowGetter(nullptr), nullptr);
    EXPECT_EQ(controlMacControlHandleGetter(nullptr), 0);
    EXPECT_EQ(pushButtonTitleGetter(nullptr), nullptr);
}

TEST(PaneRoutines, ControlsWithoutAPaneOnlyStore) {
    ObjectHandle c = RuntimeNewObject(ix().checkBox);
    ASSERT_NE(c, nullptr);
    checkBoxValueSetter(c, true);
    EXPECT_TRUE(checkBoxValueGetter(c));
    ctlPosSetter(c, 2, 33);
    EXPECT_EQ(ctlPosGetter(c, 2), 33);
    ControlVisibleSetter(c, false);
    EXPECT_FALSE(controlVisibleGetter(c));
    RuntimeSetFocus(c);
    RuntimeControlRefresh(c);
    ObjectHandle tab = RuntimeNewObject(ix().tabPanel);
    tabPanelValueSetter(tab, 2);
    EXPECT_EQ(tabPanelValueGetter(tab), 0);  // no pane: the selected tab reads 0
    RuntimeUnlockObject(tab);
    RuntimeUnlockObject(c);
}

TEST(PaneState, VisibleAndEnabledDriveTheChildWindowAndTheFocus) {
    OpenWindow w(windowLayout({control(ix().pushButton, "a", 10, 10, 80, 24),
                               control(ix().pushButton, "hidden", 100, 10, 80, 24, {{"Visible", "False"}}),
                               control(ix().checkBox, "off", 200, 10, 80, 24, {{"Enabled", "False"}})}));
    w.activate();
    EXPECT_FALSE(IsWindowVisible(w.paneHandle("hidden")));  // created hidden from its Visible
    EXPECT_FALSE(IsWindowEnabled(w.paneHandle("off")));
    ObjectHandle a = w.fetch("a");
    RuntimeSetFocus(a);
    NativeWindow* native = windowFields(w.object()).native;
    EXPECT_EQ(GetFocus(), w.paneHandle("a"));
    EXPECT_EQ(native->focusedPane(), controlFields(a).pane);

    controlEnabledSetter(a, false);  // disabling the focused pane removes the focus
    EXPECT_FALSE(controlEnabledGetter(a));
    EXPECT_FALSE(IsWindowEnabled(w.paneHandle("a")));
    EXPECT_EQ(native->focusedPane(), nullptr);
    EXPECT_NE(GetFocus(), w.paneHandle("a"));
    RuntimeSetFocus(a);  // a disabled pane does not take it
    EXPECT_EQ(native->focusedPane(), nullptr);

    controlEnabledSetter(a, true);
    ControlVisibleSetter(a, false);
    EXPECT_FALSE(IsWindowVisible(w.paneHandle("a")));
    EXPECT_FALSE(controlVisibleGetter(a));
    RuntimeSetFocus(a);  // nor a hidden one
    EXPECT_EQ(native->focusedPane(), nullptr);
    ControlVisibleSetter(a, true);
    EXPECT_TRUE(IsWindowVisible(w.paneHandle("a")));
    ControlVisibleSetter(w.fetch("hidden"), true);
    EXPECT_TRUE(IsWindowVisible(w.paneHandle("hidden")));
}

TEST(PaneFocus, FocusRoutinesAndKindsThatTakeNoFocus) {
    OpenWindow w(windowLayout({control(ix().pushButton, "b", 10, 10, 80, 24),
                               control(ix().staticText, "label", 10, 50, 80, 24),
                               control(ix().traceRadio, "r1", 10, 80, 80, 24),
                               control(ix().traceRadio, "r2", 10, 110, 80, 24, {{"Value", "True"}})}));
    w.activate();
    NativeWindow* native = windowFields(w.object()).native;
    RuntimeSetFocus(w.fetch("b"));
    ASSERT_EQ(GetFocus(), w.paneHandle("b"));
    RuntimeSetFocus(w.fetch("label"));  // static texts take no focus
    EXPECT_EQ(GetFocus(), w.paneHandle("b"));
    RuntimeSetFocus(w.fetch("r1"));  // a radio button only while checked
    EXPECT_EQ(GetFocus(), w.paneHandle("b"));
    RuntimeSetFocus(w.fetch("r2"));
    EXPECT_EQ(GetFocus(), w.paneHandle("r2"));
    EXPECT_EQ(native->focusedPane(), controlFields(w.fetch("r2")).pane);

    formSetFocus(w.object());
    EXPECT_EQ(GetFocus(), w.handle());
    EXPECT_EQ(native->focusedPane(), nullptr);
    RuntimeSetFocus(w.fetch("b"));
    clearFocus();
    EXPECT_EQ(native->focusedPane(), nullptr);
    EXPECT_NE(GetFocus(), w.paneHandle("b"));
}

TEST(PaneTree, ControlsInsideACanvasBelongToItAndFollowItsStateCommands) {
    OpenWindow w(windowLayout({control(ix().canvas, "area", 10, 10, 200, 150),
                               control(ix().traceButton, "inner", 30, 40, 80, 24),
                               control(ix().traceButton, "across", 180, 40, 80, 24)}));
    ObjectHandle inner = w.fetch("inner");
    Pane* area = controlFields(w.fetch("area")).pane;
    Pane* innerPane = controlFields(inner).pane;
    ASSERT_NE(area, nullptr);
    ASSERT_NE(innerPane, nullptr);
    EXPECT_EQ(innerPane->parentPane(), area);
    EXPECT_EQ(GetParent(innerPane->handle()), area->handle());
    EXPECT_EQ(controlFields(w.fetch("across")).pane->parentPane(), nullptr);  // overlaps the edge
    ASSERT_EQ(area->children().size(), 1u);
    // Window coordinates stay what the control says; the child window sits
    // at the same place in the window.
    EXPECT_EQ(rectInWindow(innerPane->handle()).left, 30);
    EXPECT_EQ(rectInWindow(innerPane->handle()).top, 40);
    ctlPosSetter(inner, 0, 60);
    EXPECT_EQ(rectInWindow(innerPane->handle()).left, 60);

    // A click on the button inside the container still reaches its handler.
    w.activate();
    gTrace.clear();
    clickAt(centreOf(innerPane->handle()), [] { return !gTrace.empty(); });
    EXPECT_EQ(gTrace, "A:inner ");

    // State commands pass to the children first.
    ControlVisibleSetter(w.fetch("area"), false);
    EXPECT_FALSE(innerPane->visibleFlag());
    EXPECT_FALSE(IsWindowVisible(innerPane->handle()));
    ControlVisibleSetter(w.fetch("area"), true);
    EXPECT_TRUE(IsWindowVisible(innerPane->handle()));
    controlEnabledSetter(w.fetch("area"), false);
    EXPECT_FALSE(IsWindowEnabled(innerPane->handle()));
    controlEnabledSetter(w.fetch("area"), true);
    EXPECT_TRUE(IsWindowEnabled(innerPane->handle()));
}

TEST(PaneDrawing, PanesFillWithTheWindowsColourOrTheEnclosingPanesOrTheDialogColour) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    {
        OpenWindow w(windowLayout({control(ix().staticText, "onWindow", 10, 10, 60, 30),
                                   control(ix().tabPanel, "tabs", 100, 10, 250, 200, {{"TabDefinition", "One"}}),
                                   control(ix().staticText, "onTab", 120, 60, 60, 30, {{"TabPanelIndex", "1"}})},
                                  {{"HasBackColor", "True"}, {"BackColor", "16777164"}}));  // 0xFFFFCC
        w.activate();
        // A window with a colour gives it to every pane drawn by the runtime.
        EXPECT_EQ(countColour(w.handle(), rectInWindow(w.paneHandle("onWindow")), RGB(0xFF, 0xFF, 0xCC)), 60 * 30);
        EXPECT_EQ(countColour(w.handle(), rectInWindow(w.paneHandle("onTab")), RGB(0xFF, 0xFF, 0xCC)), 60 * 30);
    }
    OpenWindow w(windowLayout({control(ix().staticText, "onWindow", 10, 10, 60, 30),
                               control(ix().tabPanel, "tabs", 100, 10, 250, 200, {{"TabDefinition", "One"}}),
                               control(ix().staticText, "onTab", 120, 60, 60, 30, {{"TabPanelIndex", "1"}})}));
    w.activate();
    EXPECT_EQ(countColour(w.handle(), rectInWindow(w.paneHandle("onWindow")), face), 60 * 30);
    // On a tab panel: the colour of the panel's body.
    const RECT onTab = rectInWindow(w.paneHandle("onTab"));
    const RECT body{onTab.right + 5, onTab.top, onTab.right + 6, onTab.top + 1};
    const std::vector<COLORREF> bodyPixel = [&] {
        RECT screen = body;
        MapWindowPoints(w.handle(), nullptr, reinterpret_cast<POINT*>(&screen), 2);
        return screenPixels(screen);
    }();
    ASSERT_EQ(bodyPixel.size(), 1u);
    EXPECT_EQ(countColour(w.handle(), onTab, bodyPixel[0]), 60 * 30);
}

TEST(PaneFonts, FamilyRoutinesRebuildTheFontAndReleaseItWithThePane) {
    const size_t before = cachedFontCount();
    {
        OpenWindow w(windowLayout({control(ix().pushButton, "b", 10, 10, 120, 30,
                                           {{"TextFont", "Courier"}, {"TextSize", "14"}, {"Italic", "True"}}),
                                   control(ix().checkBox, "c", 10, 50, 120, 30)}));
        ObjectHandle b = w.fetch("b");
        auto fontOf = [](HWND h) {
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)), sizeof(font), &font);
            return font;
        };
        LOGFONTW font = fontOf(w.paneHandle("b"));
        EXPECT_STREQ(font.lfFaceName, L"Courier New");
        EXPECT_EQ(font.lfHeight, -14);
        EXPECT_TRUE(font.lfItalic);
        EXPECT_EQ(font.lfWeight, FW_NORMAL);
        pushButtonBoldSetter(b, true);
        EXPECT_TRUE(pushButtonBoldGetter(b));
        font = fontOf(w.paneHandle("b"));
        EXPECT_EQ(font.lfWeight, FW_BOLD);
        EXPECT_TRUE(font.lfItalic);  // built from all five values
        StringValue name = StringValue::fromCString("Times");
        checkBoxTextFontSetter(w.fetch("c"), name.get());
        StringValue read = StringValue::adopt(checkBoxTextFontGetter(w.fetch("c")));
        EXPECT_EQ(viewOf(read.get()), "Times");
        EXPECT_STREQ(fontOf(w.paneHandle("c")).lfFaceName, L"Times New Roman");
        EXPECT_EQ(fontOf(w.paneHandle("c")).lfHeight, -12);  // the default size
    }
    EXPECT_EQ(cachedFontCount(), before);
}

TEST(PaneHelp, BalloonHelpIsTheControlsTooltip) {
    OpenWindow w(windowLayout({control(ix().pushButton, "b", 10, 10, 80, 24, {{"BalloonHelp", "Sends it"}}),
                               control(ix().pushButton, "quiet", 100, 10, 80, 24)}));
    HWND tip = balloonHelpWindow(w.handle());
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t text[64] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = w.handle();
    tool.uId = reinterpret_cast<UINT_PTR>(w.paneHandle("b"));
    tool.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"Sends it");
    StringValue none = StringValue::fromCString("");
    controlBalloonHelpSetter(w.fetch("b"), none.get());
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
}

TEST(PaneRefresh, RefreshRoutinesRepaintAtOnce) {
    OpenWindow w(windowLayout({control(ix().traceCanvas, "pad", 10, 10, 100, 80)}));
    w.activate();
    ObjectHandle pad = w.fetch("pad");
    gTrace.clear();
    RuntimeControlRefresh(pad);  // painted before the routine returns
    EXPECT_EQ(gTrace, "paint:pad ");
    gTrace.clear();
    RuntimeControlRefreshRect(pad, 5, 5, 10, 10);
    EXPECT_EQ(gTrace, "paint:pad ");
    gTrace.clear();
    RuntimeControlRefreshRect(pad, 5, 5, -10, 10);  // an empty area asks for nothing
    EXPECT_EQ(gTrace, "");
}

TEST(PaneEvents, AnActionThatClosesItsWindowEndsCleanly) {
    ObjectHandle window = nullptr;
    {
        OpenWindow w(windowLayout({control(ix().closingButton, "bye", 10, 10, 80, 24)}));
        window = w.object();
        RuntimeLockObject(window);
        ObjectHandle bye = w.fetch("bye");
        RuntimeLockObject(bye);
        gTrace.clear();
        pushButtonPush(bye);
        EXPECT_EQ(gTrace, "close:bye ");
        EXPECT_EQ(windowFields(window).native, nullptr);
        EXPECT_EQ(controlFields(bye).pane, nullptr);
        pushButtonPush(bye);  // no pane any more: nothing
        EXPECT_EQ(gTrace, "close:bye ");
        RuntimeUnlockObject(bye);
    }
    RuntimeUnlockObject(window);
}

}  // namespace
