// Prints the CPU time the event loop uses over 10 s of wall time with one
// open window, the mouse still and nothing due, as a fraction of that time
// (the goal: under 1 % of a core). A thread of its own closes the window at
// the end, which ends the loop.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "objects/DataStreamWriter.h"
#include "objects/EventLoop.h"
#include "objects/ProjectData.h"
#include "objects/RuntimeStartup.h"
#include "objects/WindowInstantiation.h"
#include "objects/WindowLayout.h"
#include "ui/WindowEntries.h"

using namespace runtime;

namespace {

constexpr DWORD kWallMilliseconds = 10000;

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

}  // namespace

int main() {
    testing_support::ProjectData project;
    project.addNamedClass("Application");
    const int32_t window = project.addNamedClass("Window");
    RuntimeInit(project.table());

    WindowLayout layout;
    layout.windowClass = window;
    layout.properties = {{"Title", "Idle"}, {"Width", "300"}, {"Height", "200"}};
    const std::vector<uint8_t> stream = encodeWindowLayout(layout);
    std::vector<uint8_t> bytes(4);
    const auto length = static_cast<uint32_t>(stream.size());
    std::memcpy(bytes.data(), &length, 4);
    bytes.insert(bytes.end(), stream.begin(), stream.end());
    ObjectHandle w = RuntimeCreateWindow(bytes.data(), nullptr);
    if (!w) {
        std::printf("window loop: no window could be created\n");
        return 1;
    }
    HWND handle = reinterpret_cast<HWND>(static_cast<intptr_t>(windowHWNDGetter(w)));
    // Let the window appear and settle before measuring.
    for (int i = 0; i < 20; ++i) {
        PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
        runLoopPass();
    }
    CloseHandle(CreateThread(nullptr, 0, closeLater, handle, 0, nullptr));
    const double cpuBefore = cpuSeconds();
    const DWORD wallBefore = GetTickCount();
    runEventLoop();
    const double wall = (GetTickCount() - wallBefore) / 1000.0;
    const double cpu = cpuSeconds() - cpuBefore;
    std::printf("window loop: one idle window for %.2f s of wall time\n", wall);
    std::printf("window loop CPU / wall time ratio: %.4f\n", cpu / wall);
    return 0;
}
