#include "comm/SocketEntries.h"

#include <cstddef>

#include "comm/SocketDriver.h"
#include "comm/WinSockLibrary.h"
#include "objects/BuiltinClasses.h"
#include "objects/EventDelivery.h"
#include "text/EntryGuard.h"
#include "text/StringValue.h"

using namespace runtime;

namespace {

// Instance data of Socket after the data of Object.
struct SocketFields {
    SocketDriver* driver;  // owned
    StringHandle address;
    int16_t port;
};
constexpr int32_t kSocketFieldsOffset = 24;
#if defined(__i386__)
static_assert(offsetof(SocketFields, address) == 4 && offsetof(SocketFields, port) == 8);
static_assert(kSocketFieldsOffset + sizeof(SocketFields) == 36);
#endif

SocketFields& fieldsOf(ObjectHandle socket) {
    return *reinterpret_cast<SocketFields*>(reinterpret_cast<char*>(socket) + kSocketFieldsOffset);
}

SocketDriver* driverOf(ObjectHandle socket) { return socket ? fieldsOf(socket).driver : nullptr; }

const char* eventName(SocketEvent event) {
    switch (event) {
        case SocketEvent::kConnected: return "Connected";
        case SocketEvent::kDataAvailable: return "DataAvailable";
        case SocketEvent::kError: return "Error";
        case SocketEvent::kSendComplete: return "SendComplete";
    }
    return "";
}

StringHandle text(const std::string& bytes) { return StringValue::fromBytes(bytes).release(); }

}  // namespace

namespace runtime {

// Raises one event of the driver's Socket; the driver may be gone when the
// handler returns, so nothing of it is used afterwards.
void deliverSocketEvent(SocketDriver* driver, SocketEvent event) {
    deliverEvent(driver->owner(), builtinEvent("Socket", eventName(event)));
}

void initialiseSocket(ObjectHandle socket, ClassRecord*) {
    guardedEntry([&] { fieldsOf(socket).driver = new SocketDriver(socket); });
}

void finaliseSocket(ObjectHandle socket, ClassRecord*) {
    SocketFields& fields = fieldsOf(socket);
    delete fields.driver;
    fields.driver = nullptr;
    unlockString(fields.address);
    fields.address = nullptr;
}

}  // namespace runtime

void SocketConnect(ObjectHandle socket) {
    guardedEntry([&] {
        if (SocketDriver* d = driverOf(socket)) d->connect(viewOf(fieldsOf(socket).address), fieldsOf(socket).port);
    });
}

void socketDirectConnect(ObjectHandle socket, StringHandle address, int32_t port) {
    guardedEntry([&] {
        if (SocketDriver* d = driverOf(socket)) d->connect(viewOf(address), port);
    });
}

void SocketListen(ObjectHandle socket) {
    guardedEntry([&] {
        if (SocketDriver* d = driverOf(socket)) d->listen(fieldsOf(socket).port);
    });
}

void SocketWrite(ObjectHandle socket, StringHandle data) {
    guardedEntry([&] {
        if (SocketDriver* d = driverOf(socket)) d->write(viewOf(data));
    });
}

StringHandle socketRead(ObjectHandle socket, int32_t count) {
    return guardedEntry([&]() -> StringHandle {
        SocketDriver* d = driverOf(socket);
        return d ? text(d->read(count)) : nullptr;
    });
}

StringHandle SocketReadAll(ObjectHandle socket) {
    return guardedEntry([&]() -> StringHandle {
        SocketDriver* d = driverOf(socket);
        return d ? text(d->readAll()) : nullptr;
    });
}

StringHandle socketLookahead(ObjectHandle socket) {
    return guardedEntry([&]() -> StringHandle {
        SocketDriver* d = driverOf(socket);
        return d ? text(d->lookahead()) : nullptr;
    });
}

StringHandle pluginSocketRead(ObjectHandle socket, int32_t count) { return socketRead(socket, count); }
StringHandle pluginSocketReadAll(ObjectHandle socket) { return SocketReadAll(socket); }
StringHandle pluginSocketLookahead(ObjectHandle socket) { return socketLookahead(socket); }

void socketClose(ObjectHandle socket) {
    guardedEntry([&] {
        if (!socket) return;
        SocketFields& fields = fieldsOf(socket);
        delete fields.driver;
        fields.driver = new SocketDriver(socket);
    });
}

void socketPoll(ObjectHandle socket) {
    guardedEntry([&] {
        SocketDriver* d = driverOf(socket);
        if (!d) return;
        d->pump();
        // The caller holds the Socket; its driver is looked up again after
        // each event, as a handler may have closed it.
        SocketEvent event{};
        while ((d = driverOf(socket)) && d->takePendingEvent(event)) deliverSocketEvent(d, event);
    });
}

int32_t socketGetEvents(ObjectHandle socket) {
    SocketDriver* d = driverOf(socket);
    return d ? d->takeEventBits() : 0;
}

int32_t socketLastErrorCode(ObjectHandle socket) {
    SocketDriver* d = driverOf(socket);
    return d ? d->lastError() : 0;
}

StringHandle socketRemoteAddressGetter(ObjectHandle socket) {
    return guardedEntry([&]() -> StringHandle {
        SocketDriver* d = driverOf(socket);
        return d ? text(d->remoteAddress()) : nullptr;
    });
}

StringHandle socketLocalAddressGetter() {
    return guardedEntry([]() -> StringHandle {
        const WinSock* ws = loadedWinSock();
        if (!ws) return nullptr;
        for (SocketDriver* d = SocketDriver::first(); d; d = d->next()) {
            if (!d->hasSocket()) continue;
            sockaddr_in local{};
            int length = sizeof local;
            if (ws->getsockname(d->socketHandle(), reinterpret_cast<sockaddr*>(&local), &length) != 0) return nullptr;
            if (local.sin_addr.s_addr == 0) return nullptr;
            return text(dottedAddress(local.sin_addr.s_addr));
        }
        return nullptr;
    });
}

int32_t socketPPPStatus(ObjectHandle) { return 0; }
void socketPPPConnect(ObjectHandle) {}
void socketPPPDisconnect(ObjectHandle) {}
