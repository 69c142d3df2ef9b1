#include "ui/controls/EditFieldPane.h"

#include <richedit.h>

#include <algorithm>
#include <utility>

#include "objects/EventLookup.h"
#include "objects/LoopEntries.h"
#include "objects/MenuBarModel.h"
#include "objects/ObjectEntries.h"
#include "text/CaseFold.h"
#include "text/StringValue.h"
#include "text/SystemText.h"
#include "ui/ControlFields.h"
#include "ui/FontCache.h"
#include "ui/controls/ControlKind.h"
#include "ui/NativeWindow.h"
#include "ui/WindowEntries.h"
#include "ui/WindowEvents.h"
#include "ui/controls/EditFieldFields.h"

namespace runtime {
namespace {

constexpr DWORD kRichMultiLineStyle = ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL;  // 0x200044
constexpr DWORD kRichSingleLineStyle = ES_AUTOHSCROLL | WS_VSCROLL;                // 0x200080
constexpr DWORD kPlainStyle = ES_AUTOHSCROLL;                                      // 0x80
constexpr COLORREF kWhite = RGB(255, 255, 255);

COLORREF systemColour(int32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// The rich-edit library is loaded once, before the first rich field. Its
// "RichEdit" class is an ANSI window class: double-byte characters typed
// into it arrive as separate bytes and the text comes out garbled. Rich
// fields are made of the same library generation's Unicode class instead.
constexpr wchar_t kRichEditClass[] = L"RichEdit20W";

void loadRichEditLibrary() {
    static bool loaded = false;
    if (loaded) return;
    LoadLibraryW(L"RICHED32.DLL");
    loaded = LoadLibraryW(L"RICHED20.DLL") != nullptr;
}

// Runs `body` with the control's own change notifications silenced: the
// routine that changes the control raises the events itself.
class Quiet {
public:
    explicit Quiet(int& counter) : counter_(counter) { ++counter_; }
    ~Quiet() { --counter_; }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

private:
    int& counter_;
};

std::wstring clipboardText(HWND owner) {
    std::wstring text;
    if (!OpenClipboard(owner)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

bool clipboardOffersText() {
    if (!OpenClipboard(nullptr)) return false;
    const bool offers = IsClipboardFormatAvailable(CF_TEXT) || IsClipboardFormatAvailable(CF_UNICODETEXT);
    CloseClipboard();
    return offers;
}

void setMenuItemEnabled(const char* name, bool enabled, bool exact) {
    if (!enabled && !exact) return;
    const StringValue itemName = StringValue::fromCString(name);
    ObjectHandle item = RuntimeMenuReference(itemName.get());
    if (!item) return;
    menuItemFields(item).enabled = enabled;
    RuntimeUnlockObject(item);
}

bool isItem(const MenuItemFields& item, std::string_view name) { return foldedEquals(viewOf(item.name), name); }

}  // namespace

EditFieldPane* editPaneOf(ObjectHandle field) {
    return controls::paneOf<EditFieldPane>(field);
}

EditFieldPane::EditFieldPane(ObjectHandle field, NativeWindow* window) : Pane(field, window) {
    const EditFieldFields& e = editFields(field);
    multiLine_ = e.multiLine;
    rich_ = e.styled || e.multiLine;
    DWORD style = kPlainStyle;
    const wchar_t* systemClass = L"EDIT";
    if (rich_) {
        loadRichEditLibrary();
        systemClass = kRichEditClass;
        style = multiLine_ ? kRichMultiLineStyle : kRichSingleLineStyle;
    }
    const Quiet quiet(quiet_);
    HWND h = createChild(systemClass, WS_TABSTOP | style, std::wstring());
    if (!h) return;
    if (e.border) {
        SetWindowLongW(h, GWL_EXSTYLE, GetWindowLongW(h, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
        SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    if (rich_) SendMessageW(h, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
    subclass();
    applyFont();
    setReadOnly(e.readOnly);
    if (e.hasTextColor) setTextColor(systemColour(e.textColor));
    if (e.hasBackColor) setBackColor(systemColour(e.backColor));
    setText(toSystemText(viewOf(e.text)));
    setLimit(e.limitText);
    setPassword(e.password);
    acceptTabs_ = e.acceptTabs;
}

EditFieldPane::~EditFieldPane() {
    if (brush_) DeleteObject(brush_);
}

// Text ----------------------------------------------------------------------

std::wstring EditFieldPane::shownText() const {
    HWND h = handle();
    if (!h) return {};
    const int length = GetWindowTextLengthW(h);
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    const int got = GetWindowTextW(h, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

std::wstring EditFieldPane::text() const { return masked_ ? hidden_ : shownText(); }

void EditFieldPane::replaceShown(std::wstring_view text) {
    const Quiet quiet(quiet_);
    const std::wstring copy(text);
    SetWindowTextW(handle(), copy.c_str());
}

void EditFieldPane::setText(std::wstring_view text) {
    if (masked_) {
        hidden_ = text;
        replaceShown(maskOf(text));
    } else {
        replaceShown(text);
    }
}

TextRange EditFieldPane::selection() const {
    HWND h = handle();
    if (!h) return {};
    LONG start = 0, end = 0;
    if (rich_) {
        CHARRANGE range{0, 0};
        SendMessageW(h, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
        start = range.cpMin;
        end = range.cpMax;
    } else {
        DWORD s = 0, e = 0;
        SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
        start = static_cast<LONG>(s);
        end = static_cast<LONG>(e);
    }
    // A rich control can select its closing paragraph mark, which is not text.
    const auto length = static_cast<LONG>(positionCount());
    if (end < 0 || end > length) end = length;
    start = std::clamp<LONG>(start, 0, length);
    return TextRange{static_cast<size_t>(std::min(start, end)), static_cast<size_t>(std::max(start, end))};
}

size_t EditFieldPane::positionCount() const {
    if (!rich_) return static_cast<size_t>(std::max(GetWindowTextLengthW(handle()), 0));
    // Line breaks count as one position, as the selection counts them.
    GETTEXTLENGTHEX query{GTL_NUMCHARS, 1200};
    const LRESULT n = SendMessageW(handle(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0);
    return static_cast<size_t>(std::max<LRESULT>(n, 0));
}

void EditFieldPane::select(size_t start, size_t end) {
    HWND h = handle();
    if (!h) return;
    // Positions past the end select to the end.
    const size_t last = std::min<size_t>(positionCount(), 0x7FFFFFFF);
    start = std::min(start, last);
    end = std::min(end, last);
    const Quiet quiet(quiet_);
    if (rich_) {
        CHARRANGE range{static_cast<LONG>(start), static_cast<LONG>(end)};
        SendMessageW(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    } else {
        SendMessageW(h, EM_SETSEL, start, end);
    }
}

std::wstring EditFieldPane::selectedText() const {
    const TextRange r = selection();
    if (r.empty()) return {};
    if (masked_) return hidden_.substr(std::min(r.start, hidden_.size()), r.end - r.start);
    if (rich_) {
        // Rich fields count a line break as one position: ask the control.
        std::wstring text(2 * (r.end - r.start) + 1, L'\0');
        const LRESULT n = SendMessageW(handle(), EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::min(static_cast<size_t>(std::max<LRESULT>(n, 0)), text.size()));
        return text;
    }
    const std::wstring all = shownText();
    if (r.start >= all.size()) return {};
    return all.substr(r.start, r.end - r.start);
}

void EditFieldPane::replaceSelection(std::wstring_view text) {
    HWND h = handle();
    if (!h) return;
    std::wstring shown(text);
    if (masked_) {
        replaceInMasked(hidden_, selection(), text);
        shown = maskOf(text);
    }
    SendMessageW(h, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(shown.c_str()));
}

void EditFieldPane::setSelectedText(std::wstring_view text) {
    HWND h = handle();
    if (!h) return;
    {
        const Quiet quiet(quiet_);
        replaceSelection(text);
    }
    raiseTextChange();
    if (stillAlive(h, this)) raiseSelChange();
}

// Settings --------------------------------------------------------------------

void EditFieldPane::setPassword(bool on) {
    if (on == masked_ || !handle()) return;
    const TextRange kept = selection();
    if (on) {
        hidden_ = shownText();
        masked_ = true;
        replaceShown(maskOf(hidden_));
    } else {
        masked_ = false;
        replaceShown(hidden_);
        hidden_.clear();
    }
    select(kept.start, kept.end);
}

void EditFieldPane::setReadOnly(bool on) {
    readOnly_ = on;
    if (handle()) SendMessageW(handle(), EM_SETREADONLY, on, 0);
}

void EditFieldPane::setLimit(int32_t limit) {
    if (handle()) SendMessageW(handle(), EM_LIMITTEXT, static_cast<WPARAM>(std::max(limit, 0)), 0);
}

void EditFieldPane::makeBrush() {
    if (brush_) DeleteObject(brush_);
    brush_ = CreateSolidBrush(hasBackColor_ ? backColor_ : kWhite);
}

void EditFieldPane::setTextColor(COLORREF color) {
    hasTextColor_ = true;
    textColor_ = color;
    makeBrush();
    if (rich_ && handle()) {
        // A rich field draws its own text: the colour goes into its format,
        // for the text there and for text typed later.
        CHARFORMATW format{};
        format.cbSize = sizeof(format);
        format.dwMask = CFM_COLOR;
        format.crTextColor = color;
        const Quiet quiet(quiet_);
        SendMessageW(handle(), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
        SendMessageW(handle(), EM_SETCHARFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    }
    if (handle()) InvalidateRect(handle(), nullptr, TRUE);
}

void EditFieldPane::setBackColor(COLORREF color) {
    hasBackColor_ = true;
    backColor_ = color;
    makeBrush();
    if (rich_ && handle()) SendMessageW(handle(), EM_SETBKGNDCOLOR, 0, color);
    if (handle()) InvalidateRect(handle(), nullptr, TRUE);
}

void EditFieldPane::applyFont() {
    const Quiet quiet(quiet_);
    setFont(controls::fontRequestOf(control()));
}

// Character formats -------------------------------------------------------------

SelectionFormat EditFieldPane::selectionFormat() const {
    SelectionFormat result;
    if (!rich_ || !handle()) return result;
    CHARFORMATW format{};
    format.cbSize = sizeof(format);
    SendMessageW(handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    result.mask = format.dwMask;
    result.effects = format.dwEffects;
    result.height = format.yHeight;
    result.color = format.crTextColor;
    return result;
}

std::wstring EditFieldPane::selectionFace() const {
    if (!rich_ || !handle()) return {};
    CHARFORMATW format{};
    format.cbSize = sizeof(format);
    SendMessageW(handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    if (!(format.dwMask & kFaceBit)) return {};
    return format.szFaceName;
}

void EditFieldPane::setSelectionFormat(uint32_t mask, uint32_t effects, int32_t height, COLORREF color,
                                       std::wstring_view face) {
    if (!rich_ || !handle()) return;
    CHARFORMATW format{};
    format.cbSize = sizeof(format);
    format.dwMask = mask;
    format.dwEffects = effects;
    format.yHeight = height;
    format.crTextColor = color;
    const size_t n = std::min<size_t>(face.size(), 31);
    std::copy_n(face.begin(), n, format.szFaceName);
    format.szFaceName[n] = L'\0';
    SendMessageW(handle(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

// Files ---------------------------------------------------------------------------

namespace {

// The text handed to or taken from the control by EM_STREAMIN/EM_STREAMOUT.
struct StreamedText {
    std::wstring text;
    size_t position = 0;
};

DWORD CALLBACK streamInChunk(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    auto* s = reinterpret_cast<StreamedText*>(cookie);
    const size_t bytesLeft = (s->text.size() - s->position) * sizeof(wchar_t);
    const size_t n = std::min(bytesLeft, static_cast<size_t>(size) / sizeof(wchar_t) * sizeof(wchar_t));
    std::copy_n(reinterpret_cast<const BYTE*>(s->text.data() + s->position), n, buffer);
    s->position += n / sizeof(wchar_t);
    *done = static_cast<LONG>(n);
    return 0;
}

DWORD CALLBACK streamOutChunk(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    auto* s = reinterpret_cast<StreamedText*>(cookie);
    s->text.append(reinterpret_cast<const wchar_t*>(buffer), static_cast<size_t>(size) / sizeof(wchar_t));
    *done = size;
    return 0;
}

}  // namespace

int32_t EditFieldPane::loadFile(const std::wstring& path) {
    if (!rich_ || !handle()) return -1;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    StreamedText streamed{toSystemText(bytes), 0};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&streamed), 0, streamInChunk};
    if (masked_) {
        setText(streamed.text);
    } else {
        const Quiet quiet(quiet_);
        SendMessageW(handle(), EM_STREAMIN, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&stream));
    }
    return static_cast<int32_t>(bytes.size());
}

int32_t EditFieldPane::saveFile(const std::wstring& path) {
    if (!rich_ || !handle()) return -1;
    StreamedText streamed;
    if (masked_) {
        streamed.text = hidden_;
    } else {
        EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&streamed), 0, streamOutChunk};
        SendMessageW(handle(), EM_STREAMOUT, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&stream));
    }
    const std::string bytes = fromSystemText(streamed.text);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok ? static_cast<int32_t>(written) : -1;
}

// Edit commands -------------------------------------------------------------------

bool EditFieldPane::canCut() const { return !selection().empty() && !readOnly_ && !masked_; }
bool EditFieldPane::canCopy() const { return !selection().empty() && !masked_; }
bool EditFieldPane::canClear() const { return !selection().empty() && !readOnly_; }
bool EditFieldPane::canPaste() const { return !readOnly_ && clipboardOffersText(); }

void EditFieldPane::cut() {
    if (masked_ || !handle()) return;
    {
        const Quiet quiet(quiet_);
        SendMessageW(handle(), WM_CUT, 0, 0);
    }
    HWND h = handle();
    raiseTextChange();
    if (stillAlive(h, this)) raiseSelChange();
}

void EditFieldPane::copy() {
    if (!masked_ && handle()) SendMessageW(handle(), WM_COPY, 0, 0);
}

void EditFieldPane::clear() { setSelectedText(L""); }

void EditFieldPane::paste() {
    if (!handle()) return;
    {
        const Quiet quiet(quiet_);
        if (masked_) replaceSelection(clipboardText(handle()));
        else SendMessageW(handle(), WM_PASTE, 0, 0);
    }
    HWND h = handle();
    raiseTextChange();
    if (stillAlive(h, this)) raiseSelChange();
}

// Events ---------------------------------------------------------------------------

void EditFieldPane::raiseTextChange() {
    ObjectHandle field = control();
    guarded(GuardedEvent::kTextChange, [field] { deliverNamedEvent(field, "EditField", "TextChange"); });
}

void EditFieldPane::raiseSelChange() {
    HWND h = handle();
    ObjectHandle field = control();
    guarded(GuardedEvent::kSelChange, [field] { deliverNamedEvent(field, "EditField", "SelChange"); });
    if (stillAlive(h, this)) updateStandardItems(true);
}

bool EditFieldPane::stillAlive(HWND handle, const EditFieldPane* pane) {
    return handle && IsWindow(handle) && paneOfHandle(handle) == pane;
}

// The standard edit items while the field has the focus. The menu refresh
// only enables (everything starts disabled); after a selection change each
// item is set to what the field allows now.
void EditFieldPane::updateStandardItems(bool exact) {
    if (!handle() || GetFocus() != handle()) return;
    const bool selected = !selection().empty();
    setMenuItemEnabled("EditCut", selected && !readOnly_ && !masked_, exact);
    setMenuItemEnabled("EditClear", selected && !readOnly_, exact);
    setMenuItemEnabled("EditCopy", selected && !masked_, exact);
    setMenuItemEnabled("EditPaste", canPaste(), exact);
}

void EditFieldPane::enableMenuItems() {
    updateStandardItems(false);
    deliverNamedEvent(control(), "EditField", "EnableMenuItems");
}

bool EditFieldPane::menuCommand(ObjectHandle item) {
    ObjectHandle field = control();
    HWND h = handle();
    const MenuItemFields& f = menuItemFields(item);
    // The field's class and the classes it derives from: a field given event
    // handlers in a layout is an anonymous subclass of the class that holds
    // its menu handlers.
    CodeAddress code = nullptr;
    for (const ClassRecord* cls = field->classRecord; cls && !code; cls = cls->superclass) {
        code = findMenuHandler(cls, f.name);
    }
    if (code) {
        const Unwindable<ObjectRef> keep(ObjectRef::borrow(field));
        const int32_t index = f.index;
        const bool handled = index >= 0 ? callBooleanHandler(code, field, index) : callBooleanHandler(code, field);
        if (handled) return true;
        if (!stillAlive(h, this)) return false;
    }
    if (isItem(f, "EditCut") && canCut()) cut();
    else if (isItem(f, "EditCopy") && canCopy()) copy();
    else if (isItem(f, "EditClear") && canClear()) clear();
    else if (isItem(f, "EditPaste") && canPaste()) paste();
    else return false;
    return true;
}

bool EditFieldPane::keyDown(StringHandle key, int32_t modifiers) {
    // Return in a multi-line field and Tab in a field that accepts tabs are
    // typed into the field, not taken for the default button or focus moves.
    const std::string_view k = viewOf(key);
    const bool control = (modifiers & 0x1000) != 0;
    wchar_t typed = 0;
    if (k == "\r" && multiLine_) typed = L'\r';
    else if (k == "\t" && acceptTabs_ && !control) typed = L'\t';
    if (!typed) return false;
    HWND h = handle();
    callSystem([&] { return SendMessageW(h, WM_CHAR, typed, 1); });
    return true;
}

void EditFieldPane::commandNotification(int32_t code) {
    if (code == EN_CHANGE && !quiet_) raiseTextChange();
}

bool EditFieldPane::notify(const NMHDR& header, LRESULT& result) {
    if (header.code != EN_SELCHANGE) return false;
    result = 0;
    if (!quiet_) raiseSelChange();
    return true;
}

// The parent asks for the field's colours: its own when it has any, else the
// system's (the base would answer with the colour behind the pane).
bool EditFieldPane::handleNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC: {
            if (!hasTextColor_ && !hasBackColor_) return false;
            auto* dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, hasTextColor_ ? textColor_ : GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, hasBackColor_ ? backColor_ : kWhite);
            if (!brush_) makeBrush();
            result = reinterpret_cast<LRESULT>(brush_);
            return true;
        }
        default: return Pane::handleNotification(message, wParam, lParam, result);
    }
}

// The subclass ----------------------------------------------------------------------

LRESULT EditFieldPane::messageHook(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR: return onCharacter(wParam, lParam);
        case WM_KEYDOWN:
            InvalidateRect(handle(), nullptr, TRUE);
            if (masked_ && onMaskedKey(wParam)) return 0;
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            const LRESULT result = passOn(message, wParam, lParam);
            onFocus(message == WM_SETFOCUS);
            return result;
        }
        // A masked field never gives its text away and edits it only
        // through the hidden text.
        case WM_CUT:
        case WM_COPY:
        case WM_UNDO:
        case EM_UNDO:
        case WM_CONTEXTMENU:
            if (masked_) return 0;
            break;
        case WM_PASTE:
            if (!masked_) break;
            if (!readOnly_) replaceSelection(clipboardText(handle()));
            return 0;
        case WM_CLEAR:
            if (!masked_) break;
            if (!readOnly_) replaceSelection(L"");
            return 0;
        case WM_DESTROY:
            if (brush_) DeleteObject(std::exchange(brush_, nullptr));
            break;
        default: break;
    }
    return passOn(message, wParam, lParam);
}

LRESULT EditFieldPane::onCharacter(WPARAM wParam, LPARAM lParam) {
    const auto typed = static_cast<wchar_t>(wParam);
    HWND h = handle();
    {
        const Unwindable<StringValue> key(StringValue::fromBytes(fromSystemText(std::wstring_view(&typed, 1))));
        const bool swallowed = deliverNamedEvent(control(), "EditField", "KeyDown", key->get());
        if (swallowed || !stillAlive(h, this)) return 0;
    }
    if (!masked_) {
        // The rich control breaks lines on the key itself, not on its character.
        if (typed == L'\r' && rich_ && multiLine_) {
            SendMessageW(h, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\r"));
            return 0;
        }
        return passOn(WM_CHAR, wParam, lParam);
    }
    if (readOnly_) return 0;
    const std::wstring before = hidden_;
    const TextRange selected = selection();
    switch (typeIntoMasked(hidden_, selected, typed)) {
        case MaskedKey::kSwallow: return 0;
        case MaskedKey::kPassBackspace: {
            TextRange gone = selected;
            if (gone.empty() && gone.start > 0) --gone.start;
            if (gone.empty()) return 0;
            select(gone.start, gone.end);
            SendMessageW(h, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
            return 0;
        }
        case MaskedKey::kPassMask:
            passOn(WM_CHAR, kMaskCharacter, lParam);
            // A full field refuses the character: the hidden text follows.
            if (stillAlive(h, this) && shownText().size() != hidden_.size()) hidden_ = before;
            return 0;
    }
    return 0;
}

// Keys a masked field handles itself, so that the control never edits the
// mask behind the hidden text's back; true when the key is used up.
bool EditFieldPane::onMaskedKey(WPARAM key) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    switch (key) {
        case VK_BACK: return true;  // removed when its character arrives
        case VK_DELETE: {
            if (shift || readOnly_) return true;  // no cut while masked
            const TextRange selected = selection();
            TextRange gone = selected;
            if (gone.empty() && gone.end < hidden_.size()) ++gone.end;
            deleteForwardInMasked(hidden_, selected);
            if (!gone.empty()) {
                select(gone.start, gone.end);
                SendMessageW(handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
            }
            return true;
        }
        case VK_INSERT:
            if (shift && !readOnly_) replaceSelection(clipboardText(handle()));
            return shift || control;
        case 'V':
            if (control && !readOnly_) replaceSelection(clipboardText(handle()));
            return control;
        case 'X':
        case 'C':
        case 'Z':
        case 'Y': return control;
        default: return false;
    }
}

void EditFieldPane::onFocus(bool gained) {
    if (gained && window()) window()->setFocusedPane(this);
    deliverNamedEvent(control(), "EditField", gained ? "GotFocus" : "LostFocus");
}

}  // namespace runtime
