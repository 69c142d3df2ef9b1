#include "comm/WinSockLibrary.h"

namespace runtime {
namespace {

// Process-wide: the library is loaded once and never unloaded.
WinSock gWinSock;
bool gLoaded = false;

template <typename Routine>
bool bind(HMODULE library, const char* name, Routine& routine) {
    routine = reinterpret_cast<Routine>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return routine != nullptr;
}

bool bindAll(HMODULE library, WinSock& w) {
    return bind(library, "WSAStartup", w.WSAStartup) && bind(library, "WSACleanup", w.WSACleanup) &&
           bind(library, "socket", w.socket) && bind(library, "closesocket", w.closesocket) &&
           bind(library, "inet_addr", w.inet_addr) && bind(library, "connect", w.connect) &&
           bind(library, "bind", w.bind) && bind(library, "send", w.send) && bind(library, "recv", w.recv) &&
           bind(library, "ioctlsocket", w.ioctlsocket) && bind(library, "gethostbyname", w.gethostbyname) &&
           bind(library, "WSAAsyncSelect", w.WSAAsyncSelect) && bind(library, "WSAGetLastError", w.WSAGetLastError) &&
           bind(library, "accept", w.accept) && bind(library, "listen", w.listen) &&
           bind(library, "getsockname", w.getsockname);
}

}  // namespace

const WinSock* loadWinSock(void (*onFirstLoad)()) {
    if (gLoaded) return &gWinSock;
    HMODULE library = LoadLibraryA("wsock32.dll");
    if (!library) return nullptr;
    WinSock bound{};
    if (!bindAll(library, bound)) return nullptr;
    gWinSock = bound;
    gLoaded = true;
    onFirstLoad();
    WSADATA data;
    gWinSock.WSAStartup(0x0101, &data);  // a failure shows at the first socket call
    return &gWinSock;
}

const WinSock* loadedWinSock() { return gLoaded ? &gWinSock : nullptr; }

}  // namespace runtime
