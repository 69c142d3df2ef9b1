// The plug-in host: the records of the loaded plug-ins and of everything they
// registered (global methods, control classes, plain classes), the
// registration routines' cores, and the lookups that the linker's deferred
// binding, class lookups by name and plug-in calls use.
#pragma once

#include <cstdint>
#include <string_view>

#include "glue/PluginRecords.h"
#include "objects/ClassRecord.h"

namespace runtime::plugins {

// One per loaded library, for the life of the process, newest first.
struct PluginRecord {
    void* const* exports = nullptr;  // RegisterPluginExports' table
    int32_t reserved[2] = {-1, -1};
    int32_t version = 1;  // until RegisterPluginVersion
    int32_t processSetting = 0;
    PluginRecord* next = nullptr;
};

// A control class: the class record, then what the host keeps of the definition.
struct PluginControlClass {
    ClassRecord* record;
    PluginControlDefinition* definition;
    void* const* behaviour;
    PluginRecord* plugin;
    PluginControlClass* next;
};

struct PluginClass {
    enum class Completion : uint8_t { Pending, Running, Done };
    ClassRecord* record;
    PluginClassDefinition* definition;
    PluginRecord* plugin;
    void* initialiser;
    void* finaliser;
    PluginClass* next;
    Completion completion = Completion::Pending;
};

struct GlobalMethod {
    const PluginMethodDefinition* definition;
    PluginRecord* plugin;
    GlobalMethod* next;
};

// Where the private data of a plug-in control starts; the word before it
// holds the instance's plug-in control class.
constexpr int32_t kControlDataOffset = 92;
constexpr int32_t kControlClassWordOffset = 88;
constexpr int32_t kPlainClassDataOffset = 24;

// Runs `main` with a new plug-in record as the current plug-in.
void runPluginMain(PluginMainRoutine main, PluginResolver resolver);

void registerPluginVersion(int32_t version);
void registerPluginExports(const PluginExports* exports);
void registerMethod(const void* definition);
void registerControl(void* definition);
void registerClass(PluginClassDefinition* definition);
void registerClassExtension(PluginClassDefinition* definition);

// Completes every class of PluginRegisterClass, newest first (after all
// plug-ins are installed); a plug-in superclass is always completed before its
// subclasses, so their private data starts after all of the superclass's.
void completePluginClasses();

// Lookups by name (case-insensitive).
ClassRecord* findControlClass(std::string_view name);
ClassRecord* findPlainClass(std::string_view name);
// Built-in, then plug-in control, then plug-in class (the order of class descriptors).
ClassRecord* findAnyClass(std::string_view name);

// The routine for a deferred import's member text (kind letter first, as
// "MBevelButton!AddRow(text As String)"), or null.
void* resolvePluginMember(std::string_view memberText);

// The plug-in control class of an instance (its class or a superclass), or null.
const PluginControlClass* pluginControlClassOf(ObjectHandle instance);

const PluginRecord* firstPlugin();
const GlobalMethod* firstGlobalMethod();
const PluginControlClass* firstControlClass();
const PluginClass* firstPlainClass();

// Makes the interface classes the plug-in interface relies on
// ("actionNotificationReceiver" with PerformAction, "ActionSource") when the
// built-in classes lack them.
void definePluginInterfaces();

}  // namespace runtime::plugins
