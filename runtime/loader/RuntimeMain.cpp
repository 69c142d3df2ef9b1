// The process entry of sutakiba.exe.
#include <windows.h>
#include <commctrl.h>

#include "loader/ImageLoader.h"
#include "loader/Instance.h"
#include "text/FatalError.h"
#include "text/GlobalLock.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Libraries are loaded from the system directory, never the current one.
    SetDllDirectoryA("");
    runtime::setInstanceHandle(instance);
    InitCommonControls();
    runtime::initGlobalLock();
    // A start that failed is not reported as success.
    return runtime::runImageLoader() ? 0 : static_cast<int>(runtime::kExitLoadFailure);
}
