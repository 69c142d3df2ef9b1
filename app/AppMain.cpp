// The application's entry routine, called by the runtime once the image is
// loaded and linked: it starts the runtime over the project table and runs the
// event loop. Until the application's windows arrive, its application class
// only greets on the console when it opens, and the loop ends at once because
// no window is open.
#include "AppString.h"

using namespace app::literals;

extern "C" {
WINAPI_IMPORT void* GetStdHandle_(uint32_t which) APP_LIBRARY_IMPORT("kernel32.dll", "GetStdHandle");
WINAPI_IMPORT int WriteFile_(void* file, const void* bytes, uint32_t count, uint32_t* written, void* overlapped)
    APP_LIBRARY_IMPORT("kernel32.dll", "WriteFile");
}

// The Open event of the application class.
extern "C" void App_Open(ObjectHandle) {
    constexpr uint32_t kStandardOutput = static_cast<uint32_t>(-11);
    const app::String line =
        app::String::borrow("sutakiba: the application image is loaded and running"_s) + app::String::borrow("\r\n"_s);
    uint32_t written = 0;
    WriteFile_(GetStdHandle_(kStandardOutput), line.cString(), static_cast<uint32_t>(line.length()), &written, nullptr);
}

extern "C" void AppEntry() {
    Win32InstallPlugins(PluginList);
    RuntimeInit(ProjectTable);
    RuntimeRun();
}
