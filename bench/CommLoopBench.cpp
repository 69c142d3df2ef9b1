// Prints the CPU time the event loop uses over 10 s of wall time while one
// serial port is open and idle, and while one socket is connected and idle,
// as a fraction of that wall time (goal: at most 0.02 each). The serial port
// is COM1 of a test session (a pseudo-terminal); the socket's peer is a TCP
// server on 127.0.0.1 run by this program.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>

#include "comm/SerialEntries.h"
#include "comm/SocketEntries.h"
#include "objects/BuiltinClasses.h"
#include "objects/EventLoop.h"
#include "objects/ObjectRef.h"
#include "text/StringValue.h"

using namespace runtime;

namespace {

constexpr DWORD kMeasureMilliseconds = 10000;

class OneWindow : public WindowRoster {
public:
    bool anyWindowExists() const override { return true; }
};

class StopAfter : public PeriodicTask {
public:
    DWORD start = GetTickCount();
    void run() override {
        if (GetTickCount() - start >= kMeasureMilliseconds) PostQuitMessage(0);
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

// Runs the loop for the measuring time; the CPU / wall time ratio.
double idleLoopRatio() {
    StopAfter stop;
    addPeriodicTask(&stop, 1000);
    const double cpuBefore = cpuSeconds();
    const DWORD wallBefore = GetTickCount();
    runEventLoop();
    removePeriodicTask(&stop);
    const double wall = (GetTickCount() - wallBefore) / 1000.0;
    return (cpuSeconds() - cpuBefore) / wall;
}

void measureSerial() {
    ObjectRef serial = ObjectRef::adopt(newObject(builtinClass("Serial")));
    if (!serialOpen(serial.get())) {
        std::printf("serial port idle: COM1 cannot be opened (run inside a test session)\n");
        return;
    }
    std::printf("event loop CPU / wall time, serial port open and idle: %.4f\n", idleLoopRatio());
}

void measureSocket() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener, 1);
    int length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    // The peer accepts and then keeps the connection open without a word.
    std::thread peer([listener] {
        SOCKET connection = accept(listener, nullptr, nullptr);
        char byte;
        recv(connection, &byte, 1, 0);  // until the runtime closes
        closesocket(connection);
        closesocket(listener);
    });
    ObjectRef socket = ObjectRef::adopt(newObject(builtinClass("Socket")));
    const StringValue host = StringValue::fromCString("127.0.0.1");
    socketDirectConnect(socket.get(), host.get(), ntohs(address.sin_port));
    std::printf("event loop CPU / wall time, socket connected and idle: %.4f\n", idleLoopRatio());
    socketClose(socket.get());
    peer.join();
}

}  // namespace

// One measurement per process ("serial" or "socket"): the loop ends for
// good once it has seen its quit message.
int main(int argc, char** argv) {
    defineBuiltinClasses();
    OneWindow roster;
    setWindowRoster(&roster);
    const std::string which = argc > 1 ? argv[1] : "serial";
    if (which == "serial") measureSerial();
    if (which == "socket") measureSocket();
    return 0;
}
