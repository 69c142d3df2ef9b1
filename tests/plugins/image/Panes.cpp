// Image fixture: a window with every appearance control. The recipients
// button gets the menu rows "A", a separator and "B" when the window opens.
// Each Action writes what the handlers saw to panes_result.txt, so that a
// test driving the window with real input can follow: "menu=<MenuValue>
// list1=<row 1> list2=<row 2>;" for the menu button, "toggle=<Value>;" for
// the toggle button, and the events of the disclosure triangle, the little
// arrows and the image well. Closing the window ends the run.
#include "../../image/fixtures/ResultLine.h"

using namespace app::literals;

extern "C" {
extern const uint8_t PanesLayout[];
WINAPI_IMPORT void* CreateFileA_(const char* name, uint32_t access, uint32_t share, void* security, uint32_t creation,
                                 uint32_t flags, void* model) APP_LIBRARY_IMPORT("kernel32.dll", "CreateFileA");
WINAPI_IMPORT int WriteFile_(void* file, const void* bytes, uint32_t count, uint32_t* written, void* overlapped)
    APP_LIBRARY_IMPORT("kernel32.dll", "WriteFile");
WINAPI_IMPORT int CloseHandle_(void* handle) APP_LIBRARY_IMPORT("kernel32.dll", "CloseHandle");

void addRow(ObjectHandle self, StringHandle text) APP_PLUGIN_MEMBER("M", "BevelButton!AddRow(text As String)");
void addSeparator(ObjectHandle self) APP_PLUGIN_MEMBER("M", "BevelButton!AddSeparator");
StringHandle listRow(ObjectHandle self, int32_t row) APP_PLUGIN_MEMBER("M", "BevelButton!List(row As Integer) As String");
int32_t menuValue(ObjectHandle self) APP_PLUGIN_MEMBER("G", "BevelButton!MenuValue");
bool buttonValue(ObjectHandle self) APP_PLUGIN_MEMBER("G", "BevelButton!Value");
bool triangleValue(ObjectHandle self) APP_PLUGIN_MEMBER("G", "DisclosureTriangle!Value");
}

namespace {

constinit fixture::ResultLine gResult{};
ObjectHandle gWindow = nullptr;

void writeResult() {
    void* file = CreateFileA_("panes_result.txt", 0x40000000 /* GENERIC_WRITE */, 1 /* FILE_SHARE_READ */, nullptr,
                              2 /* CREATE_ALWAYS */, 0x80, nullptr);
    uint32_t written = 0;
    WriteFile_(file, gResult.bytes, gResult.length, &written, nullptr);
    CloseHandle_(file);
}

void addRowText(ObjectHandle button, int32_t row) {
    const app::String text = app::String::adopt(listRow(button, row));
    gResult.add(text.get() ? text.cString() : "nil");
}

}  // namespace

extern "C" {

void Panes_Open(ObjectHandle self) {
    ObjectHandle recipients = RuntimeControlReference(self, "Recipients"_s);
    addRow(recipients, "A"_s);
    addSeparator(recipients);
    addRow(recipients, "B"_s);
    RuntimeUnlockObject(recipients);
    gResult.add("open;");
    writeResult();
}

void Recipients_Action(ObjectHandle self) {
    gResult.add("menu=");
    gResult.add(menuValue(self));
    gResult.add(" list1=");
    addRowText(self, 1);
    gResult.add(" list2=");
    addRowText(self, 2);
    gResult.add(';');
    writeResult();
}

void Toggle_Action(ObjectHandle self) {
    gResult.add("toggle=");
    gResult.add(buttonValue(self) ? 1 : 0);
    gResult.add(';');
    writeResult();
}

void Triangle_Action(ObjectHandle self) {
    gResult.add("triangle=");
    gResult.add(triangleValue(self) ? 1 : 0);
    gResult.add(';');
    writeResult();
}

void Arrows_Up(ObjectHandle) {
    gResult.add("up;");
    writeResult();
}

void Arrows_Down(ObjectHandle) {
    gResult.add("down;");
    writeResult();
}

// The well's mouse events carry window coordinates; taking the press makes
// the pane track the mouse up to its release.
bool Well_MouseDown(ObjectHandle, int32_t x, int32_t y) {
    gResult.add("welldown=");
    gResult.add(x);
    gResult.add(',');
    gResult.add(y);
    gResult.add(';');
    writeResult();
    return true;
}

void Well_MouseUp(ObjectHandle, int32_t x, int32_t y) {
    gResult.add("wellup=");
    gResult.add(x);
    gResult.add(',');
    gResult.add(y);
    gResult.add(';');
    writeResult();
}

void App_Open(ObjectHandle) { RuntimeCreateWindow(PanesLayout, &gWindow); }

void Entry() {
    Win32InstallPlugins(PluginList);
    RuntimeInit(ProjectTable);
    RuntimeRun();
}

}  // extern "C"
