// The runtime entry routines of the plug-in host interface: installation,
// registration, instances, events and interfaces, and the reference services
// plug-ins use.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "glue/PluginRecords.h"
#include "objects/ClassRecord.h"

RUNTIME_ENTRY void Win32InstallPlugins(const void* embeddedList);
RUNTIME_ENTRY void RegisterPluginVersion(int32_t version);
RUNTIME_ENTRY void RegisterPluginExports(const PluginExports* exports);
RUNTIME_ENTRY void PluginRegisterMethod(const void* definition);
RUNTIME_ENTRY void PluginRegisterControl(void* definition);
RUNTIME_ENTRY void PluginRegisterClass(PluginClassDefinition* definition);
RUNTIME_ENTRY void PluginRegisterClassExtension(PluginClassDefinition* definition);
RUNTIME_ENTRY ObjectHandle PluginNewInstance(const char* className);
RUNTIME_ENTRY CodeAddress GetEventInstance(ObjectHandle instance, const EventDescriptor* event);
RUNTIME_ENTRY CodeAddress GetEventInstancePPC(void* instance, void* event);
RUNTIME_ENTRY CodeAddress GetInterfaceRoutine(ObjectHandle object, const char* interfaceName, const char* methodName);
RUNTIME_ENTRY void VELMLockObject(ObjectHandle object);
RUNTIME_ENTRY void VELMUnlockObject(ObjectHandle object);
// Defaults for plug-in controls: "System" at the system's size (0), caption "Untitled".
RUNTIME_ENTRY StringHandle PluginDefaultControlFont();
RUNTIME_ENTRY int32_t PluginDefaultControlFontSize();
RUNTIME_ENTRY StringHandle PluginDefaultControlCaption();
// The character set of the ANSI code page, for fonts that plug-ins create.
RUNTIME_ENTRY int32_t VELMGetWin32Charset();
