// The driver behind one Socket object: one TCP connection, outgoing or
// accepted, reported by WinSock as messages to a hidden "VLSocketClass"
// window. The window procedure only records what happened (flags, bytes,
// error codes); the events of the Socket are raised later from the loop.
#pragma once

#include <winsock.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "objects/ObjectHeader.h"

namespace runtime {

// LastErrorCode values.
enum SocketErrorCode : int32_t {
    kSocketUnavailable = 100,   // WinSock cannot be loaded, or no socket
    kSocketCannotConnect = 101, // name not resolved, refused, no answer, bind or listen failed
    kSocketClosed = 102,        // the peer closed, or a send failed
    kSocketReceiveFailed = 104,
};

// Event bits gathered for socketGetEvents.
enum SocketEventBits : int32_t {
    kEventConnected = 1,
    kEventDataReceived = 4,
    kEventSendBufferEmptied = 8,
};

// The events of a Socket, in the order a poll raises them.
enum class SocketEvent { kConnected, kDataAvailable, kError, kSendComplete };

class SocketDriver {
public:
    explicit SocketDriver(ObjectHandle owner);
    ~SocketDriver();
    SocketDriver(const SocketDriver&) = delete;
    SocketDriver& operator=(const SocketDriver&) = delete;

    void connect(std::string_view address, int32_t port);
    void listen(int32_t port);
    // Queues the bytes and sends what the network takes now.
    void write(std::string_view data);
    std::string read(int32_t count);
    std::string readAll();
    const std::string& lookahead() const { return received_; }
    // Sends what is queued and takes in what has arrived (no events).
    void pump();
    // The next pending event, its flag cleared; false when none is pending.
    bool takePendingEvent(SocketEvent& event);
    bool hasPendingEvent() const;
    int32_t takeEventBits();

    ObjectHandle owner() const { return owner_; }
    int32_t lastError() const { return lastError_; }
    const std::string& remoteAddress() const { return remoteAddress_; }
    bool hasSocket() const { return socket_ != INVALID_SOCKET; }
    SOCKET socketHandle() const { return socket_; }
    SocketDriver* next() const { return next_; }

    // The first driver of the runtime-wide list (newest first).
    static SocketDriver* first();

    // The hidden window's procedure (never calls compiled code).
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    enum class Keep { kNothing, kReceivedBytes };

    bool handleMessage(WPARAM wParam, LPARAM lParam);
    void onAccept();
    void receive();
    // Records the code, marks Error pending and closes the connection.
    void fail(int32_t code, Keep keep = Keep::kNothing);
    void teardown(Keep keep = Keep::kNothing);
    bool createWindow();
    void clearPending();

    int32_t lastError_ = 0;
    ObjectHandle owner_;  // the Socket that owns this driver
    SocketDriver* next_ = nullptr;
    SOCKET socket_ = INVALID_SOCKET;
    sockaddr_in address_{};
    std::string received_;
    std::string queued_;
    bool dataPending_ = false;
    bool connectedPending_ = false;
    bool sendCompletePending_ = false;
    bool errorPending_ = false;
    bool bytesSent_ = false;
    bool connected_ = false;
    HWND window_ = nullptr;
    UINT_PTR connectTimer_ = 0;
    std::string remoteAddress_;
    int32_t eventBits_ = 0;
};

// Dotted decimal text of an IPv4 address in network byte order.
std::string dottedAddress(uint32_t networkOrder);

}  // namespace runtime
