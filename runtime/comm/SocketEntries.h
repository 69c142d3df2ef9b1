// Entry routines of the Socket control. Arguments are borrowed; a returned
// string belongs to the caller. Failures are reported only through
// LastErrorCode and the Error event, raised from the loop.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ClassRecord.h"

RUNTIME_ENTRY void SocketConnect(ObjectHandle socket);
RUNTIME_ENTRY void socketDirectConnect(ObjectHandle socket, StringHandle address, int32_t port);
RUNTIME_ENTRY void SocketListen(ObjectHandle socket);
RUNTIME_ENTRY void SocketWrite(ObjectHandle socket, StringHandle data);
RUNTIME_ENTRY StringHandle socketRead(ObjectHandle socket, int32_t count);
RUNTIME_ENTRY StringHandle SocketReadAll(ObjectHandle socket);
RUNTIME_ENTRY void socketClose(ObjectHandle socket);
RUNTIME_ENTRY void socketPoll(ObjectHandle socket);
RUNTIME_ENTRY int32_t socketGetEvents(ObjectHandle socket);
RUNTIME_ENTRY int32_t socketLastErrorCode(ObjectHandle socket);
RUNTIME_ENTRY StringHandle socketLookahead(ObjectHandle socket);
RUNTIME_ENTRY StringHandle socketRemoteAddressGetter(ObjectHandle socket);
RUNTIME_ENTRY StringHandle socketLocalAddressGetter();
RUNTIME_ENTRY int32_t socketPPPStatus(ObjectHandle socket);
RUNTIME_ENTRY void socketPPPConnect(ObjectHandle socket);
RUNTIME_ENTRY void socketPPPDisconnect(ObjectHandle socket);
RUNTIME_ENTRY StringHandle pluginSocketRead(ObjectHandle socket, int32_t count);
RUNTIME_ENTRY StringHandle pluginSocketReadAll(ObjectHandle socket);
RUNTIME_ENTRY StringHandle pluginSocketLookahead(ObjectHandle socket);

namespace runtime {
// Class hooks of Socket: the driver is made and deleted with the object.
void initialiseSocket(ObjectHandle socket, ClassRecord*);
void finaliseSocket(ObjectHandle socket, ClassRecord*);
}  // namespace runtime
