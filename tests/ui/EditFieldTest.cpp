// Edit fields under Wine with real system controls: fields built from window
// layouts, driven through their routines and through real key input. C++
// functions stand in for the compiled handlers of a field subclass, and
// record the events in the order they arrive.
#include <gtest/gtest.h>

#include <windows.h>
#include <richedit.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/LoopPasses.h"
#include "support/RealInput.h"
#include "objects/ClassRegistry.h"
#include "objects/DataStreamWriter.h"
#include "objects/EventLoop.h"
#include "objects/LoopEntries.h"
#include "objects/ObjectEntries.h"
#include "objects/ObjectLifetime.h"
#include "objects/ProjectData.h"
#include "objects/RuntimeStartup.h"
#include "objects/WindowInstantiation.h"
#include "objects/WindowLayout.h"
#include "objects/MenuBarModel.h"
#include "support/MessageBoxWatcher.h"
#include "support/PngWriter.h"
#include "text/StringValue.h"
#include "ui/ControlFields.h"
#include "ui/Menus.h"
#include "ui/NativeWindow.h"
#include "ui/WindowEntries.h"
#include "ui/WindowFields.h"
#include "ui/controls/EditFieldEntries.h"
#include "ui/controls/EditFieldPane.h"

using namespace runtime;
using testing_support::ProjectData;
using testing_support::runPasses;

namespace {

std::string gTrace;
bool gSwallowKey = false;         // KeyDown returns True
std::string gSwallowOnly;         // ...only for this key text, when not empty
bool gSetTextInTextChange = false;
bool gFieldHandlesEditCopy = false;

extern "C" {
bool fieldKeyDown(ObjectHandle, StringHandle key) {
    gTrace += "K(" + std::string(viewOf(key)) + ") ";
    if (!gSwallowOnly.empty()) return viewOf(key) == gSwallowOnly;
    return gSwallowKey;
}
void fieldTextChange(ObjectHandle field) {
    gTrace += "T ";
    if (gSetTextInTextChange) {
        // Setting the text inside TextChange does not raise it again.
        StringValue again = StringValue::fromCString("again");
        editTextSetter(field, again.get());
    }
}
void fieldSelChange(ObjectHandle) { gTrace += "S "; }
void fieldGotFocus(ObjectHandle) { gTrace += "G "; }
void fieldLostFocus(ObjectHandle) { gTrace += "L "; }
void fieldEnableMenuItems(ObjectHandle) { gTrace += "E "; }
bool fieldEditCopy(ObjectHandle) {
    gTrace += "own:EditCopy ";
    return gFieldHandlesEditCopy;
}
}

void* code(auto* f) { return reinterpret_cast<void*>(f); }

struct Classes {
    int32_t window, editField, traceField, handlerSubclass, app;
} ix;

ProjectData& project() {
    static ProjectData p;
    return p;
}

void buildProject() {
    ProjectData& p = project();
    const int32_t application = p.addNamedClass("Application");
    ix.window = p.addNamedClass("Window");
    ix.editField = p.addNamedClass("EditField");
    ix.traceField = p.addCompiledClass({.name = "",
                                        .size = 136,
                                        .superIndex = ix.editField,
                                        .eventHandlers = {{"KeyDown", code(fieldKeyDown)},
                                                          {"TextChange", code(fieldTextChange)},
                                                          {"SelChange", code(fieldSelChange)},
                                                          {"GotFocus", code(fieldGotFocus)},
                                                          {"LostFocus", code(fieldLostFocus)},
                                                          {"EnableMenuItems", code(fieldEnableMenuItems)}},
                                        .menuHandlers = {{"EditCopy", code(fieldEditCopy)}}});
    ix.handlerSubclass = p.addCompiledClass(
        {.name = "", .size = 136, .superIndex = ix.traceField, .eventHandlers = {{"GotFocus", code(fieldGotFocus)}}});
    ix.app = p.addCompiledClass({.name = "TestApp", .size = 28, .superIndex = application});
    MenuBarStream bar;
    MenuEntry edit{.text = "Edit", .name = "EditMenu", .classIndex = -1};
    for (const char* name : {"EditCut", "EditCopy", "EditPaste", "EditClear"}) {
        edit.items.push_back({.text = name, .name = name, .classIndex = -1});
    }
    bar.menus = {edit};
    p.addItem(ProjectData::streamItem(2, encodeMenuBarStream(bar)));
}

class RuntimeEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        buildProject();
        RuntimeInit(project().table());
    }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new RuntimeEnvironment);


LayoutControl field(const std::string& name, std::vector<PropertyText> more = {}, int top = 10) {
    LayoutControl c{ix.traceField,
                    {{"Name", name}, {"Left", "10"}, {"Top", std::to_string(top)}, {"Width", "280"}, {"Height", "24"}}};
    c.properties.insert(c.properties.end(), more.begin(), more.end());
    return c;
}

// An open window holding the given fields, closed at the end of the test.
struct OpenWindow {
    ObjectHandle object = nullptr;
    explicit OpenWindow(std::vector<LayoutControl> controls) {
        WindowLayout l;
        l.windowClass = ix.window;
        l.properties = {{"Title", "Edit"}, {"Width", "300"}, {"Height", "200"}, {"CloseBox", "True"}};
        l.controls = std::move(controls);
        const std::vector<uint8_t> bytes = encodeSizedWindowLayout(l);
        object = RuntimeCreateWindow(bytes.data(), nullptr);
        runPasses(2);
    }
    ~OpenWindow() {
        if (!object) return;
        RuntimeCloseWindow(object);
        RuntimeUnlockObject(object);
        runPasses(2);
    }
    HWND handle() const { return reinterpret_cast<HWND>(static_cast<intptr_t>(windowHWNDGetter(object))); }
    ObjectHandle fetch(const char* name) const {
        StringValue n = StringValue::fromCString(name);
        return RuntimeControlFetch(object, n.get());
    }
    // Brings the window to the front and gives the field the focus.
    void focus(ObjectHandle f) const {
        SetForegroundWindow(handle());
        SetActiveWindow(handle());
        runPasses(2);
        SetFocus(controlHandle(f));
        runPasses(2);
    }
    static HWND controlHandle(ObjectHandle f) { return editPaneOf(f) ? editPaneOf(f)->handle() : nullptr; }
};

std::string textOf(ObjectHandle f) { return std::string(viewOf(StringValue::adopt(editTextGetter(f)).get())); }
std::string selTextOf(ObjectHandle f) { return std::string(viewOf(StringValue::adopt(editSelTextGetter(f)).get())); }
void setText(ObjectHandle f, const char* text) { editTextSetter(f, StringValue::fromCString(text).get()); }
// Selects `length` characters from `start` through the routines alone:
// SelStart keeps the old end, so the end is brought to `start` first.
void selectRange(ObjectHandle f, int32_t start, int32_t length) {
    editSelStartSetter(f, 0);
    editSelLengthSetter(f, start);
    editSelStartSetter(f, start);
    editSelLengthSetter(f, length);
}
void setSelText(ObjectHandle f, const char* text) { editSelTextSetter(f, StringValue::fromCString(text).get()); }

std::wstring shownText(HWND h) {
    wchar_t buffer[256] = {};
    GetWindowTextW(h, buffer, 256);
    return buffer;
}

// Types `text` as real key input: one Unicode key press per character.
void typeUnicode(const std::wstring& text) {
    for (wchar_t c : text) {
        testing_support::sendUnicodeText(std::wstring_view(&c, 1));
        runPasses(4);
    }
}

void pressKey(WORD key) {
    testing_support::sendKeyChord({key});
    runPasses(4);
}

// Presses `key` while `modifier` is held.
void pressChord(WORD modifier, WORD key) {
    testing_support::sendKeyChord({modifier, key});
    runPasses(6);
}

std::wstring clipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) text = chars;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

bool itemEnabled(const char* name) {
    ObjectHandle item = RuntimeMenuReference(StringValue::fromCString(name).get());
    const bool enabled = item && menuItemFields(item).enabled;
    RuntimeUnlockObject(item);
    return enabled;
}

std::string enabledItems() {
    std::string out;
    for (const char* name : {"EditCut", "EditCopy", "EditPaste", "EditClear"}) {
        if (itemEnabled(name)) out += std::string(name + 4) + " ";
    }
    return out;
}

void putOnClipboard(const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
}

void emptyClipboard() {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    CloseClipboard();
}

bool runMenuItem(const char* name) {
    ObjectHandle item = RuntimeMenuReference(StringValue::fromCString(name).get());
    const int32_t id = item ? menuItemFields(item).commandId : 0;
    RuntimeUnlockObject(item);
    return runMenuCommand(static_cast<UINT>(id));
}

// Shift-JIS bytes of the texts used below.
constexpr char kSoHyo[] = "\x83\x5c\x95\x5c";           // ソ表: trail bytes that are backslashes
constexpr char kSoushin[] = "\x91\x97\x90\x4d";         // 送信
constexpr char kMixed[] = "a\x82\xa0" "b\x83\x5c" "c";  // aあbソc

TEST(EditFields, EachKindGetsItsSystemControlAndCreationSettings) {
    struct Case {
        const char* name;
        std::vector<PropertyText> properties;
        const wchar_t* systemClass;
        bool multiLine;
        bool clientEdge;
    };
    const Case cases[] = {
        {"plain", {{"Border", "True"}}, L"Edit", false, true},
        {"plainMulti", {{"MultiLine", "True"}}, L"RichEdit20W", true, false},
        {"styled", {{"Styled", "True"}, {"Border", "True"}}, L"RichEdit20W", false, true},
        {"styledMulti", {{"Styled", "True"}, {"MultiLine", "True"}}, L"RichEdit20W", true, false},
    };
    for (const Case& c : cases) {
        gTrace.clear();
        std::vector<PropertyText> props = c.properties;
        props.push_back({"Text", "start"});
        props.push_back({"ReadOnly", "True"});
        props.push_back({"LimitText", "12"});
        OpenWindow w({field(c.name, props)});
        ASSERT_NE(w.object, nullptr) << c.name;
        ObjectHandle f = w.fetch(c.name);
        HWND h = OpenWindow::controlHandle(f);
        ASSERT_NE(h, nullptr) << c.name;
        wchar_t cls[32] = {};
        GetClassNameW(h, cls, 32);
        EXPECT_EQ(_wcsicmp(cls, c.systemClass), 0) << c.name << ": " << cls;
        const DWORD style = static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE));
        EXPECT_EQ((style & ES_MULTILINE) != 0, c.multiLine) << c.name;
        EXPECT_NE(style & ES_READONLY, 0u) << c.name;
        EXPECT_EQ((GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0, c.clientEdge) << c.name;
        EXPECT_TRUE(IsWindowUnicode(h)) << c.name;
        EXPECT_EQ(SendMessageW(h, EM_GETLIMITTEXT, 0, 0), 12) << c.name;
        EXPECT_EQ(textOf(f), "start") << c.name;
        // Activation gives the field the focus; creation raises no TextChange or SelChange.
        EXPECT_EQ(gTrace, "G ") << c.name;
    }
}

TEST(EditFields, TextIsStoredWithoutAControlAndExactWithOne) {
    const int32_t live = liveObjectCount();
    ObjectHandle loose = RuntimeNewObject(ix.editField);
    setText(loose, kSoHyo);
    EXPECT_EQ(textOf(loose), kSoHyo);
    EXPECT_EQ(editSelStartGetter(loose), 0);
    EXPECT_EQ(selTextOf(loose), "");
    editSelStartSetter(loose, 3);  // does nothing without a control
    EXPECT_EQ(StringValue::adopt(editTextStyleDataGetter(loose)).length(), 0);
    RuntimeUnlockObject(loose);
    EXPECT_EQ(liveObjectCount(), live);

    for (const char* kind : {"False", "True"}) {
        OpenWindow w({field("f", {{"Styled", kind}})});
        ObjectHandle f = w.fetch("f");
        for (const char* text : {kSoHyo, kSoushin, kMixed, "", "plain ascii"}) {
            gTrace.clear();
            setText(f, text);
            EXPECT_EQ(textOf(f), text) << "styled " << kind;
            EXPECT_EQ(gTrace, "T ") << "styled " << kind;
        }
    }
}

TEST(EditFields, SelStartKeepsTheOldEndAndSelLengthCountsFromTheStart) {
    for (const char* kind : {"False", "True"}) {
        OpenWindow w({field("f", {{"Styled", kind}, {"Text", "0123456789abcdef"}})});
        ObjectHandle f = w.fetch("f");
        editSelLengthSetter(f, 5);
        editSelStartSetter(f, 2);
        EXPECT_EQ(editSelStartGetter(f), 2);
        EXPECT_EQ(editSelLengthGetter(f), 3);
        gTrace.clear();
        editSelStartSetter(f, 10);  // after the end (5): selects 5 to 10
        EXPECT_EQ(editSelStartGetter(f), 5) << "styled " << kind;
        EXPECT_EQ(editSelLengthGetter(f), 5) << "styled " << kind;
        EXPECT_EQ(selTextOf(f), "56789");
        editSelStartSetter(f, 7);  // before the end: 7 to 10
        EXPECT_EQ(editSelStartGetter(f), 7);
        EXPECT_EQ(editSelLengthGetter(f), 3);
        editSelLengthSetter(f, -4);  // a negative length selects nothing
        EXPECT_EQ(editSelLengthGetter(f), 0);
        editSelLengthSetter(f, 0x7FFFFFFF);  // a huge one selects to the end
        EXPECT_EQ(editSelStartGetter(f), 7);
        EXPECT_EQ(editSelLengthGetter(f), 9);
        EXPECT_EQ(gTrace, "S S S S ") << "styled " << kind;
    }
}

TEST(EditFields, SelTextRaisesTextChangeThenSelChangeAndCountsDoubleByteCharactersOnce) {
    for (const char* kind : {"False", "True"}) {
        OpenWindow w({field("f", {{"Styled", kind}, {"Text", kMixed}})});
        ObjectHandle f = w.fetch("f");
        editSelLengthSetter(f, 4);
        editSelStartSetter(f, 1);
        EXPECT_EQ(selTextOf(f), "\x82\xa0" "b\x83\x5c") << "styled " << kind;
        gTrace.clear();
        setSelText(f, kSoushin);
        EXPECT_EQ(gTrace, "T S ") << "styled " << kind;
        EXPECT_EQ(textOf(f), std::string("a") + kSoushin + "c") << "styled " << kind;
        EXPECT_EQ(editSelLengthGetter(f), 0);
        EXPECT_EQ(editSelStartGetter(f), 3);  // after the two inserted characters
    }
}

TEST(EditFields, TextChangeAndSelChangeDoNotRaiseThemselvesAgain) {
    OpenWindow w({field("f", {{"Text", "x"}})});
    ObjectHandle f = w.fetch("f");
    gTrace.clear();
    gSetTextInTextChange = true;
    setText(f, "first");
    gSetTextInTextChange = false;
    EXPECT_EQ(gTrace, "T ");
    EXPECT_EQ(textOf(f), "again");
}

TEST(EditFields, MaskedFieldShowsTheMaskAndKeepsTheText) {
    for (const char* kind : {"False", "True"}) {
        OpenWindow w({field("f", {{"Styled", kind}, {"Text", kSoHyo}, {"Password", "True"}})});
        ObjectHandle f = w.fetch("f");
        HWND h = OpenWindow::controlHandle(f);
        EXPECT_EQ(shownText(h), L"**") << "styled " << kind;
        EXPECT_EQ(textOf(f), kSoHyo);
        setText(f, "ab\tc");
        EXPECT_EQ(shownText(h), L"**\t*");  // control characters are shown as they are
        EXPECT_EQ(textOf(f), "ab\tc");
        // SelText edits the hidden text and shows the mask.
        setText(f, "secret");
        editSelLengthSetter(f, 4);
        editSelStartSetter(f, 2);
        EXPECT_EQ(selTextOf(f), "cr");
        setSelText(f, "XYZ");
        EXPECT_EQ(textOf(f), "seXYZet");
        EXPECT_EQ(shownText(h), L"*******");
        // Switching the mask off restores the text and keeps the selection.
        editSelLengthSetter(f, 0);
        editSelStartSetter(f, 1);
        editSelLengthSetter(f, 3);
        editPasswordSetter(f, false);
        EXPECT_EQ(shownText(h), L"seXYZet");
        EXPECT_EQ(textOf(f), "seXYZet");
        EXPECT_EQ(editSelStartGetter(f), 1);
        EXPECT_EQ(editSelLengthGetter(f), 3);
        editPasswordSetter(f, true);
        editPasswordSetter(f, true);  // switching on twice keeps the text
        EXPECT_EQ(textOf(f), "seXYZet");
        EXPECT_EQ(editSelLengthGetter(f), 3);
    }
}

TEST(EditFields, JapaneseTypedByKeyInputArrivesAsExactShiftJis) {
    for (const char* kind : {"False", "True"}) {
        OpenWindow w({field("f", {{"Styled", kind}})});
        ObjectHandle f = w.fetch("f");
        w.focus(f);
        gTrace.clear();
        typeUnicode(L"\u30bd\u8868a\u9001\u4fe1");  // ソ表a送信
        EXPECT_EQ(textOf(f), std::string(kSoHyo) + "a" + kSoushin) << "styled " << kind;
        // Each character reaches KeyDown whole, then changes the text; a rich
        // field also reports the caret's move.
        const std::string change = std::string(kind) == "True" ? "S T " : "T ";
        EXPECT_EQ(gTrace, "K(\x83\x5c) " + change + "K(\x95\x5c) " + change + "K(a) " + change + "K(\x91\x97) " + change +
                              "K(\x90\x4d) " + change)
            << "styled " << kind;
    }
}

TEST(EditFields, KeyDownReturningTrueKeepsTheCharacterOut) {
    for (const char* password : {"False", "True"}) {
        OpenWindow w({field("f", {{"Text", "ab"}, {"Password", password}})});
        ObjectHandle f = w.fetch("f");
        HWND h = OpenWindow::controlHandle(f);
        w.focus(f);
        editSelLengthSetter(f, 2);
        editSelStartSetter(f, 2);
        gSwallowOnly = "x";
        gTrace.clear();
        typeUnicode(L"xcx\u3042");
        gSwallowOnly.clear();
        EXPECT_EQ(textOf(f), "abc\x82\xa0") << password;
        EXPECT_EQ(gTrace, "K(x) K(c) T K(x) K(\x82\xa0) T ") << password;
        EXPECT_EQ(shownText(h), std::string(password) == "True" ? L"****" : L"abc\u3042") << password;
    }
}

TEST(EditFields, ReturnAndTabAreTypedWhereTheFieldTakesThem) {
    OpenWindow w({field("multi", {{"MultiLine", "True"}, {"AcceptTabs", "True"}, {"Height", "60"}}, 10),
                  field("single", {}, 80)});
    ObjectHandle multi = w.fetch("multi");
    ObjectHandle single = w.fetch("single");
    w.focus(multi);
    typeUnicode(L"a");
    pressKey(VK_TAB);
    pressKey(VK_RETURN);
    typeUnicode(L"b");
    const std::string text = textOf(multi);
    EXPECT_TRUE(text == "a\t\r\nb" || text == "a\t\rb") << text;
    EXPECT_EQ(GetFocus(), OpenWindow::controlHandle(multi));
    // A single-line field without AcceptTabs leaves Tab to focus movement.
    w.focus(single);
    typeUnicode(L"c");
    pressKey(VK_TAB);
    EXPECT_EQ(textOf(single), "c");
    EXPECT_EQ(GetFocus(), OpenWindow::controlHandle(multi));
}

TEST(EditFields, TypingIntoAMaskedFieldEditsTheHiddenText) {
    OpenWindow w({field("f", {{"Password", "True"}, {"LimitText", "6"}})});
    ObjectHandle f = w.fetch("f");
    HWND h = OpenWindow::controlHandle(f);
    w.focus(f);
    typeUnicode(L"pass\u30bd");
    EXPECT_EQ(textOf(f), "pass\x83\x5c");
    pressKey(VK_BACK);
    pressKey(VK_LEFT);
    pressKey(VK_BACK);  // removes the first "s"
    EXPECT_EQ(textOf(f), "pas");
    EXPECT_EQ(shownText(h), L"***");
    pressKey(VK_HOME);
    pressKey(VK_DELETE);
    EXPECT_EQ(textOf(f), "as");
    typeUnicode(L"12345");  // the limit of 6 keeps the last character out of both
    EXPECT_EQ(textOf(f), "1234as");
    EXPECT_EQ(shownText(h), L"******");
}

TEST(EditFields, RichSelectionStyles) {
    OpenWindow w({field("f", {{"Styled", "True"}, {"Text", "plain bold italic"}})});
    ObjectHandle f = w.fetch("f");
    HWND h = OpenWindow::controlHandle(f);
    selectRange(f, 6, 4);
    EXPECT_TRUE(editSelPlainGetter(f));
    editSelBoldSetter(f, true);
    EXPECT_TRUE(editSelBoldGetter(f));
    EXPECT_FALSE(editSelPlainGetter(f));
    editSelTextSizeSetter(f, 12);
    CHARFORMATW format{};
    format.cbSize = sizeof(format);
    SendMessageW(h, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format.yHeight, 192);
    EXPECT_EQ(editSelTextSizeGetter(f), 12);
    editSelTextColorSetter(f, 0xFF0000);
    EXPECT_EQ(editSelTextColorGetter(f), 0xFF0000);
    editSelTextFontSetter(f, StringValue::fromCString("Courier New").get());
    EXPECT_EQ(std::string(viewOf(StringValue::adopt(editSelTextFontGetter(f)).get())), "Courier New");

    // Over a selection that is only partly bold, bold reads False and the
    // toggle makes all of it bold.
    editSelStartSetter(f, 0);
    editSelLengthSetter(f, 10);
    EXPECT_FALSE(editSelBoldGetter(f));
    EXPECT_FALSE(editSelPlainGetter(f));
    EXPECT_EQ(editSelTextSizeGetter(f), 0);  // sizes differ
    editToggleSelectionBold(f);
    EXPECT_TRUE(editSelBoldGetter(f));
    editToggleSelectionItalic(f);
    editToggleSelectionUnderline(f);
    EXPECT_TRUE(editSelItalicGetter(f));
    EXPECT_TRUE(editSelUnderlineGetter(f));
    editToggleSelectionBold(f);
    EXPECT_FALSE(editSelBoldGetter(f));
    editSelPlainSetter(f, true);
    EXPECT_TRUE(editSelPlainGetter(f));
    EXPECT_EQ(textOf(f), "plain bold italic");  // styles never change the text
}

TEST(EditFields, PlainFieldsHaveNoSelectionStyles) {
    OpenWindow w({field("f", {{"Text", "abc"}})});
    ObjectHandle f = w.fetch("f");
    editSelStartSetter(f, 0);
    editSelLengthSetter(f, 3);
    editSelBoldSetter(f, true);
    EXPECT_FALSE(editSelBoldGetter(f));
    EXPECT_FALSE(editSelPlainGetter(f));
    EXPECT_EQ(editSelTextSizeGetter(f), 0);
    EXPECT_EQ(StringValue::adopt(editSelTextFontGetter(f)).length(), 0);
}

TEST(EditFields, UnsupportedStylesExplainThemselves) {
    OpenWindow w({field("f", {{"Styled", "True"}, {"Text", "abc"}})});
    ObjectHandle f = w.fetch("f");
    struct Case {
        void (*call)(ObjectHandle);
        const char* text;
    };
    const Case cases[] = {
        {[](ObjectHandle o) { EXPECT_FALSE(editSelOutlineGetter(o)); },
         "Windows does not support the 'outline' styled text.  'Outline' text is a Mac Only feature of Velmira."},
        {[](ObjectHandle o) { editSelShadowSetter(o, true); },
         "Windows does not support the 'shadow' styled text.  'Shadow' text is a Mac Only feature of Velmira."},
        {[](ObjectHandle o) { editToggleSelectionCondense(o); },
         "Windows does not support the 'condensed' styled text.  'Condensed' text is a Mac Only feature of Velmira."},
        {[](ObjectHandle o) { EXPECT_FALSE(editSelExtendGetter(o)); },
         "Windows does not support the 'extended' styled text.  'Extended' text is a Mac Only feature of Velmira."},
    };
    for (const Case& c : cases) {
        testing_support::MessageBoxWatcher watcher;
        c.call(f);
        const auto seen = watcher.result();
        ASSERT_TRUE(seen.has_value()) << c.text;
        EXPECT_EQ(seen->text, c.text);
        EXPECT_EQ(seen->caption, "");
    }
    EXPECT_EQ(textOf(f), "abc");
}

TEST(EditFields, EditMenuItemsFollowTheFieldWithTheFocus) {
    struct Case {
        const char* what;
        std::vector<PropertyText> properties;
        bool select;
        bool clipboard;
        const char* enabled;
    };
    const Case cases[] = {
        {"selection", {}, true, false, "Cut Copy Clear "},
        {"no selection", {}, false, false, ""},
        {"clipboard text", {}, false, true, "Paste "},
        {"read-only", {{"ReadOnly", "True"}}, true, true, "Copy "},
        {"masked", {{"Password", "True"}}, true, true, "Paste Clear "},
    };
    for (const Case& c : cases) {
        std::vector<PropertyText> props = c.properties;
        props.push_back({"Text", "some text"});
        OpenWindow w({field("f", props)});
        ObjectHandle f = w.fetch("f");
        w.focus(f);
        if (c.clipboard) putOnClipboard(L"clip");
        else emptyClipboard();
        editSelStartSetter(f, 0);
        editSelLengthSetter(f, c.select ? 4 : 0);
        gTrace.clear();
        refreshMenuBar();
        EXPECT_EQ(enabledItems(), c.enabled) << c.what;
        EXPECT_EQ(gTrace, "E ") << c.what;  // the field's own EnableMenuItems after the standard items
    }
    emptyClipboard();
}

TEST(EditFields, SelChangeReevaluatesTheEditItems) {
    OpenWindow w({field("f", {{"Text", "some text"}})});
    ObjectHandle f = w.fetch("f");
    w.focus(f);
    emptyClipboard();
    editSelStartSetter(f, 0);
    editSelLengthSetter(f, 4);
    EXPECT_EQ(enabledItems(), "Cut Copy Clear ");
    editSelLengthSetter(f, 0);
    EXPECT_EQ(enabledItems(), "");
}

TEST(EditFields, EditCommandsGoToTheFieldFirst) {
    OpenWindow w({field("f", {{"Text", "cut this"}})});
    ObjectHandle f = w.fetch("f");
    w.focus(f);
    emptyClipboard();
    editSelStartSetter(f, 0);
    editSelLengthSetter(f, 4);
    gTrace.clear();
    EXPECT_TRUE(runMenuItem("EditCut"));
    EXPECT_EQ(textOf(f), "this");
    EXPECT_EQ(gTrace, "T S ");
    // The clipboard now holds the cut text: paste it at the end.
    selectRange(f, 4, 0);
    gTrace.clear();
    EXPECT_TRUE(runMenuItem("EditPaste"));
    EXPECT_EQ(textOf(f), "thiscut ");
    EXPECT_EQ(gTrace, "T S ");
    selectRange(f, 0, 4);
    gTrace.clear();
    EXPECT_TRUE(runMenuItem("EditClear"));
    EXPECT_EQ(textOf(f), "cut ");
    EXPECT_EQ(gTrace, "T S ");
    // The field's own handler comes first; declining leaves the copy to it.
    editSelLengthSetter(f, 3);
    gTrace.clear();
    gFieldHandlesEditCopy = true;
    EXPECT_TRUE(runMenuItem("EditCopy"));
    gFieldHandlesEditCopy = false;
    EXPECT_EQ(gTrace, "own:EditCopy ");
    emptyClipboard();
}

TEST(EditFields, MenuHandlersOfTheClassAFieldDerivesFromCount) {
    LayoutControl sub = field("f", {{"Text", "text"}});
    sub.classIndex = ix.handlerSubclass;  // as a layout makes for a field with event handlers
    OpenWindow w({sub});
    ObjectHandle f = w.fetch("f");
    w.focus(f);
    gTrace.clear();
    gFieldHandlesEditCopy = true;
    EXPECT_TRUE(runMenuItem("EditCopy"));
    gFieldHandlesEditCopy = false;
    EXPECT_EQ(gTrace, "own:EditCopy ");
}

TEST(EditFields, MaskedFieldsNeverGiveTheirTextAway) {
    OpenWindow w({field("f", {{"Text", "hidden"}, {"Password", "True"}})});
    ObjectHandle f = w.fetch("f");
    w.focus(f);
    putOnClipboard(L"before");
    editSelStartSetter(f, 0);
    editSelLengthSetter(f, 6);
    EXPECT_FALSE(runMenuItem("EditCopy"));  // the field's handler declines, copying is not allowed
    EXPECT_FALSE(runMenuItem("EditCut"));
    SendMessageW(OpenWindow::controlHandle(f), WM_COPY, 0, 0);
    EXPECT_EQ(textOf(f), "hidden");
    // Pasting into the masked field inserts into the hidden text.
    gTrace.clear();
    EXPECT_TRUE(runMenuItem("EditPaste"));
    EXPECT_EQ(textOf(f), "before");
    EXPECT_EQ(shownText(OpenWindow::controlHandle(f)), L"******");
    EXPECT_EQ(gTrace, "T S ");
    EXPECT_EQ(clipboardText(), L"before");
    // The keys: copying and cutting give nothing away, pasting goes into the
    // hidden text.
    putOnClipboard(L"keys");
    selectRange(f, 0, 6);
    pressChord(VK_CONTROL, 'C');
    pressChord(VK_CONTROL, 'X');
    pressChord(VK_SHIFT, VK_DELETE);
    EXPECT_EQ(clipboardText(), L"keys");
    EXPECT_EQ(textOf(f), "before");
    pressChord(VK_CONTROL, 'V');
    EXPECT_EQ(textOf(f), "keys");
    EXPECT_EQ(shownText(OpenWindow::controlHandle(f)), L"****");
    emptyClipboard();
}

TEST(EditFields, RichFieldsLoadAndSaveTheirTextAsFiles) {
    OpenWindow w({field("rich", {{"Styled", "True"}, {"MultiLine", "True"}, {"Height", "60"}}, 10), field("plain", {}, 80)});
    ObjectHandle rich = w.fetch("rich");
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"edit_field_file.txt";
    const std::string content = std::string(kSoHyo) + "\r\nline two " + kSoushin;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);

    EXPECT_EQ(editPaneOf(rich)->loadFile(path), static_cast<int32_t>(content.size()));
    EXPECT_NE(textOf(rich).find(kSoushin), std::string::npos) << textOf(rich);
    EXPECT_EQ(textOf(rich).substr(0, 4), kSoHyo);
    setText(rich, kMixed);
    const std::wstring saved = std::wstring(folder) + L"edit_field_saved.txt";
    EXPECT_EQ(editPaneOf(rich)->saveFile(saved), static_cast<int32_t>(std::strlen(kMixed)));
    char back[64] = {};
    DWORD got = 0;
    file = CreateFileW(saved.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ReadFile(file, back, sizeof back - 1, &got, nullptr);
    CloseHandle(file);
    EXPECT_EQ(std::string(back, got), kMixed);
    EXPECT_EQ(editPaneOf(rich)->loadFile(std::wstring(folder) + L"no such folder\\none.txt"), -1);
    EXPECT_EQ(editPaneOf(w.fetch("plain"))->loadFile(path), -1);
    DeleteFileW(path.c_str());
    DeleteFileW(saved.c_str());
}

TEST(EditFields, FocusEvents) {
    OpenWindow w({field("a", {}, 10), field("b", {}, 50)});
    ObjectHandle a = w.fetch("a");
    ObjectHandle b = w.fetch("b");
    w.focus(a);
    gTrace.clear();
    SetFocus(OpenWindow::controlHandle(b));
    runPasses(2);
    EXPECT_EQ(gTrace, "L G ");
    EXPECT_EQ(windowFields(w.object).native->focusedPane(), editPaneOf(b));
}

TEST(EditFields, ColoursAnswerTheParentsColourMessages) {
    OpenWindow w({field("plain", {{"Text", "\x90\xd4" "red on yellow"}, {"TextColor", "16711680"}, {"BackColor", "16776960"}}, 10),
                  field("rich", {{"Styled", "True"}, {"Text", "rich"}, {"BackColor", "65535"}}, 50),
                  field("none", {{"Text", "default"}}, 90)});
    ObjectHandle plain = w.fetch("plain");
    HWND h = OpenWindow::controlHandle(plain);
    HDC dc = GetDC(h);
    const LRESULT brush = SendMessageW(w.handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(h));
    EXPECT_NE(brush, 0);
    EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 0));
    LOGBRUSH info{};
    GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof(info), &info);
    EXPECT_EQ(info.lbColor, RGB(255, 255, 0));
    ReleaseDC(h, dc);
    // A field without colours of its own leaves the answer to the system.
    HWND none = OpenWindow::controlHandle(w.fetch("none"));
    dc = GetDC(none);
    SetTextColor(dc, RGB(1, 2, 3));
    SendMessageW(w.handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(none));
    EXPECT_NE(GetTextColor(dc), RGB(255, 0, 0));
    ReleaseDC(none, dc);
}

TEST(EditFields, ScreenshotOfColouredRunsAndJapaneseText) {
    OpenWindow w({field("rich", {{"Styled", "True"}, {"MultiLine", "True"}, {"TextSize", "14"}, {"Height", "80"}}, 10),
                  field("plain", {{"TextSize", "14"}}, 100)});
    ObjectHandle rich = w.fetch("rich");
    ObjectHandle plain = w.fetch("plain");
    setText(rich, "red green blue \x93\xfa\x96\x7b\x8c\xea");  // red green blue 日本語
    struct Run {
        int start, length, colour;
    };
    for (const Run& r : {Run{0, 3, 0xFF0000}, Run{4, 5, 0x00A000}, Run{10, 4, 0x0000FF}, Run{15, 3, 0xFF00FF}}) {
        selectRange(rich, r.start, r.length);
        editSelTextColorSetter(rich, r.colour);
        editSelBoldSetter(rich, true);
    }
    selectRange(rich, 0, 3);
    EXPECT_EQ(editSelTextColorGetter(rich), 0xFF0000);
    EXPECT_TRUE(editSelBoldGetter(rich));
    selectRange(rich, 0, 0);  // the runs show in their own colours
    w.focus(plain);
    typeUnicode(L"\u9001\u4fe1\u3057\u307e\u3057\u305f");  // 送信しました
    EXPECT_EQ(textOf(plain), "\x91\x97\x90\x4d\x82\xb5\x82\xdc\x82\xb5\x82\xbd");
    runPasses(4);
    UpdateWindow(w.handle());
    EXPECT_TRUE(testing_support::writeScreenshot("edit_field_screenshot.png"));
}

}  // namespace
