#include "comm/SocketDriver.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "comm/WinSockLibrary.h"
#include "objects/EventLoop.h"
#include "text/EntryGuard.h"

namespace runtime {
namespace {

constexpr UINT kSocketMessage = WM_USER;
constexpr long kClientEvents = FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE;               // 0x33
constexpr long kListenEvents = FD_READ | FD_WRITE | FD_ACCEPT | FD_CONNECT | FD_CLOSE;   // 0x3B
constexpr UINT_PTR kConnectTimerId = 1;
constexpr UINT kConnectTimeout = 30000;
constexpr wchar_t kWindowClass[] = L"VLSocketClass";

// A port in network byte order (most significant byte first); WinSock's own
// conversion routines are not linked.
u_short networkOrder16(int32_t port) {
    const auto value = static_cast<uint16_t>(port);
    return static_cast<u_short>((value >> 8) | ((value & 0xFF) << 8));
}

// The runtime-wide list of drivers, newest first.
SocketDriver* gDrivers = nullptr;

// The loop's socket step: every driver sends what is queued and takes in what
// arrived, then the pending events are raised. Handlers may close sockets or
// destroy them, so the list is searched afresh after each event.
class SocketPoller final : public LoopParticipant {
public:
    void runStep() override;
    std::optional<DWORD> millisecondsUntilDue() const override {
        for (SocketDriver* d = SocketDriver::first(); d; d = d->next()) {
            if (d->hasPendingEvent()) return 0;
        }
        return std::nullopt;  // WinSock's messages wake the loop
    }
};
SocketPoller gPoller;

void registerWindowClassAndPoller() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = SocketDriver::windowProcedure;
    windowClass.cbWndExtra = sizeof(SocketDriver*);
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassW(&windowClass);
    setLoopParticipant(LoopStage::kSockets, &gPoller);
}

const WinSock* winSock() { return loadWinSock(registerWindowClassAndPoller); }

}  // namespace

void deliverSocketEvent(SocketDriver* driver, SocketEvent event);

void SocketPoller::runStep() {
    guardedEntry([] {
        for (SocketDriver* d = SocketDriver::first(); d; d = d->next()) d->pump();
    });
    while (true) {
        SocketDriver* due = nullptr;
        SocketEvent event{};
        for (SocketDriver* d = SocketDriver::first(); d && !due; d = d->next()) {
            if (d->takePendingEvent(event)) due = d;
        }
        if (!due) return;
        deliverSocketEvent(due, event);
    }
}

std::string dottedAddress(uint32_t networkOrder) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&networkOrder);
    return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." + std::to_string(bytes[2]) + "." +
           std::to_string(bytes[3]);
}

SocketDriver::SocketDriver(ObjectHandle owner) : owner_(owner), next_(gDrivers) { gDrivers = this; }

SocketDriver::~SocketDriver() {
    teardown();
    for (SocketDriver** link = &gDrivers; *link; link = &(*link)->next_) {
        if (*link == this) {
            *link = next_;
            break;
        }
    }
}

SocketDriver* SocketDriver::first() { return gDrivers; }

void SocketDriver::clearPending() {
    dataPending_ = connectedPending_ = sendCompletePending_ = errorPending_ = bytesSent_ = false;
}

bool SocketDriver::createWindow() {
    window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window_) return false;
    SetWindowLongPtrW(window_, 0, reinterpret_cast<LONG_PTR>(this));
    return true;
}

void SocketDriver::connect(std::string_view address, int32_t port) {
    eventBits_ = 0;
    const WinSock* ws = winSock();
    if (!ws) return fail(kSocketUnavailable);
    teardown();
    clearPending();
    socket_ = ws->socket(AF_INET, SOCK_STREAM, 0);
    if (socket_ == INVALID_SOCKET) return fail(kSocketUnavailable);
    address_ = {};
    address_.sin_family = AF_INET;
    address_.sin_port = networkOrder16(port);
    const std::string host(address);
    unsigned long numeric = ws->inet_addr(host.c_str());
    if (numeric == INADDR_NONE) {
        const hostent* found = ws->gethostbyname(host.c_str());
        if (!found || !found->h_addr_list || !found->h_addr_list[0]) return fail(kSocketCannotConnect);
        std::memcpy(&numeric, found->h_addr_list[0], sizeof numeric);
    }
    address_.sin_addr.s_addr = numeric;
    if (!createWindow()) return fail(kSocketUnavailable);
    ws->WSAAsyncSelect(socket_, window_, kSocketMessage, kClientEvents);
    connectTimer_ = SetTimer(window_, kConnectTimerId, kConnectTimeout, nullptr);
    if (ws->connect(socket_, reinterpret_cast<const sockaddr*>(&address_), sizeof address_) != 0 &&
        ws->WSAGetLastError() != WSAEWOULDBLOCK) {
        fail(kSocketCannotConnect);
    }
}

void SocketDriver::listen(int32_t port) {
    eventBits_ = 0;
    const WinSock* ws = winSock();
    if (!ws) return fail(kSocketUnavailable);
    teardown();
    clearPending();
    socket_ = ws->socket(AF_INET, SOCK_STREAM, 0);
    if (socket_ == INVALID_SOCKET) return fail(kSocketUnavailable);
    address_ = {};
    address_.sin_family = AF_INET;
    address_.sin_port = networkOrder16(port);
    if (ws->bind(socket_, reinterpret_cast<const sockaddr*>(&address_), sizeof address_) != 0) {
        return fail(kSocketCannotConnect);
    }
    if (!createWindow()) return fail(kSocketUnavailable);
    ws->WSAAsyncSelect(socket_, window_, kSocketMessage, kListenEvents);
    if (ws->listen(socket_, 1) != 0) fail(kSocketCannotConnect);
}

void SocketDriver::write(std::string_view data) {
    queued_.append(data);
    const WinSock* ws = loadedWinSock();
    if (!ws || socket_ == INVALID_SOCKET || queued_.empty() || !connected_) return;
    const int sent = ws->send(socket_, queued_.data(), static_cast<int>(queued_.size()), 0);
    if (sent == SOCKET_ERROR) {
        if (ws->WSAGetLastError() != WSAEWOULDBLOCK) fail(kSocketClosed);
        return;
    }
    if (sent > 0) {
        bytesSent_ = true;
        queued_.erase(0, static_cast<size_t>(sent));
        if (queued_.empty()) {
            eventBits_ |= kEventSendBufferEmptied;
            sendCompletePending_ = true;
        }
    }
}

void SocketDriver::receive() {
    const WinSock* ws = loadedWinSock();
    if (!ws || socket_ == INVALID_SOCKET || !connected_) return;
    u_long available = 0;
    if (ws->ioctlsocket(socket_, FIONREAD, &available) != 0 || available == 0) return;
    std::vector<char> bytes(available);
    const int got = ws->recv(socket_, bytes.data(), static_cast<int>(available), 0);
    if (got == SOCKET_ERROR) {
        if (ws->WSAGetLastError() != WSAEWOULDBLOCK) fail(kSocketReceiveFailed);
        return;
    }
    if (got > 0) {
        dataPending_ = true;
        eventBits_ |= kEventDataReceived;
        received_.append(bytes.data(), static_cast<size_t>(got));
    }
}

std::string SocketDriver::read(int32_t count) {
    const size_t n = std::min(static_cast<size_t>(std::max(count, 0)), received_.size());
    std::string front = received_.substr(0, n);
    received_.erase(0, n);
    return front;
}

std::string SocketDriver::readAll() { return std::exchange(received_, std::string()); }

void SocketDriver::pump() {
    write({});
    receive();
}

bool SocketDriver::hasPendingEvent() const {
    return connectedPending_ || dataPending_ || errorPending_ || sendCompletePending_;
}

bool SocketDriver::takePendingEvent(SocketEvent& event) {
    // Received bytes come before the error that ended the connection, so
    // the last answer of a peer that closes is never lost.
    const std::pair<bool*, SocketEvent> order[] = {
        {&connectedPending_, SocketEvent::kConnected},
        {&dataPending_, SocketEvent::kDataAvailable},
        {&errorPending_, SocketEvent::kError},
        {&sendCompletePending_, SocketEvent::kSendComplete},
    };
    for (const auto& [flag, which] : order) {
        if (*flag) {
            *flag = false;
            event = which;
            return true;
        }
    }
    return false;
}

int32_t SocketDriver::takeEventBits() { return std::exchange(eventBits_, 0); }

void SocketDriver::fail(int32_t code, Keep keep) {
    lastError_ = code;
    errorPending_ = true;
    teardown(keep);
}

void SocketDriver::teardown(Keep keep) {
    queued_.clear();
    if (keep == Keep::kNothing) received_.clear();
    if (socket_ != INVALID_SOCKET) {
        if (const WinSock* ws = loadedWinSock()) ws->closesocket(socket_);
        socket_ = INVALID_SOCKET;
    }
    connected_ = false;
    if (window_) {
        if (connectTimer_) KillTimer(window_, kConnectTimerId);
        SetWindowLongPtrW(window_, 0, 0);
        DestroyWindow(window_);
        window_ = nullptr;
    }
    connectTimer_ = 0;
}

void SocketDriver::onAccept() {
    const WinSock* ws = loadedWinSock();
    eventBits_ |= kEventConnected;
    connected_ = true;
    connectedPending_ = true;
    int length = sizeof address_;
    const SOCKET accepted = ws->accept(socket_, reinterpret_cast<sockaddr*>(&address_), &length);
    if (accepted == INVALID_SOCKET) return fail(kSocketCannotConnect);
    ws->closesocket(socket_);
    socket_ = accepted;
    ws->WSAAsyncSelect(socket_, window_, kSocketMessage, kClientEvents);
    remoteAddress_ = dottedAddress(address_.sin_addr.s_addr);
}

// Handles one notification; false when it ended the connection (and with it
// the window).
bool SocketDriver::handleMessage(WPARAM wParam, LPARAM lParam) {
    const WORD what = WSAGETSELECTEVENT(lParam);
    const WORD error = WSAGETSELECTERROR(lParam);
    switch (what) {
        case FD_CONNECT:
            if (connectTimer_) KillTimer(window_, kConnectTimerId);
            connectTimer_ = 0;
            // A connection that failed (refused, unreachable) is an error,
            // never Connected.
            if (error != 0) {
                fail(kSocketCannotConnect);
                return false;
            }
            connected_ = true;
            connectedPending_ = true;
            eventBits_ |= kEventConnected;
            return true;
        case FD_ACCEPT:
            if (connectTimer_) KillTimer(window_, kConnectTimerId);
            connectTimer_ = 0;
            onAccept();
            return window_ != nullptr;
        case FD_READ:
            receive();
            return window_ != nullptr;
        case FD_WRITE:
            if (socket_ != INVALID_SOCKET) write({});
            return window_ != nullptr;
        case FD_CLOSE:
            if (static_cast<SOCKET>(wParam) != socket_) return true;
            // Whatever the peer sent before closing is taken in first and
            // stays readable after the error.
            for (size_t before = SIZE_MAX; socket_ != INVALID_SOCKET && received_.size() != before;) {
                before = received_.size();
                receive();
            }
            fail(kSocketClosed, Keep::kReceivedBytes);
            return false;
        default:
            return true;
    }
}

LRESULT CALLBACK SocketDriver::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* driver = reinterpret_cast<SocketDriver*>(GetWindowLongPtrW(window, 0));
    if (driver && message == WM_TIMER) {
        if (driver->socket_ != INVALID_SOCKET) guardedEntry([&] { driver->fail(kSocketCannotConnect); });
        return 0;
    }
    if (driver && message == kSocketMessage) {
        if (!guardedEntry([&] { return driver->handleMessage(wParam, lParam); })) return 0;  // the window is gone
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace runtime
