// The process entry of sutakiba.exe.
#include <windows.h>
#include <commctrl.h>

#include "loader/ImageLoader.h"
#include "loader/Instance.h"
#include "loader/LoadedImage.h"
#include "loader/PluginHost.h"
#include "loader/PluginInstaller.h"
#include "objects/RuntimeStartup.h"
#include "text/FatalError.h"
#include "text/GlobalLock.h"

namespace {

// Members are found among what the plug-ins registered; one that nothing
// provides goes to a trap that names it, should compiled code call it.
void bindDeferredImports() {
    runtime::bindDeferredPluginImports(
        [](const runtime::StringValue& member) { return runtime::plugins::resolvePluginMember(member.view()); });
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Libraries are loaded from the system directory, never the current one.
    SetDllDirectoryA("");
    runtime::setInstanceHandle(instance);
    InitCommonControls();
    runtime::initGlobalLock();
    runtime::setStartupStep(runtime::StartupStep::kInstallPlugins, runtime::plugins::installPlugins);
    runtime::setStartupStep(runtime::StartupStep::kBindDeferredImports, bindDeferredImports);
    // A start that failed is not reported as success.
    return runtime::runImageLoader() ? 0 : static_cast<int>(runtime::kExitLoadFailure);
}
