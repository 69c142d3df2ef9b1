#include "text/FatalError.h"

#if defined(_WIN32)
#include <windows.h>

#include "text/SystemText.h"
#else
#include <cstdio>
#include <cstdlib>
#endif

namespace runtime {

static constexpr char kOutOfMemoryText[] = "This application has run out of memory and must quit now.";

void showFatalMessage(const char* text) {
#if defined(_WIN32)
    systemMessageBox(nullptr, text, "Message", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
#else
    std::fprintf(stderr, "%s\n", text);
#endif
}

void runOutOfMemory() {
    showFatalMessage(kOutOfMemoryText);
#if defined(_WIN32)
    ExitProcess(kExitOutOfMemory);
#else
    std::_Exit(kExitOutOfMemory);
#endif
}

}  // namespace runtime
