#include "loader/PluginEntries.h"

#include <windows.h>

#include "loader/PluginHost.h"
#include "loader/PluginInstaller.h"
#include "objects/EventLookup.h"
#include "objects/InterfaceTables.h"
#include "objects/ObjectLifetime.h"
#include "objects/UnwindScope.h"
#include "text/CaseFold.h"
#include "text/EntryGuard.h"
#include "text/StringValue.h"
#include "ui/FontCache.h"

using namespace runtime;
using namespace runtime::plugins;

void Win32InstallPlugins(const void* embeddedList) {
    setEmbeddedPluginList(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(embeddedList)));
}

// The registration routines are called from inside a plug-in: whatever they
// allocate fails into the out-of-memory path, never as a C++ exception through
// the plug-in's frames.
void RegisterPluginVersion(int32_t version) { registerPluginVersion(version); }
void RegisterPluginExports(const PluginExports* exports) { registerPluginExports(exports); }
void PluginRegisterMethod(const void* definition) {
    guardedEntry([&] { registerMethod(definition); });
}
void PluginRegisterControl(void* definition) {
    guardedEntry([&] { registerControl(definition); });
}
void PluginRegisterClass(PluginClassDefinition* definition) {
    guardedEntry([&] { registerClass(definition); });
}
void PluginRegisterClassExtension(PluginClassDefinition* definition) {
    guardedEntry([&] { registerClassExtension(definition); });
}

ObjectHandle PluginNewInstance(const char* className) {
    if (!className) return nullptr;
    return guardedEntry([&]() -> ObjectHandle {
        ClassRecord* cls = findAnyClass(className);
        return cls && !cls->isInterface ? newObject(cls) : nullptr;
    });
}

CodeAddress GetEventInstance(ObjectHandle instance, const EventDescriptor* event) {
    // While an exception is held no handler may run: the plug-in would call it.
    if (!instance || !event || !compiledCodeMayRun()) return nullptr;
    return findHandler(instance->classRecord, event).code;
}

CodeAddress GetEventInstancePPC(void*, void*) { return nullptr; }

CodeAddress GetInterfaceRoutine(ObjectHandle object, const char* interfaceName, const char* methodName) {
    if (!object || !interfaceName || !methodName) return nullptr;
    const ClassRecord* iface = findAnyClass(interfaceName);
    if (!iface || !iface->isInterface) return nullptr;
    for (const MethodRecord* m = iface->methods; m; m = m->next) {
        if (foldedEquals(viewOf(m->name), methodName)) {
            return m->interfaceOrdinal ? interfaceRoutine(object->classRecord, iface, m->interfaceOrdinal) : nullptr;
        }
    }
    return nullptr;
}

void VELMLockObject(ObjectHandle object) { lockObject(object); }
void VELMUnlockObject(ObjectHandle object) { unlockObject(object); }

StringHandle PluginDefaultControlFont() { return StringValue::fromCString("System").release(); }
int32_t PluginDefaultControlFontSize() { return 0; }
StringHandle PluginDefaultControlCaption() { return StringValue::fromCString("Untitled").release(); }

// The character set of the runtime's own fonts, which follows the
// application's script rather than the system's code page: the plug-in's
// controls then show the application's text as the runtime's controls do.
int32_t VELMGetWin32Charset() { return runtime::scriptCharacterSet(runtime::applicationScript()); }
