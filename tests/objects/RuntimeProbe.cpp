// A small application for tests that need a process of their own: it starts
// the runtime over a project table and then does what its first argument asks.
// It appends what happens to the log file named by the second argument.
//   runtime_probe MODE LOGFILE
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "objects/DataStreamWriter.h"
#include "objects/EventLoop.h"
#include "objects/LoopEntries.h"
#include "objects/ObjectEntries.h"
#include "objects/ObjectRef.h"
#include "objects/ProbeSupport.h"
#include "objects/ProjectData.h"
#include "objects/RuntimeStartup.h"

using namespace runtime;
using testing_support::ProjectData;

namespace {

std::string gMode;
testing_support::ProbeLog log;
int32_t gWindowClass = 0;

// A stand-in for the window subsystem: windows are plain objects of a
// compiled Window subclass.
testing_support::ObjectListRoster gRoster(log);

class CountingTask : public PeriodicTask {
public:
    int runs = 0;
    void run() override {
        ++runs;
        if (runs == 3) {
            log("task ran 3 times");
            if (gMode == "loop") PostQuitMessage(0);
            if (gMode == "last-window") gRoster.windows.clear();
        }
    }
} gTask;

extern "C" {
void appOpen(ObjectHandle) { log("open"); }
void appClose(ObjectHandle) { log("app close"); }
bool windowCancelClose(ObjectHandle) {
    log("cancel close");
    return gMode == "cancel";
}
}

int32_t gEndException = 0;

const uint32_t* buildProject() {
    static ProjectData p;
    const int32_t application = p.addNamedClass("Application");
    const int32_t window = p.addNamedClass("Window");
    gEndException = p.addNamedClass("EndException");
    if (gMode == "missing-class") p.addNamedClass("Gizmo");
    p.addCompiledClass({.name = "ProbeApp", .size = 28, .superIndex = application,
                        .eventHandlers = {{"Open", reinterpret_cast<void*>(appOpen)}, {"Close", reinterpret_cast<void*>(appClose)}}});
    gWindowClass = p.addCompiledClass({.name = "ProbeWindow", .size = 112, .superIndex = window,
                                       .eventHandlers = {{"CancelClose", reinterpret_cast<void*>(windowCancelClose)}}});
    SettingsStream settings;
    settings.messages = {"", "", "", "", "An exception of class %1 was not handled.\rThe application must shut down."};
    const std::vector<uint8_t> bytes = encodeSettingsStream(settings);
    ProjectData::Words item{4, 0, static_cast<uint32_t>(bytes.size())};
    item.resize(3 + (bytes.size() + 3) / 4);
    std::memcpy(&item[3], bytes.data(), bytes.size());
    p.addItem(item);
    return p.table();
}

void openWindow() { gRoster.windows.push_back(ObjectRef::adopt(RuntimeNewObject(gWindowClass))); }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 64;
    gMode = argv[1];
    if (!log.open(argv[2])) return 65;
    setWindowRoster(&gRoster);
    RuntimeInit(buildProject());
    if (gMode == "nil") {
        RuntimeNilObject();
    } else if (gMode == "end") {
        RuntimeRaiseException(RuntimeNewObject(gEndException));
    } else if (gMode == "quit" || gMode == "cancel") {
        openWindow();
        ApplicationQuit();
        log("quit returned");
    } else if (gMode == "loop" || gMode == "last-window") {
        openWindow();
        addPeriodicTask(&gTask, 50);
        RuntimeRun();
        log("run returned");
    } else if (gMode == "no-window") {
        RuntimeRun();
        log("run returned");
    }
    log("end of main");
    return 0;
}
