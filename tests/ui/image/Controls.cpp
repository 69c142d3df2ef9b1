// Image fixture: the application opens the window of the layout MainLayout,
// drives its controls through the runtime's routines, and writes what it saw
// to controls_result.txt. Closing the last window ends the loop.
#include "../../image/fixtures/ResultLine.h"

using namespace app::literals;

extern "C" {
WINAPI_IMPORT void* CreateFileA_(const char* name, uint32_t access, uint32_t share, void* security, uint32_t creation,
                                 uint32_t flags, void* model) APP_LIBRARY_IMPORT("kernel32.dll", "CreateFileA");
WINAPI_IMPORT int WriteFile_(void* file, const void* bytes, uint32_t count, uint32_t* written, void* overlapped)
    APP_LIBRARY_IMPORT("kernel32.dll", "WriteFile");
WINAPI_IMPORT int CloseHandle_(void* handle) APP_LIBRARY_IMPORT("kernel32.dll", "CloseHandle");
WINAPI_IMPORT int32_t SendMessageA_(void* window, uint32_t message, uint32_t wParam, int32_t lParam)
    APP_LIBRARY_IMPORT("user32.dll", "SendMessageA");
WINAPI_IMPORT int32_t GetWindowLongA_(void* window, int32_t index) APP_LIBRARY_IMPORT("user32.dll", "GetWindowLongA");

extern const uint8_t MainLayout[];
}

namespace {

using Line = fixture::ResultLine;
constinit Line gResult{};
constinit Line gTrace{};
ObjectHandle gMain = nullptr;  // the window's implicit instance
int32_t gCheckActions = 0;

void writeResult() {
    void* file = CreateFileA_("controls_result.txt", 0x40000000 /* GENERIC_WRITE */, 0, nullptr, 2 /* CREATE_ALWAYS */,
                              0x80, nullptr);
    uint32_t written = 0;
    WriteFile_(file, gResult.bytes, gResult.length, &written, nullptr);
    CloseHandle_(file);
}

ObjectHandle find(ObjectHandle w, StringHandle name) { return RuntimeControlFetch(w, name); }

void* handleOf(ObjectHandle c) { return reinterpret_cast<void*>(static_cast<intptr_t>(controlMacControlHandleGetter(c))); }

// WS_VISIBLE of the control's own window (the window itself is hidden).
int32_t shown(ObjectHandle c) { return (GetWindowLongA_(handleOf(c), -16 /* GWL_STYLE */) & 0x10000000) != 0 ? 1 : 0; }

}  // namespace

extern "C" {

void Check_Action(ObjectHandle self) {
    ++gCheckActions;
    // Set inside its own Action: changes the state, raises no second Action.
    checkBoxValueSetter(self, false);
}

void Radio_Action(ObjectHandle) { gTrace.add('r'); }
void Tab_Change(ObjectHandle self) {
    gTrace.add('c');
    gTrace.add(tabPanelValueGetter(self));
}
void Go_Action(ObjectHandle) { gTrace.add('g'); }

void App_Open(ObjectHandle) {
    ObjectHandle w = RuntimeCreateWindow(MainLayout, &gMain);
    ObjectHandle check = find(w, "Check"_s);
    checkBoxValueSetter(check, true);
    gResult.field("actions", gCheckActions);
    gResult.field("check", checkBoxValueGetter(check) ? 1 : 0);

    radioValueSetter(find(w, "Out1"_s), true);
    radioValueSetter(find(w, "In1"_s), true);
    radioValueSetter(find(w, "In3"_s), true);
    gResult.field("in1", radioValueGetter(find(w, "In1"_s)) ? 1 : 0);
    gResult.field("in3", radioValueGetter(find(w, "In3"_s)) ? 1 : 0);
    gResult.field("out1", radioValueGetter(find(w, "Out1"_s)) ? 1 : 0);

    ObjectHandle tabs = find(w, "Tabs"_s);
    ObjectHandle page2 = find(w, "Page2"_s);
    gResult.field("tabs", SendMessageA_(handleOf(tabs), 0x1304 /* TCM_GETITEMCOUNT */, 0, 0));
    gResult.field("page2", shown(page2));
    tabPanelValueSetter(tabs, 1);
    gResult.field("page2", shown(page2));
    pushButtonPush(page2);

    ObjectHandle bar = find(w, "Bar"_s);
    gResult.field("max", SendMessageA_(handleOf(bar), 0x0407 /* PBM_GETRANGE */, 0, 0));
    gResult.field("pos", SendMessageA_(handleOf(bar), 0x0408 /* PBM_GETPOS */, 0, 0));

    ctlPosSetter(bar, 2, 60);
    gResult.field("width", ctlPosGetter(bar, 2));
    RuntimeCloseWindow(w);
    gResult.add("trace=");
    gResult.add(gTrace.bytes);
    writeResult();
}

void Entry() {
    RuntimeInit(ProjectTable);
    RuntimeRun();
}

}  // extern "C"
