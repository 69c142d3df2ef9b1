// Prints the CPU time the event loop uses while idle with one periodic task
// due every 100 ms, over 5 s of wall time, as a fraction of that wall time.
#include <windows.h>

#include <cstdio>

#include "objects/EventLoop.h"
#include "objects/LoopEntries.h"

using namespace runtime;

namespace {

// The loop ends when no window is left: pretend one is open.
class OneWindow : public WindowRoster {
public:
    bool anyWindowExists() const override { return true; }
};

class Heartbeat : public PeriodicTask {
public:
    DWORD start = GetTickCount();
    int runs = 0;
    void run() override {
        ++runs;
        if (GetTickCount() - start >= 5000) PostQuitMessage(0);
    }
};

double cpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](FILETIME t) {
        return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

}  // namespace

int main() {
    OneWindow roster;
    setWindowRoster(&roster);
    Heartbeat heartbeat;
    addPeriodicTask(&heartbeat, 100);
    const double cpuBefore = cpuSeconds();
    const DWORD wallBefore = GetTickCount();
    runEventLoop();
    const double wall = (GetTickCount() - wallBefore) / 1000.0;
    const double cpu = cpuSeconds() - cpuBefore;
    std::printf("event loop: %d periodic runs in %.2f s of wall time\n", heartbeat.runs, wall);
    std::printf("event loop CPU / wall time ratio: %.4f\n", cpu / wall);
    return 0;
}
