// The process entry of sutakiba.exe.
#include <windows.h>
#include <commctrl.h>

#include "loader/Instance.h"
#include "text/GlobalLock.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Libraries are loaded from the system directory, never the current one.
    SetDllDirectoryA("");
    runtime::setInstanceHandle(instance);
    InitCommonControls();
    runtime::initGlobalLock();
    return 0;
}
