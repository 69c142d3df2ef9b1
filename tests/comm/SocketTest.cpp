// The Socket control against real TCP peers on 127.0.0.1, run by this test
// on threads of its own: connecting by number and by name, bytes written
// before Connected, SendComplete, reading, a refused connection and an
// unknown host (Error 101, never Connected), a peer whose last answer comes
// just before it closes (DataAvailable before Error 102), listening, and the
// event bits.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "comm/SocketEntries.h"
#include "objects/BuiltinClasses.h"
#include "objects/EventLoop.h"
#include "objects/ObjectEntries.h"
#include "objects/ObjectRef.h"
#include "objects/ProjectData.h"
#include "objects/RuntimeStartup.h"
#include "support/EntryCallSupport.h"
#include "text/StringEntries.h"
#include "text/StringValue.h"

using runtime::ObjectRef;
using testing_support::Owned;
using testing_support::ProjectData;

namespace {

constexpr int32_t kAddressOffset = 28;
constexpr int32_t kPortOffset = 32;

std::vector<std::string> gEvents;
std::string gReceived;

std::string take(StringHandle value) { return std::string(runtime::StringValue::adopt(value).view()); }

extern "C" {
void onConnected(ObjectHandle) { gEvents.push_back("Connected"); }
void onDataAvailable(ObjectHandle socket) {
    gEvents.push_back("DataAvailable");
    gReceived += take(SocketReadAll(socket));
}
void onError(ObjectHandle socket) { gEvents.push_back("Error " + std::to_string(socketLastErrorCode(socket))); }
void onSendComplete(ObjectHandle) { gEvents.push_back("SendComplete"); }
}

int32_t gMailSocketClass = 0;

class RuntimeEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);  // the peers' own sockets
        static ProjectData project;
        project.addNamedClass("Application");
        const int32_t socket = project.addNamedClass("Socket");
        gMailSocketClass = project.addCompiledClass(
            {.name = "MailSocket", .size = 36, .superIndex = socket,
             .eventHandlers = {{"Connected", reinterpret_cast<void*>(onConnected)},
                               {"DataAvailable", reinterpret_cast<void*>(onDataAvailable)},
                               {"Error", reinterpret_cast<void*>(onError)},
                               {"SendComplete", reinterpret_cast<void*>(onSendComplete)}}});
        RuntimeInit(project.table());
    }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new RuntimeEnvironment);

// A TCP peer on 127.0.0.1: accepts one connection and runs its script on it,
// or, as a client, connects to a port and runs the script.
class TcpPeer {
public:
    using Script = std::function<void(SOCKET, std::string& log)>;

    static TcpPeer server(Script script) {
        TcpPeer peer;
        SOCKET listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = loopback(0);
        bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener, 1);
        int length = sizeof address;
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        peer.port_ = ntohs(address.sin_port);
        peer.thread_ = std::thread([listener, script, log = &peer.log_] {
            SOCKET connection = accept(listener, nullptr, nullptr);
            closesocket(listener);
            if (connection != INVALID_SOCKET) {
                script(connection, *log);
                closesocket(connection);
            }
        });
        return peer;
    }

    static TcpPeer client(int port, Script script) {
        TcpPeer peer;
        peer.port_ = port;
        peer.thread_ = std::thread([port, script, log = &peer.log_] {
            SOCKET connection = socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in address = loopback(port);
            for (int i = 0; i < 200; ++i) {
                if (connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
                    script(connection, *log);
                    break;
                }
                Sleep(20);
            }
            closesocket(connection);
        });
        return peer;
    }

    TcpPeer() = default;
    TcpPeer(TcpPeer&&) = default;
    ~TcpPeer() { finish(); }
    int port() const { return port_; }
    // Waits for the script to end; what it received.
    const std::string& finish() {
        if (thread_.joinable()) thread_.join();
        return log_;
    }

    static sockaddr_in loopback(int port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<u_short>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return address;
    }

private:
    int port_ = 0;
    std::string log_;
    std::thread thread_;
};

// Receives until `end` has arrived (or the connection ends); appends to log.
void receiveUntil(SOCKET s, std::string& log, const std::string& end) {
    char buffer[512];
    while (log.find(end) == std::string::npos) {
        const int got = recv(s, buffer, sizeof buffer, 0);
        if (got <= 0) return;
        log.append(buffer, static_cast<size_t>(got));
    }
}

void sendText(SOCKET s, const std::string& text) { send(s, text.data(), static_cast<int>(text.size()), 0); }

// Waits for the close of the other side.
void drain(SOCKET s, std::string& log) { receiveUntil(s, log, std::string(1, '\0') + "never"); }

// A free port: bound once, then released.
int freePort() {
    TcpPeer probe = TcpPeer::server([](SOCKET, std::string&) {});
    const int port = probe.port();
    // Let the probe's accept end by connecting once.
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = TcpPeer::loopback(port);
    connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    closesocket(s);
    probe.finish();
    return port;
}

// Runs loop passes until `done` holds or 10 s pass.
void runLoopUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 2000 && !done(); ++i) {
        runtime::runLoopPass();
        Sleep(5);
    }
}

bool seen(const std::string& event) { return std::find(gEvents.begin(), gEvents.end(), event) != gEvents.end(); }

ObjectRef newMailSocket(const std::string& address, int port) {
    ObjectRef socket = ObjectRef::adopt(RuntimeNewObject(gMailSocketClass));
    Owned text(address);
    stringSetter(socket.get(), kAddressOffset, text);
    *socket.field<int16_t>(kPortOffset) = static_cast<int16_t>(port);
    return socket;
}

void resetLog() {
    gEvents.clear();
    gReceived.clear();
}

TEST(Socket, LocalAddressIsEmptyWhileNoSocketIsOpen) {
    EXPECT_EQ(socketLocalAddressGetter(), nullptr);
    ObjectRef idle = newMailSocket("127.0.0.1", 1);
    EXPECT_EQ(socketLocalAddressGetter(), nullptr);
    EXPECT_EQ(socketLastErrorCode(idle.get()), 0);
    EXPECT_EQ(socketGetEvents(idle.get()), 0);
    EXPECT_EQ(socketPPPStatus(idle.get()), 0);
}

TEST(Socket, BytesWrittenBeforeConnectedAreQueuedAndSent) {
    resetLog();
    TcpPeer peer = TcpPeer::server([](SOCKET s, std::string& log) {
        receiveUntil(s, log, "\r\n");
        sendText(s, "250 hello\r\n");
        drain(s, log);
    });
    ObjectRef socket = newMailSocket("127.0.0.1", peer.port());
    SocketConnect(socket.get());
    Owned helo("HELO example.jp\r\n");
    SocketWrite(socket.get(), helo);
    EXPECT_EQ(take(socketLookahead(socket.get())), "");
    runLoopUntil([] { return gReceived == "250 hello\r\n"; });
    EXPECT_EQ(gReceived, "250 hello\r\n");
    ASSERT_FALSE(gEvents.empty());
    EXPECT_EQ(gEvents.front(), "Connected");
    EXPECT_TRUE(seen("SendComplete"));
    EXPECT_FALSE(seen("Error 102"));
    EXPECT_EQ(socketGetEvents(socket.get()), 1 | 4 | 8);
    EXPECT_EQ(socketGetEvents(socket.get()), 0);

    EXPECT_EQ(take(socketLocalAddressGetter()), "127.0.0.1");
    EXPECT_EQ(take(socketRemoteAddressGetter(socket.get())), "");  // outgoing
    socketClose(socket.get());
    EXPECT_EQ(peer.finish(), "HELO example.jp\r\n");
    EXPECT_EQ(socketLocalAddressGetter(), nullptr);
    EXPECT_EQ(helo.refs(), 1);
}

TEST(Socket, TheLastAnswerBeforeThePeerClosesIsDeliveredBeforeTheError) {
    resetLog();
    TcpPeer peer = TcpPeer::server([](SOCKET s, std::string&) { sendText(s, "221 closing\r\n"); });
    ObjectRef socket = newMailSocket("localhost", peer.port());  // a name, resolved
    SocketConnect(socket.get());
    runLoopUntil([] { return seen("Error 102"); });
    EXPECT_EQ(gEvents, (std::vector<std::string>{"Connected", "DataAvailable", "Error 102"}));
    EXPECT_EQ(gReceived, "221 closing\r\n");
    EXPECT_EQ(socketLastErrorCode(socket.get()), 102);
    // The connection is over: no further events.
    resetLog();
    for (int i = 0; i < 20; ++i) runtime::runLoopPass();
    EXPECT_TRUE(gEvents.empty());
}

TEST(Socket, ARefusedConnectionIsAnErrorAndNeverConnected) {
    resetLog();
    ObjectRef socket = newMailSocket("127.0.0.1", freePort());
    SocketConnect(socket.get());
    runLoopUntil([] { return !gEvents.empty(); });
    EXPECT_EQ(gEvents, (std::vector<std::string>{"Error 101"}));
    EXPECT_EQ(socketLastErrorCode(socket.get()), 101);
    EXPECT_EQ(socketGetEvents(socket.get()) & 1, 0);
}

BOOL CALLBACK countSocketWindow(HWND window, LPARAM param) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == "VLSocketClass") ++*reinterpret_cast<int*>(param);
    return TRUE;
}

int socketWindowsOfThisThread() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), countSocketWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

BOOL CALLBACK findSocketWindow(HWND window, LPARAM param) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) != "VLSocketClass") return TRUE;
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
}

// A connection that no one answers ends when the connect timer fires. A
// listener whose one-place backlog is taken leaves the next connect pending;
// the timer's message is sent at once instead of after 30 s.
TEST(Socket, NoAnswerBeforeTheConnectTimerIsAnError) {
    resetLog();
    SOCKET listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = TcpPeer::loopback(0);
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener, 0);
    int length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    SOCKET waiting = socket(AF_INET, SOCK_STREAM, 0);
    connect(waiting, reinterpret_cast<sockaddr*>(&address), sizeof address);

    ObjectRef socket = newMailSocket("127.0.0.1", ntohs(address.sin_port));
    SocketConnect(socket.get());
    HWND window = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findSocketWindow, reinterpret_cast<LPARAM>(&window));
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < 10; ++i) runtime::runLoopPass();
    if (!gEvents.empty()) {
        closesocket(waiting);
        closesocket(listener);
        GTEST_SKIP() << "the connection was answered: " << gEvents.front();
    }
    SendMessageA(window, WM_TIMER, 1, 0);
    runLoopUntil([] { return !gEvents.empty(); });
    EXPECT_EQ(gEvents, (std::vector<std::string>{"Error 101"}));
    EXPECT_EQ(socketWindowsOfThisThread(), 0);  // the connection is torn down
    closesocket(waiting);
    closesocket(listener);
}

TEST(Socket, AnUnknownHostIsAnErrorWithoutWindowOrTimer) {
    resetLog();
    ObjectRef socket = ObjectRef::adopt(RuntimeNewObject(gMailSocketClass));
    Owned host("no-such-host.invalid");
    socketDirectConnect(socket.get(), host, 25);
    EXPECT_EQ(socketLastErrorCode(socket.get()), 101);
    EXPECT_EQ(socketWindowsOfThisThread(), 0);
    socketPoll(socket.get());  // raises at once
    EXPECT_EQ(gEvents, (std::vector<std::string>{"Error 101"}));
}

TEST(Socket, ReadingTheReceiveBuffer) {
    TcpPeer peer = TcpPeer::server([](SOCKET s, std::string& log) {
        sendText(s, "0123456789");
        drain(s, log);
    });
    // A plain Socket: no handlers, so the bytes stay until read.
    ObjectRef socket = ObjectRef::adopt(runtime::newObject(runtime::builtinClass("Socket")));
    Owned address("127.0.0.1");
    socketDirectConnect(socket.get(), address, peer.port());
    runLoopUntil([&] { return take(socketLookahead(socket.get())).size() == 10; });
    EXPECT_EQ(take(socketLookahead(socket.get())), "0123456789");  // a copy
    EXPECT_EQ(take(socketRead(socket.get(), 3)), "012");
    EXPECT_EQ(take(pluginSocketLookahead(socket.get())), "3456789");
    EXPECT_EQ(take(pluginSocketRead(socket.get(), 2)), "34");
    EXPECT_EQ(take(socketRead(socket.get(), 100)), "56789");
    EXPECT_EQ(take(socketRead(socket.get(), 5)), "");
    EXPECT_EQ(take(SocketReadAll(socket.get())), "");
    EXPECT_EQ(take(pluginSocketReadAll(socket.get())), "");
    socketClose(socket.get());
    EXPECT_EQ(socketLastErrorCode(socket.get()), 0);  // a fresh driver
}

TEST(Socket, ListeningAcceptsOnePeer) {
    resetLog();
    const int port = freePort();
    ObjectRef socket = newMailSocket("", port);
    SocketListen(socket.get());
    TcpPeer peer = TcpPeer::client(port, [](SOCKET s, std::string& log) {
        sendText(s, "hi there");
        receiveUntil(s, log, "back");
    });
    runLoopUntil([] { return gReceived == "hi there"; });
    EXPECT_EQ(gEvents.front(), "Connected");
    EXPECT_EQ(gReceived, "hi there");
    EXPECT_EQ(take(socketRemoteAddressGetter(socket.get())), "127.0.0.1");
    Owned reply("back");
    SocketWrite(socket.get(), reply);
    runLoopUntil([] { return seen("SendComplete"); });
    EXPECT_EQ(peer.finish(), "back");
}

}  // namespace
