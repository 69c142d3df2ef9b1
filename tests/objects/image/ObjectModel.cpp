// Image fixture for the object model: started by sutakiba.exe from an image
// made by the image tool. What it does depends on a word of its command line:
//   checks  runs the checks below and writes one line to objects_result.txt
//   nil     calls RuntimeNilObject outside any protected region
//   end     raises an EndException that nothing catches
//   quit    calls ApplicationQuit
// Handlers and initialisers append letters to a trace that the line reports.
#include "../../image/fixtures/ResultLine.h"
#include "objects/ObjectHeader.h"

using namespace app::literals;

extern "C" {
WINAPI_IMPORT void* CreateFileA_(const char* name, uint32_t access, uint32_t share, void* security, uint32_t creation,
                                 uint32_t flags, void* model) APP_LIBRARY_IMPORT("kernel32.dll", "CreateFileA");
WINAPI_IMPORT int WriteFile_(void* file, const void* bytes, uint32_t count, uint32_t* written, void* overlapped)
    APP_LIBRARY_IMPORT("kernel32.dll", "WriteFile");
WINAPI_IMPORT int CloseHandle_(void* handle) APP_LIBRARY_IMPORT("kernel32.dll", "CloseHandle");
WINAPI_IMPORT const char* GetCommandLineA_() APP_LIBRARY_IMPORT("kernel32.dll", "GetCommandLineA");

// ObjectFrames.S
ObjectHandle catchFromRuntime(ObjectHandle e);
ObjectHandle catchWithString(StringHandle s, ObjectHandle e);
ObjectHandle catchOuter(StringHandle s, ObjectHandle e, StringHandle local);
ObjectHandle catchNil();
ObjectHandle catchNewDocument(ObjectHandle app);
}

namespace {

// Class-table indices of objects.project.
constexpr int32_t kRuntimeException = 1;
constexpr int32_t kNilObjectException = 2;
constexpr int32_t kEndException = 3;
constexpr int32_t kAppLast = 8;
constexpr int32_t kAppMiddle = 7;
constexpr int32_t kCounted = 9;
constexpr int32_t kCountedChild = 10;

using Line = fixture::ResultLine;

constinit Line gTrace{};

void writeResult(const Line& line) {
    void* file = CreateFileA_("objects_result.txt", 0x40000000 /* GENERIC_WRITE */, 0, nullptr, 2 /* CREATE_ALWAYS */,
                              0x80, nullptr);
    uint32_t written = 0;
    WriteFile_(file, line.bytes, line.length, &written, nullptr);
    CloseHandle_(file);
}

bool commandLineHas(const char* word) {
    const char* line = GetCommandLineA_();
    for (const char* p = line; *p; ++p) {
        const char* a = p;
        const char* b = word;
        while (*b && *a == *b) ++a, ++b;
        if (!*b && (p == line || p[-1] == ' ')) return true;
    }
    return false;
}

int32_t refs(ObjectHandle o) { return o ? o->refCount : -1; }

}  // namespace

extern "C" {

void AppFirst_Open(ObjectHandle) { gTrace.add('F'); }
void AppLast_Open(ObjectHandle) { gTrace.add('O'); }
void AppLast_Close(ObjectHandle) {
    gTrace.add('X');
    writeResult(gTrace);
}
constinit bool gRaiseInNewDocument = false;

// The handler the event lookup finds for the application (AppLast's own is
// hidden by the one nearer to the declaring class).
bool AppMiddle_NewDocument(ObjectHandle) {
    gTrace.add('M');
    if (gRaiseInNewDocument) RuntimeNilObject();
    return true;
}
bool AppLast_NewDocument(ObjectHandle) {
    gTrace.add('L');
    return true;
}
void AppLast_FileQuit(ObjectHandle) {}
void Counted_Init(ObjectHandle, void*) { gTrace.add('b'); }
void Counted_Final(ObjectHandle, void*) { gTrace.add('B'); }
void CountedChild_Init(ObjectHandle, void*) { gTrace.add('c'); }
void CountedChild_Final(ObjectHandle, void*) { gTrace.add('C'); }
void CountedChild_Slot0() {}

// A compiled routine between a raise and the function that catches it.
void raiseWith(StringHandle, ObjectHandle e) { RuntimeRaiseException(e); }

}  // extern "C"

// Code addresses live in data (relocated with the code base); code may not
// take them itself.
void (*gSlot0)() = CountedChild_Slot0;

namespace {

void checkApplication(Line& out) {
    ObjectHandle app = getAppObject();
    out.field("app", RuntimeObjectIsa(app, kAppLast) ? 1 : 0);
    out.field("appRefs", refs(app));
    // The intermediate class's handler answers for the class below it.
    out.field("newDoc", ApplicationNewDocument(app) ? 1 : 0);
    RuntimeUnlockObject(app);
}

void checkLifetime(Line& out) {
    // The newest live object before this check: whatever is released here
    // must leave the live list as it was.
    ObjectHandle probe = RuntimeNewObject(kCounted);
    ObjectHandle front = probe->next;
    RuntimeUnlockObject(probe);
    ObjectHandle child = RuntimeNewObject(kCountedChild);
    out.field("new", refs(child));
    RuntimeLockObject(child);
    out.field("locked", refs(child));
    RuntimeUnlockObject(child);
    out.field("unlocked", refs(child));
    out.field("isa", RuntimeObjectIsa(child, kCounted) && !RuntimeObjectIsa(child, kAppMiddle) &&
                             !RuntimeObjectIsa(nullptr, kCounted) ? 1 : 0);
    out.field("vtable", FindVTableCode(child, 0) == reinterpret_cast<void*>(gSlot0) ? 1 : 0);
    RuntimeUnlockObject(child);
    ObjectHandle after = RuntimeNewObject(kCounted);
    out.field("live", after->next == front ? 1 : 0);
    RuntimeUnlockObject(after);
}

// A handler that the runtime called raises; compiled code above the runtime
// routine catches it, twice, and every count is as it was.
void checkRaiseThroughTheRuntime(Line& out) {
    ObjectHandle app = getAppObject();
    const int32_t refsBefore = refs(app);
    gRaiseInNewDocument = true;
    for (int round = 0; round < 2; ++round) {
        ObjectHandle caught = catchNewDocument(app);
        out.field("viaRuntime", RuntimeObjectIsa(caught, kNilObjectException) ? refs(caught) : -1);
        RuntimeUnlockObject(caught);
        out.field("appKept", refs(app) == refsBefore ? 1 : 0);
    }
    gRaiseInNewDocument = false;
    RuntimeUnlockObject(app);
}

void checkExceptions(Line& out) {
    ObjectHandle e = RuntimeNewObject(kRuntimeException);
    RuntimeLockObject(e);  // ours; the call hands the other to the tag
    ObjectHandle caught = catchFromRuntime(e);
    out.field("caught", caught == e ? 1 : 0);
    out.field("excRefs", refs(e));  // ours and the catch clause's
    RuntimeUnlockObject(caught);
    RuntimeUnlockObject(e);

    StringHandle s = VELMBuildString("argument", 8);
    RuntimeLockString(s);
    e = RuntimeNewObject(kRuntimeException);
    caught = catchWithString(s, e);
    out.field("strRefs", s->refCount);  // released once by the tag
    out.field("caught2", caught == e && refs(e) == 2 ? 1 : 0);
    RuntimeUnlockObject(caught);
    RuntimeUnlockObject(e);

    StringHandle local = VELMBuildString("local", 5);
    RuntimeLockString(local);
    RuntimeLockString(s);
    e = RuntimeNewObject(kRuntimeException);
    caught = catchOuter(s, e, local);
    out.field("outer", caught == e ? 1 : 0);
    out.field("localRefs", local->refCount);
    out.field("strRefs2", s->refCount);
    RuntimeUnlockObject(caught);
    RuntimeUnlockObject(e);
    RuntimeUnlockString(local);
    RuntimeUnlockString(s);
    RuntimeUnlockString(s);

    caught = catchNil();
    out.field("nil", RuntimeObjectIsa(caught, kNilObjectException) ? refs(caught) : -1);
    RuntimeUnlockObject(caught);
}

}  // namespace

extern "C" void Entry() {
    RuntimeInit(ProjectTable);
    if (commandLineHas("nil")) RuntimeNilObject();
    if (commandLineHas("end")) RuntimeRaiseException(RuntimeNewObject(kEndException));
    if (commandLineHas("quit")) ApplicationQuit();
    Line out;
    out.add("open=");
    for (uint32_t i = 0; i < gTrace.length; ++i) out.add(gTrace.bytes[i]);
    out.add('|');
    gTrace.length = 0;
    checkApplication(out);
    checkLifetime(out);
    checkExceptions(out);
    checkRaiseThroughTheRuntime(out);
    out.add("trace=");
    for (uint32_t i = 0; i < gTrace.length; ++i) out.add(gTrace.bytes[i]);
    writeResult(out);
}
