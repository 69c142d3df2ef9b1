// Image fixture: the application opens the window of the layout MainLayout,
// looks its controls up, clones one, closes the window and writes what it saw
// to windows_result.txt. Closing the last window ends the loop.
#include "../../image/fixtures/ResultLine.h"

using namespace app::literals;

extern "C" {
WINAPI_IMPORT void* CreateFileA_(const char* name, uint32_t access, uint32_t share, void* security, uint32_t creation,
                                 uint32_t flags, void* model) APP_LIBRARY_IMPORT("kernel32.dll", "CreateFileA");
WINAPI_IMPORT int WriteFile_(void* file, const void* bytes, uint32_t count, uint32_t* written, void* overlapped)
    APP_LIBRARY_IMPORT("kernel32.dll", "WriteFile");
WINAPI_IMPORT int CloseHandle_(void* handle) APP_LIBRARY_IMPORT("kernel32.dll", "CloseHandle");

extern const uint8_t MainLayout[];
}

namespace {

using Line = fixture::ResultLine;
constinit Line gTrace{};
constinit Line gResult{};
ObjectHandle gMain = nullptr;  // the window's implicit instance

void writeResult() {
    void* file = CreateFileA_("windows_result.txt", 0x40000000 /* GENERIC_WRITE */, 0, nullptr, 2 /* CREATE_ALWAYS */,
                              0x80, nullptr);
    uint32_t written = 0;
    WriteFile_(file, gResult.bytes, gResult.length, &written, nullptr);
    CloseHandle_(file);
}

}  // namespace

extern "C" {

void Control_Open(ObjectHandle) { gTrace.add('o'); }
void Main_Open(ObjectHandle) { gTrace.add('W'); }
void Main_Close(ObjectHandle) { gTrace.add('X'); }

void App_Open(ObjectHandle) {
    ObjectHandle w = RuntimeCreateWindow(MainLayout, &gMain);
    gResult.field("window", w != nullptr && w == gMain ? 1 : 0);
    gResult.field("controls", windowControlCountGetter(w));
    ObjectHandle cell2 = RuntimeControlArrayItemReference(w, "Cell"_s, 2);
    gResult.field("cell2", cell2 ? 1 : 0);
    ObjectHandle bare = RuntimeControlReference(w, "Cell"_s);
    gResult.field("bare", bare ? 1 : 0);
    ObjectHandle plain = RuntimeControlReference(w, "Plain"_s);
    gResult.field("plain", plain ? 1 : 0);
    ObjectHandle clone = RuntimeCloneControlReference(w, "Cell"_s);
    ObjectHandle cell3 = RuntimeControlArrayItemReference(w, "Cell"_s, 3);
    gResult.field("clone3", clone && clone == cell3 ? 1 : 0);
    gResult.field("title", windowTitleGetter(w) != nullptr ? 1 : 0);
    gResult.field("width", windowPosGetter(w, 2));
    RuntimeUnlockObject(cell3);
    RuntimeUnlockObject(clone);
    RuntimeUnlockObject(plain);
    RuntimeUnlockObject(bare);
    RuntimeUnlockObject(cell2);
    RuntimeCloseWindow(w);
    gResult.field("closed", windowHWNDGetter(w) == 0 ? 1 : 0);
    gResult.add("trace=");
    gResult.add(gTrace.bytes);
    writeResult();
}

void Entry() {
    RuntimeInit(ProjectTable);
    RuntimeRun();
}

}  // extern "C"
