// Prints the CPU time the event loop uses over 10 s of wall time with one
// open window and the mouse still, as a fraction of that time: first with
// nothing due (goal: under 1 % of a core), then with a repeating 100 ms
// timer whose Action runs on the loop (goal: at most 2 %). A thread of its
// own closes each window at the end of its 10 s.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "objects/EventLoop.h"
#include "objects/ObjectEntries.h"
#include "objects/ProjectData.h"
#include "objects/RuntimeStartup.h"
#include "objects/WindowInstantiation.h"
#include "objects/WindowLayout.h"
#include "ui/Timer.h"
#include "ui/WindowEntries.h"

using namespace runtime;

namespace {

constexpr DWORD kWallMilliseconds = 10000;

int gFirings = 0;
extern "C" void countFiring(ObjectHandle) { ++gFirings; }

double cpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](FILETIME t) {
        return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

DWORD WINAPI closeLater(void* window) {
    Sleep(kWallMilliseconds);
    PostMessageW(static_cast<HWND>(window), WM_CLOSE, 0, 0);
    return 0;
}

ObjectHandle openWindow(int32_t windowClass) {
    WindowLayout layout;
    layout.windowClass = windowClass;
    layout.properties = {{"Title", "Idle"}, {"Width", "300"}, {"Height", "200"}};
    const std::vector<uint8_t> stream = encodeWindowLayout(layout);
    std::vector<uint8_t> bytes(4);
    const auto length = static_cast<uint32_t>(stream.size());
    std::memcpy(bytes.data(), &length, 4);
    bytes.insert(bytes.end(), stream.begin(), stream.end());
    return RuntimeCreateWindow(bytes.data(), nullptr);
}

// Runs the loop's passes until the window is closed by the other thread and
// returns the CPU / wall time ratio.
double measure(ObjectHandle w, double& wall) {
    HWND handle = reinterpret_cast<HWND>(static_cast<intptr_t>(windowHWNDGetter(w)));
    // Let the window appear and settle before measuring.
    for (int i = 0; i < 20; ++i) {
        PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
        runLoopPass();
    }
    CloseHandle(CreateThread(nullptr, 0, closeLater, handle, 0, nullptr));
    const double cpuBefore = cpuSeconds();
    const DWORD wallBefore = GetTickCount();
    while (IsWindow(handle)) runLoopPass();
    wall = (GetTickCount() - wallBefore) / 1000.0;
    return (cpuSeconds() - cpuBefore) / wall;
}

}  // namespace

int main() {
    testing_support::ProjectData project;
    project.addNamedClass("Application");
    const int32_t window = project.addNamedClass("Window");
    const int32_t timer = project.addNamedClass("Timer");
    const int32_t countingTimer = project.addCompiledClass(
        {.name = "CountingTimer", .size = 40, .superIndex = timer, .eventHandlers = {{"Action", reinterpret_cast<void*>(countFiring)}}});
    RuntimeInit(project.table());

    ObjectHandle idle = openWindow(window);
    if (!idle) {
        std::printf("window loop: no window could be created\n");
        return 1;
    }
    double wall = 0;
    const double idleRatio = measure(idle, wall);
    std::printf("window loop: one idle window for %.2f s of wall time\n", wall);
    std::printf("window loop CPU / wall time ratio: %.4f\n", idleRatio);
    RuntimeUnlockObject(idle);

    ObjectHandle ticking = openWindow(window);
    if (!ticking) return 1;
    ObjectHandle t = RuntimeNewObject(countingTimer);
    timerPeriodSetter(t, 100);
    timerModeSetter(t, 2);
    const double timerRatio = measure(ticking, wall);
    timerModeSetter(t, 0);
    std::printf("window loop: a 100 ms timer on an open window for %.2f s of wall time, %d firings\n", wall, gFirings);
    std::printf("window loop with timer CPU / wall time ratio: %.4f\n", timerRatio);
    RuntimeUnlockObject(t);
    RuntimeUnlockObject(ticking);
    return 0;
}
