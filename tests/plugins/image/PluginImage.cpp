// Image fixture: installs the embedded plug-ins, starts the runtime, then
// calls plug-in members bound by the deferred binding: BevelButton's menu rows
// and MenuValue, and the kej_ methods. It writes what it saw to result.txt and
// finally calls a member that no plug-in provides, which must end the process
// in its trap.
#include "AppString.h"
#include "../../image/fixtures/ResultLine.h"

using namespace app::literals;

extern "C" {
extern const uint32_t PluginList[];
void Win32InstallPlugins(const void* list);
void addRow(ObjectHandle self, StringHandle text) APP_PLUGIN_MEMBER("M", "BevelButton!AddRow(text As String)");
void addSeparator(ObjectHandle self) APP_PLUGIN_MEMBER("M", "BevelButton!AddSeparator");
StringHandle listRow(ObjectHandle self, int32_t row) APP_PLUGIN_MEMBER("M", "BevelButton!List(row As Integer) As String");
void setListRow(ObjectHandle self, int32_t row, StringHandle text)
    APP_PLUGIN_MEMBER("W", "BevelButton!List(row As Integer) As String");
int32_t menuValue(ObjectHandle self) APP_PLUGIN_MEMBER("G", "BevelButton!MenuValue");
void setMenuValue(ObjectHandle self, int32_t value) APP_PLUGIN_MEMBER("S", "BevelButton!MenuValue");
int32_t captionAlign(ObjectHandle self) APP_PLUGIN_MEMBER("G", "BevelButton!CaptionAlign");
StringHandle nthField(StringHandle source, StringHandle separator, int32_t field)
    APP_PLUGIN_MEMBER("M", "kej_NthField(source as String, separator as String, fieldNumber as Integer) as String");
int32_t countFields(StringHandle source, StringHandle separator)
    APP_PLUGIN_MEMBER("M", "kej_CountFields(source as string, separator as string) as integer");
StringHandle replaceAll(StringHandle source, StringHandle oldText, StringHandle newText)
    APP_PLUGIN_MEMBER("M", "kej_ReplaceAll(sourceString as String, oldString as String, newString as String) as String");
void strCheckType(int32_t type) APP_PLUGIN_MEMBER("M", "kej_StrCheckType( Type as Integer )");
int32_t strError() APP_PLUGIN_MEMBER("M", "kej_StrError as Integer");
void missing(ObjectHandle self) APP_PLUGIN_MEMBER("M", "BevelButton!NoSuchMethod");
WINAPI_IMPORT void* CreateFileA_(const char* name, uint32_t access, uint32_t share, void* security,
                                 uint32_t disposition, uint32_t flags, void* templateFile)
    APP_LIBRARY_IMPORT("kernel32.dll", "CreateFileA");
WINAPI_IMPORT int WriteFile_(void* file, const void* bytes, uint32_t count, uint32_t* written, void* overlapped)
    APP_LIBRARY_IMPORT("kernel32.dll", "WriteFile");
WINAPI_IMPORT int CloseHandle_(void* handle) APP_LIBRARY_IMPORT("kernel32.dll", "CloseHandle");
}

namespace {

void writeResult(const fixture::ResultLine& line) {
    constexpr uint32_t kGenericWrite = 0x40000000, kCreateAlways = 2;
    void* file = CreateFileA_("result.txt", kGenericWrite, 0, nullptr, kCreateAlways, 0, nullptr);
    uint32_t written = 0;
    WriteFile_(file, line.bytes, line.length, &written, nullptr);
    CloseHandle_(file);
}

const char* orNil(const app::String& s) { return s.get() ? s.cString() : "nil"; }

}  // namespace

extern "C" void Entry() {
    Win32InstallPlugins(PluginList);
    RuntimeInit(ProjectTable);
    fixture::ResultLine line;

    ObjectHandle button = RuntimeNewObject(0);
    addRow(button, "A"_s);
    addSeparator(button);
    addRow(button, "B"_s);
    line.add("rows=");
    line.add(orNil(app::String::adopt(listRow(button, 0))));
    line.add(',');
    line.add(orNil(app::String::adopt(listRow(button, 1))));
    line.add(',');
    line.add(orNil(app::String::adopt(listRow(button, 2))));
    line.add(',');
    line.add(orNil(app::String::adopt(listRow(button, 3))));
    line.add('|');
    setListRow(button, 0, "C"_s);
    line.add("row0=");
    line.add(orNil(app::String::adopt(listRow(button, 0))));
    line.add('|');
    setMenuValue(button, 2);
    line.field("menuValue", menuValue(button));
    line.field("captionAlign", captionAlign(button));
    RuntimeUnlockObject(button);

    line.add("nth=");
    line.add(orNil(app::String::adopt(nthField("ONE and two AND three"_s, "and"_s, 3))));
    line.add('|');
    line.field("count", countFields("a,b,,c"_s, ","_s));
    line.add("replaced=");
    line.add(orNil(app::String::adopt(replaceAll("aXbxc"_s, "x"_s, "--"_s))));
    line.add('|');
    strCheckType(2);
    line.add("exact=");
    line.add(orNil(app::String::adopt(replaceAll("aXbxc"_s, "x"_s, "--"_s))));
    line.add('|');
    nthField("a"_s, ","_s, 0);
    line.field("error", strError());
    writeResult(line);
    missing(nullptr);
}
