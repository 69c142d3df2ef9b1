// The process entry of sutakiba.exe.
#include <windows.h>
#include <commctrl.h>

#include "loader/ImageLoader.h"
#include "loader/Instance.h"
#include "loader/LoadedImage.h"
#include "objects/RuntimeStartup.h"
#include "text/FatalError.h"
#include "text/GlobalLock.h"

namespace {

// Until plug-ins register members, no member resolves: the deferred binding
// puts each one on a trap that names it, should compiled code call it.
void bindDeferredImportsToTraps() {
    runtime::bindDeferredPluginImports([](const runtime::StringValue&) -> void* { return nullptr; });
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Libraries are loaded from the system directory, never the current one.
    SetDllDirectoryA("");
    runtime::setInstanceHandle(instance);
    InitCommonControls();
    runtime::initGlobalLock();
    runtime::setStartupStep(runtime::StartupStep::kBindDeferredImports, bindDeferredImportsToTraps);
    // A start that failed is not reported as success.
    return runtime::runImageLoader() ? 0 : static_cast<int>(runtime::kExitLoadFailure);
}
