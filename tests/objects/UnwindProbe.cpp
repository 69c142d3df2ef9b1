// Exceptions that cross runtime frames, each scenario in a process of its own:
// the runtime over a small project, handlers that raise, and a compiled frame
// (UnwindFrames.S) that catches above the runtime routine, the loop or a
// window procedure. The probe writes what it saw to the log file named by its
// second argument.
//   unwind_probe MODE LOGFILE
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "objects/ApplicationObject.h"
#include "objects/BuiltinClasses.h"
#include "objects/DataStreamWriter.h"
#include "objects/EventDelivery.h"
#include "objects/EventLoop.h"
#include "objects/LoopEntries.h"
#include "objects/ObjectEntries.h"
#include "objects/ObjectLifetime.h"
#include "objects/ObjectRef.h"
#include "objects/ProbeSupport.h"
#include "objects/ProjectData.h"
#include "objects/RuntimeStartup.h"
#include "objects/UnwindScope.h"
#include "text/StringValue.h"

using namespace runtime;
using testing_support::ProjectData;

extern "C" ObjectHandle catchAround(void (*routine)());

namespace {

std::string gMode;
testing_support::ProbeLog log;
int32_t gWindowClass = 0;
int32_t gFragileClass = 0;
int32_t gBrittleClass = 0;

// What the handlers do: raise a NilObjectException or not.
bool gRaiseInNewDocument = false;
bool gRaiseInCancelClose = false;
bool gRaiseInAppClose = false;

// Windows are plain objects of a compiled Window subclass; the loop keeps
// running while the list is not empty.
testing_support::ObjectListRoster gRoster(log);

extern "C" {
void appOpen(ObjectHandle) {}
void appClose(ObjectHandle) {
    log("app close");
    if (gRaiseInAppClose) RuntimeNilObject();
}
bool appNewDocument(ObjectHandle) {
    log("new document");
    if (gRaiseInNewDocument) RuntimeNilObject();
    return true;
}
void fragileInit(ObjectHandle, ClassRecord*) {
    log("fragile init");
    RuntimeNilObject();
}
void fragileFinal(ObjectHandle, ClassRecord*) { log("fragile final"); }
void brittleBaseFinal(ObjectHandle, ClassRecord*) { log("base final"); }
void brittleFinal(ObjectHandle, ClassRecord*) {
    log("brittle final");
    RuntimeNilObject();
}
bool windowCancelClose(ObjectHandle) {
    log("cancel close");
    if (gRaiseInCancelClose) RuntimeNilObject();
    return false;
}
}

const uint32_t* buildProject() {
    static ProjectData p;
    const int32_t application = p.addNamedClass("Application");
    p.addNamedClass("RuntimeException");  // index 1: the catch clause's class
    const int32_t window = p.addNamedClass("Window");
    p.addCompiledClass({.name = "ProbeApp", .size = 28, .superIndex = application,
                        .eventHandlers = {{"Open", reinterpret_cast<void*>(appOpen)},
                                          {"Close", reinterpret_cast<void*>(appClose)},
                                          {"NewDocument", reinterpret_cast<void*>(appNewDocument)}}});
    gWindowClass = p.addCompiledClass({.name = "ProbeWindow", .size = 112, .superIndex = window,
                                       .eventHandlers = {{"CancelClose", reinterpret_cast<void*>(windowCancelClose)}}});
    gFragileClass = p.addCompiledClass({.name = "Fragile", .size = 28, .superIndex = -1,
                                        .initialiser = fragileInit, .finaliser = fragileFinal});
    const int32_t brittleBase = p.addCompiledClass({.name = "BrittleBase", .size = 28, .finaliser = brittleBaseFinal});
    gBrittleClass = p.addCompiledClass({.name = "Brittle", .size = 28, .superIndex = brittleBase, .finaliser = brittleFinal});
    SettingsStream settings;
    settings.messages = {"", "", "", "", "An exception of class %1 was not handled.\rThe application must shut down."};
    if (gMode == "uncaught-in-frame-mode") {
        settings.mdiFrame = true;
        settings.mdiTitle = "Probe Frame";
    }
    const std::vector<uint8_t> bytes = encodeSettingsStream(settings);
    ProjectData::Words item{4, 0, static_cast<uint32_t>(bytes.size())};
    item.resize(3 + (bytes.size() + 3) / 4);
    std::memcpy(&item[3], bytes.data(), bytes.size());
    p.addItem(item);
    return p.table();
}

void openWindow() { gRoster.windows.push_back(ObjectRef::adopt(RuntimeNewObject(gWindowClass))); }

// The thread's structured exception handler chain, as the system keeps it.
uintptr_t systemHandlerChain() {
    uintptr_t head;
    asm volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

uintptr_t gInitialChain = 0;

// The counts that must be the same before and after an exception passes.
std::string counts() {
    return "app=" + std::to_string(applicationObject()->refCount) + " live=" + std::to_string(liveObjectCount()) +
           " seh=" + (systemHandlerChain() == gInitialChain ? std::string("same") : std::string("moved"));
}

void logCaught(const char* where, ObjectHandle caught) {
    std::string cls = caught ? std::string(viewOf(caught->classRecord->name)) : "nothing";
    log(std::string(where) + ": caught " + cls + (caught ? " refs=" + std::to_string(caught->refCount) : ""));
    RuntimeUnlockObject(caught);
    log(counts());
}

// A periodic task of the loop that delivers an event.
class DeliveringTask : public PeriodicTask {
public:
    void run() override { deliverEvent(applicationObject(), builtinEvent("Application", "NewDocument")); }
} gTask;

// A window of the system whose procedure delivers an event when it receives
// kDeliverMessage, as the runtime's window procedures do.
constexpr UINT kDeliverMessage = WM_APP + 1;
HWND gProbeWindow = nullptr;

LRESULT CALLBACK probeWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kDeliverMessage) return DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = 0;
    const bool finished = runFromSystem([&] {
        result = deliverEvent(applicationObject(), builtinEvent("Application", "NewDocument")) ? 1 : 0;
    });
    log(finished ? "window procedure finished" : "window procedure returned to the system");
    return result;
}

void createProbeWindow() {
    WNDCLASSA cls{};
    cls.lpfnWndProc = probeWindowProcedure;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "UnwindProbeWindow";
    RegisterClassA(&cls);
    gProbeWindow = CreateWindowExA(0, cls.lpszClassName, "", 0, 0, 0, 10, 10, nullptr, nullptr, cls.hInstance, nullptr);
}

void newDocument() { ApplicationNewDocument(applicationObject()); }
void run() { RuntimeRun(); }
void quit() { ApplicationQuit(); }

void makeFragile() { RuntimeUnlockObject(RuntimeNewObject(gFragileClass)); }
void dropBrittle() { RuntimeUnlockObject(RuntimeNewObject(gBrittleClass)); }

void postDeliver() { PostMessageA(gProbeWindow, kDeliverMessage, 0, 0); }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 64;
    gMode = argv[1];
    if (!log.open(argv[2])) return 65;
    setWindowRoster(&gRoster);
    RuntimeInit(buildProject());
    gInitialChain = systemHandlerChain();
    log(counts());

    if (gMode == "runtime-routine") {
        gRaiseInNewDocument = true;
        logCaught("first", catchAround(newDocument));
        logCaught("second", catchAround(newDocument));
        gRaiseInNewDocument = false;
        logCaught("no raise", catchAround(newDocument));
    } else if (gMode == "periodic-task") {
        openWindow();
        gRaiseInNewDocument = true;
        addPeriodicTask(&gTask, 20);
        logCaught("first", catchAround(run));
        logCaught("second", catchAround(run));
        removePeriodicTask(&gTask);
    } else if (gMode == "window-procedure") {
        openWindow();
        createProbeWindow();
        gRaiseInNewDocument = true;
        postDeliver();
        logCaught("first", catchAround(run));
        postDeliver();
        logCaught("second", catchAround(run));
    } else if (gMode == "window-procedure-uncaught") {
        openWindow();
        createProbeWindow();
        gRaiseInNewDocument = true;
        postDeliver();
        RuntimeRun();
        log("run returned");
    } else if (gMode == "runtime-routine-uncaught" || gMode == "uncaught-in-frame-mode") {
        gRaiseInNewDocument = true;
        newDocument();
        log("new document returned");
    } else if (gMode == "quit-cancel-close") {
        openWindow();
        openWindow();
        gRaiseInCancelClose = true;
        logCaught("first", catchAround(quit));
        gRaiseInCancelClose = false;
        log("windows=" + std::to_string(gRoster.windows.size()));
        // The quit is no longer in progress: this one runs to its end.
        logCaught("second", catchAround(quit));
        log("windows=" + std::to_string(gRoster.windows.size()));
    } else if (gMode == "initialiser-raises") {
        logCaught("first", catchAround(makeFragile));
        logCaught("second", catchAround(makeFragile));
    } else if (gMode == "finaliser-raises") {
        logCaught("first", catchAround(dropBrittle));
        logCaught("second", catchAround(dropBrittle));
    } else if (gMode == "quit-close") {
        openWindow();
        gRaiseInAppClose = true;
        logCaught("first", catchAround(quit));
        log("windows=" + std::to_string(gRoster.windows.size()));
        gRaiseInAppClose = false;
        logCaught("second", catchAround(quit));
        log("windows=" + std::to_string(gRoster.windows.size()));
    }
    log("end of main");
    return 0;
}
