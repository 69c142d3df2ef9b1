// WinSock 1.1, loaded at run time: "wsock32.dll" is loaded on the first
// connect or listen and its routines are bound by name. The runtime never
// links it, so a machine without it still starts.
#pragma once

#include <winsock.h>
#include <windows.h>

namespace runtime {

struct WinSock {
    int(WINAPI* WSAStartup)(WORD, LPWSADATA);
    int(WINAPI* WSACleanup)();
    SOCKET(WINAPI* socket)(int, int, int);
    int(WINAPI* closesocket)(SOCKET);
    unsigned long(WINAPI* inet_addr)(const char*);
    int(WINAPI* connect)(SOCKET, const sockaddr*, int);
    int(WINAPI* bind)(SOCKET, const sockaddr*, int);
    int(WINAPI* send)(SOCKET, const char*, int, int);
    int(WINAPI* recv)(SOCKET, char*, int, int);
    int(WINAPI* ioctlsocket)(SOCKET, long, u_long*);
    hostent*(WINAPI* gethostbyname)(const char*);
    int(WINAPI* WSAAsyncSelect)(SOCKET, HWND, u_int, long);
    int(WINAPI* WSAGetLastError)();
    SOCKET(WINAPI* accept)(SOCKET, sockaddr*, int*);
    int(WINAPI* listen)(SOCKET, int);
    int(WINAPI* getsockname)(SOCKET, sockaddr*, int*);
};

// The bound routines, loading the library and starting WinSock (version 1.1)
// on the first call; null when the library cannot be loaded or lacks one of
// the routines. Once loaded, `onFirstLoad` has run (once per process).
const WinSock* loadWinSock(void (*onFirstLoad)());

// The routines when WinSock has been loaded, else null.
const WinSock* loadedWinSock();

}  // namespace runtime
