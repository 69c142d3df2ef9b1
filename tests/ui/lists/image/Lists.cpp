// Image fixture: the application opens an address-book window with a
// three-column list and a port pop-up, works them through the entry routines,
// then leaves the window open for real input from the test. When the window
// closes it writes what it saw to lists_result.txt.
#include "../../../image/fixtures/ResultLine.h"

using namespace app::literals;

extern "C" {
WINAPI_IMPORT void* CreateFileA_(const char* name, uint32_t access, uint32_t share, void* security, uint32_t creation,
                                 uint32_t flags, void* model) APP_LIBRARY_IMPORT("kernel32.dll", "CreateFileA");
WINAPI_IMPORT int WriteFile_(void* file, const void* bytes, uint32_t count, uint32_t* written, void* overlapped)
    APP_LIBRARY_IMPORT("kernel32.dll", "WriteFile");
WINAPI_IMPORT int CloseHandle_(void* handle) APP_LIBRARY_IMPORT("kernel32.dll", "CloseHandle");

extern const uint8_t ListLayout[];
}

namespace {

using Line = fixture::ResultLine;
constinit Line gTrace{};
constinit Line gResult{};
ObjectHandle gMain = nullptr;

void writeResult() {
    void* file = CreateFileA_("lists_result.txt", 0x40000000 /* GENERIC_WRITE */, 0, nullptr, 2 /* CREATE_ALWAYS */,
                              0x80, nullptr);
    uint32_t written = 0;
    WriteFile_(file, gResult.bytes, gResult.length, &written, nullptr);
    CloseHandle_(file);
}

// Whether a returned string has exactly the bytes of `expected`; the returned
// value is released.
bool equals(StringHandle returned, StringHandle expected) {
    const app::String value = app::String::adopt(returned);
    const app::String wanted = app::String::borrow(expected);
    if (value.length() != wanted.length()) return false;
    for (int32_t i = 0; i < value.length(); ++i) {
        if (value.cString()[i] != wanted.cString()[i]) return false;
    }
    return true;
}

void addEntry(ObjectHandle list, StringHandle name, StringHandle number, StringHandle centre) {
    RuntimeListAddRow(list, name);
    const int32_t row = listLastIndexGetter(list);
    listSetCell(list, row, 1, number);
    listSetCell(list, row, 2, centre);
}

}  // namespace

extern "C" {

void Addresses_Change(ObjectHandle list) {
    gTrace.add('C');
    gTrace.add(listSelectionGetter(list));
}
void Addresses_DoubleClick(ObjectHandle list) {
    gTrace.add('D');
    gTrace.add(listSelectionGetter(list));
}
void Ports_Change(ObjectHandle popup) {
    gTrace.add('P');
    gTrace.add(RuntimePopupSelectionGetter(popup));
}

void Main_Close(ObjectHandle) {
    ObjectHandle list = RuntimeControlReference(gMain, "Addresses"_s);
    ObjectHandle ports = RuntimeControlReference(gMain, "Ports"_s);
    gResult.field("afterInput", listSelectionGetter(list));
    gResult.field("port", equals(popupTextGetter(ports), "COM4"_s) ? 4 : RuntimePopupSelectionGetter(ports));
    gResult.add("trace=");
    gResult.add(gTrace.bytes);
    RuntimeUnlockObject(ports);
    RuntimeUnlockObject(list);
    writeResult();
}

void App_Open(ObjectHandle) {
    ObjectHandle w = RuntimeCreateWindow(ListLayout, &gMain);
    ObjectHandle list = RuntimeControlReference(w, "Addresses"_s);
    ObjectHandle ports = RuntimeControlReference(w, "Ports"_s);
    gResult.field("columns", listColumnCountGetter(list));
    gResult.field("heading2", equals(listGetHeading(list, 1), "Field2"_s) ? 1 : 0);
    addEntry(list, "山田太郎"_s, "070-1234-5678"_s, "東京"_s);
    addEntry(list, "鈴木花子"_s, "070-2345-6789"_s, "大阪"_s);
    addEntry(list, "高橋ソ表"_s, "070-3456-7890"_s, "札幌"_s);
    gResult.field("rows", listCountGetter(list));
    gResult.field("cell", equals(listGetCell(list, 2, 0), "高橋ソ表"_s) && equals(listGetCell(list, 1, 2), "大阪"_s) ? 1 : 0);
    listSelectionSetter(list, 1);
    RuntimeRemoveRow(list, 1);  // the selected row: Change, nothing selected
    gResult.field("afterRemove", listSelectionGetter(list));
    addEntry(list, "鈴木花子"_s, "070-2345-6789"_s, "大阪"_s);
    gResult.field("portRows", RuntimePopupCountGetter(ports));
    RuntimePopupSelectionSetter(ports, 2);
    RuntimePopupSelectionSetter(ports, 2);  // the selected row again: Change again
    gResult.field("portText", equals(popupTextGetter(ports), "COM3"_s) ? 1 : 0);
    gTrace.add('|');
    RuntimeUnlockObject(ports);
    RuntimeUnlockObject(list);
}

void Entry() {
    RuntimeInit(ProjectTable);
    RuntimeRun();
}

}  // extern "C"
