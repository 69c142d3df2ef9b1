#include "objects/RuntimeStartup.h"

#include <windows.h>
#include <ole2.h>

#include <array>

#include "objects/ApplicationObject.h"
#include "objects/BuiltinClasses.h"
#include "objects/ClassDescriptors.h"
#include "objects/EventDelivery.h"
#include "objects/InterfaceTables.h"
#include "objects/ProjectItems.h"
#include "objects/SystemObjects.h"
#include "ui/ControlEntries.h"
#include "text/FatalError.h"
#include "ui/WindowEntries.h"
#include "ui/WindowSubsystem.h"
#include "ui/controls/EditFieldEntries.h"
#include "ui/lists/ListboxEntries.h"
#include "ui/lists/PopupMenuEntries.h"

namespace runtime {
namespace {

// Provided by the subsystems that own these steps; process-wide.
std::array<void (*)(), static_cast<size_t>(StartupStep::kCount)> gSteps{};

void runStep(StartupStep step) {
    if (auto run = gSteps[static_cast<size_t>(step)]) run();
}

// The project table: n, n class descriptor addresses, m, m item addresses.
struct ProjectTableView {
    int32_t classCount;
    const uint32_t* classes;
    int32_t itemCount;
    const uint32_t* items;
};

ProjectTableView viewProjectTable(const uint32_t* table) {
    ProjectTableView view{};
    if (!table) return view;
    view.classCount = static_cast<int32_t>(table[0]);
    view.classes = table + 1;
    view.itemCount = static_cast<int32_t>(table[1 + view.classCount]);
    view.items = table + 2 + view.classCount;
    return view;
}

[[noreturn]] void refuseToStart(const std::string& message) {
    showFatalMessage(message.c_str());
    ExitProcess(kExitLoadFailure);
}

// Fills the class table and the interface tables; returns the application
// class. Nothing it allocates outlives it: compiled code runs only later.
ClassRecord* readClasses(const ProjectTableView& project) {
    const ClassTableResult classes = readClassDescriptors(project.classes, project.classCount);
    if (!classes.ok()) refuseToStart(missingClassMessage(classes.missingClass));
    buildInterfaceTables();
    return chooseApplicationClass(classes);
}

}  // namespace

void setStartupStep(StartupStep step, void (*run)()) { gSteps[static_cast<size_t>(step)] = run; }

std::string missingClassMessage(std::string_view className) {
    return "The application could not be started because the class " + std::string(className) +
           " could not be found.";
}

}  // namespace runtime

using namespace runtime;

void RuntimeInit(const uint32_t* projectTable) {
    installWindowSubsystem();
    runStep(StartupStep::kRegisterWindowClasses);
    OleInitialize(nullptr);
    defineBuiltinClasses();
    defineWindowProperties();
    defineControlClasses();
    defineEditFieldClass();
    defineListboxClass();
    definePopupMenuClass();
    runStep(StartupStep::kInstallPlugins);
    createSystemObject();
    runStep(StartupStep::kBindDeferredImports);

    const ProjectTableView project = viewProjectTable(projectTable);
    ClassRecord* applicationClass = readClasses(project);
    // From here compiled code runs (initialisers, handlers): no owning locals.
    readProjectItems(project.items, project.itemCount);
    if (applicationSettings().mdiFrame) runStep(StartupStep::kCreateFrameWindow);

    setApplicationObject(ObjectRef::adopt(newObject(applicationClass)));
    deliverEvent(applicationObject(), builtinEvent("Application", "Open"));
}
