#include "support/LoopPasses.h"

#include <windows.h>

#include "objects/EventLoop.h"

namespace testing_support {

void runPasses(int n) {
    for (int i = 0; i < n; ++i) {
        MSG queued;
        if (!PeekMessageW(&queued, nullptr, 0, 0, PM_NOREMOVE)) PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
        runtime::runLoopPass();
    }
}

}  // namespace testing_support
