// The application object: start-up, the main window, the menus of the
// application and the about box.
#include "Window1State.h"

using namespace app::literals;
using app::Object;

extern "C" {
extern const uint8_t Window1Layout[];
extern const uint8_t Dialog1Layout[];
void Window1_SaveOnceAndQuit(ObjectHandle window);
}

namespace {

// The windows' implicit instances, set by the runtime as it creates them.
// The main window lives as long as the process; the about box is made on
// first use and shown again after that.
ObjectHandle gWindow1 = nullptr;
ObjectHandle gDialog1 = nullptr;

void enableMenu(StringHandle name) {
    const Object item = Object::adopt(RuntimeMenuReference(name));
    if (item) RuntimeUnlockObject(RuntimeEnableMenu(item.get()));
}

}  // namespace

namespace app {

ObjectHandle mainWindow() { return gWindow1; }

}  // namespace app

extern "C" {

void My_App_Open(ObjectHandle) {
    // The reference RuntimeCreateWindow returns is the one gWindow1 holds.
    RuntimeCreateWindow(Window1Layout, &gWindow1);
}

void My_App_EnableMenuItems(ObjectHandle) {
    enableMenu("FileQuit"_s);
    enableMenu("AboutMe"_s);
}

int32_t My_App_FileQuit(ObjectHandle) {
    if (gWindow1) {
        Window1_SaveOnceAndQuit(gWindow1);
    } else {
        ApplicationQuit();
    }
    return 1;
}

int32_t My_App_AboutMe(ObjectHandle) {
    if (!gDialog1) {
        RuntimeCreateWindow(Dialog1Layout, &gDialog1);
    } else {
        RuntimeShowWindow(gDialog1);
    }
    return 1;
}

// Any click or key in the about box puts it away until it is asked for again.
bool Dialog1_MouseDown(ObjectHandle dialog, int32_t, int32_t) {
    RuntimeHideWindow(dialog);
    return true;
}

bool Dialog1_KeyDown(ObjectHandle dialog, StringHandle) {
    RuntimeHideWindow(dialog);
    return true;
}

// Closed for real (its close command, or the application quitting), the box
// is gone: the next request makes a new one.
void Dialog1_Close(ObjectHandle dialog) {
    if (dialog != gDialog1) return;
    gDialog1 = nullptr;
    RuntimeUnlockObject(dialog);
}

void AppEntry() {
    Win32InstallPlugins(PluginList);
    RuntimeInit(ProjectTable);
    RuntimeRun();
}

}  // extern "C"
