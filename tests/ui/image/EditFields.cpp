// Image fixture: the application opens the layout FieldsLayout, drives its
// edit fields through the runtime's routines, then types into a plain and a
// rich field with real key input (one timer step per field, so the loop
// delivers the keys in between) and writes what it saw to
// editfields_result.txt. Closing the window ends the loop.
#include "../../image/fixtures/ResultLine.h"

using namespace app::literals;

extern "C" {
WINAPI_IMPORT void* CreateFileA_(const char* name, uint32_t access, uint32_t share, void* security, uint32_t creation,
                                 uint32_t flags, void* model) APP_LIBRARY_IMPORT("kernel32.dll", "CreateFileA");
WINAPI_IMPORT int WriteFile_(void* file, const void* bytes, uint32_t count, uint32_t* written, void* overlapped)
    APP_LIBRARY_IMPORT("kernel32.dll", "WriteFile");
WINAPI_IMPORT int CloseHandle_(void* handle) APP_LIBRARY_IMPORT("kernel32.dll", "CloseHandle");
WINAPI_IMPORT void* FindWindowExA_(void* parent, void* after, const char* cls, const char* title)
    APP_LIBRARY_IMPORT("user32.dll", "FindWindowExA");
WINAPI_IMPORT int GetWindowTextW_(void* window, uint16_t* text, int size) APP_LIBRARY_IMPORT("user32.dll", "GetWindowTextW");
WINAPI_IMPORT int SetForegroundWindow_(void* window) APP_LIBRARY_IMPORT("user32.dll", "SetForegroundWindow");
WINAPI_IMPORT void* SetFocus_(void* window) APP_LIBRARY_IMPORT("user32.dll", "SetFocus");
WINAPI_IMPORT uint32_t SendInput_(uint32_t count, void* inputs, int size) APP_LIBRARY_IMPORT("user32.dll", "SendInput");

extern const uint8_t FieldsLayout[];
// The timer routine (its family's header is not among the application's imports).
void timerModeSetter(ObjectHandle timer, int32_t mode);
}

namespace {

using Line = fixture::ResultLine;
constinit Line gResult{};
constinit Line gTrace{};
ObjectHandle gMain = nullptr;  // the window's implicit instance
int32_t gStep = 0;
int32_t gKeyDowns = 0;
int32_t gTextChanges = 0;

// The keyboard form of the system's INPUT record (28 bytes on this target).
struct KeyInput {
    uint32_t type;  // 1: keyboard
    uint16_t virtualKey;
    uint16_t scanCode;
    uint32_t flags;
    uint32_t time;
    uint32_t extraInfo;
    uint32_t padding[2];
};
static_assert(sizeof(KeyInput) == 28);
constexpr uint32_t kUnicode = 4;
constexpr uint32_t kKeyUp = 2;

// Types each UTF-16 character as a Unicode key press and release.
void typeCharacters(const uint16_t* text, int n) {
    for (int i = 0; i < n; ++i) {
        KeyInput keys[2] = {{1, 0, text[i], kUnicode, 0, 0, {0, 0}}, {1, 0, text[i], kUnicode | kKeyUp, 0, 0, {0, 0}}};
        SendInput_(2, keys, sizeof(KeyInput));
    }
}

bool sameBytes(const app::String& s, const char* bytes) {
    const char* t = s.cString();
    int32_t i = 0;
    for (; bytes[i]; ++i) {
        if (i >= s.length() || t[i] != bytes[i]) return false;
    }
    return i == s.length();
}

int32_t textIs(ObjectHandle field, const char* bytes) {
    return sameBytes(app::String::adopt(editTextGetter(field)), bytes) ? 1 : 0;
}

ObjectHandle control(StringHandle name) {
    ObjectHandle c = RuntimeControlReference(gMain, name);
    RuntimeUnlockObject(c);  // the window's registry keeps it
    return c;
}

void* windowHandle() { return reinterpret_cast<void*>(static_cast<intptr_t>(windowHWNDGetter(gMain))); }

// The child of class `cls` whose text has `length` characters, the first of
// them `first` (0: any).
void* childWithText(const char* cls, int length, uint16_t first) {
    for (void* child = FindWindowExA_(windowHandle(), nullptr, cls, nullptr); child;
         child = FindWindowExA_(windowHandle(), child, cls, nullptr)) {
        uint16_t text[64] = {};
        if (GetWindowTextW_(child, text, 64) == length && (first == 0 || text[0] == first)) return child;
    }
    return nullptr;
}

void writeResult() {
    void* file = CreateFileA_("editfields_result.txt", 0x40000000 /* GENERIC_WRITE */, 0, nullptr, 2 /* CREATE_ALWAYS */,
                              0x80, nullptr);
    uint32_t written = 0;
    WriteFile_(file, gResult.bytes, gResult.length, &written, nullptr);
    CloseHandle_(file);
}

// A masked field gives its text and shows one mask character per character.
void checkMasked() {
    ObjectHandle masked = control("Masked"_s);
    gResult.field("masked", textIs(masked, "secret"));
    gResult.field("shown", childWithText("Edit", 6, '*') != nullptr ? 1 : 0);
}

// SelStart 10 on a selection of 2 to 5 selects 5 to 10; SelText raises
// TextChange before SelChange.
void checkSelection() {
    ObjectHandle plain = control("Plain"_s);
    editSelLengthSetter(plain, 5);
    editSelStartSetter(plain, 2);
    gResult.field("start", editSelStartGetter(plain));
    gResult.field("length", editSelLengthGetter(plain));
    editSelStartSetter(plain, 10);
    gResult.field("start", editSelStartGetter(plain));
    gResult.field("length", editSelLengthGetter(plain));
    while (gTrace.length > 0) gTrace.bytes[--gTrace.length] = 0;
    editSelTextSetter(plain, "送"_s);
    gResult.add("seltext=");
    gResult.add(gTrace.bytes);
    gResult.add('|');
    gResult.field("text", textIs(plain, "01234送abcdef"));
}

}  // namespace

extern "C" {

void Plain_TextChange(ObjectHandle) { gTrace.add('T'); }
void Plain_SelChange(ObjectHandle) { gTrace.add('S'); }

// Keeps "x" out of the field.
bool Typed_KeyDown(ObjectHandle, StringHandle key) {
    ++gKeyDowns;
    return sameBytes(app::String::borrow(key), "x");
}
void Typed_TextChange(ObjectHandle) { ++gTextChanges; }

void Step_Action(ObjectHandle timer) {
    static constexpr uint16_t kFirst[] = {0x30BD, 'x', 'a', 0x8868};  // ソxa表
    static constexpr uint16_t kSecond[] = {0x9001, 'x', 0x4FE1};      // 送x信
    switch (gStep++) {
        case 0:
            SetForegroundWindow_(windowHandle());
            SetFocus_(childWithText("Edit", 0, 0));
            typeCharacters(kFirst, 4);
            break;
        case 1: {
            ObjectHandle typed = control("Typed"_s);
            gResult.field("typed", textIs(typed, "ソa表"));
            gResult.field("keys", gKeyDowns);
            gResult.field("changes", gTextChanges);
            gKeyDowns = gTextChanges = 0;
            SetFocus_(FindWindowExA_(windowHandle(), nullptr, "RichEdit20W", nullptr));
            typeCharacters(kSecond, 3);
            break;
        }
        default: {
            ObjectHandle rich = control("Rich"_s);
            gResult.field("rich", textIs(rich, "送信"));
            gResult.field("keys", gKeyDowns);
            gResult.field("changes", gTextChanges);
            timerModeSetter(timer, 0);
            writeResult();
            RuntimeCloseWindow(gMain);
            break;
        }
    }
}

void App_Open(ObjectHandle) {
    ObjectHandle w = RuntimeCreateWindow(FieldsLayout, &gMain);
    if (!w) return;
    checkMasked();
    checkSelection();
    ObjectHandle step = control("Step"_s);
    timerModeSetter(step, 2);
}

void Entry() {
    RuntimeInit(ProjectTable);
    RuntimeRun();
}

}  // extern "C"
