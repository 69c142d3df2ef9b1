// What application code compiled into the image calls: the runtime's routines
// (bound by name when the image is linked), routines of Windows libraries and
// members of plug-in classes. Include this instead of any runtime header.
//
// The runtime's entry headers are plain declarations (cdecl, extern "C") that
// compile freestanding, so application code shares them with the runtime and
// the two can never disagree on a signature. Each family's header is listed
// here as it joins the runtime entry table.
#pragma once

#include <cstdint>

#include "comm/SerialEntries.h"
#include "comm/SocketEntries.h"
#include "files/FolderItemEntries.h"
#include "files/StreamEntries.h"
#include "objects/LoopEntries.h"
#include "objects/ObjectEntries.h"
#include "loader/PluginEntries.h"
#include "objects/RuntimeStartup.h"
#include "objects/WindowInstantiation.h"
#include "text/MathEntries.h"
#include "text/NumberEntries.h"
#include "text/StringEntries.h"
#include "text/StringFunctionEntries.h"
#include "text/UserAlerts.h"
#include "ui/Timer.h"
#include "ui/WindowEntries.h"
// Controls: the pane base and the simple controls
#include "ui/controls/SimpleControlEntries.h"
#include "ui/controls/EditFieldEntries.h"
#include "ui/lists/ListboxEntries.h"
#include "ui/lists/PopupMenuEntries.h"

// The project table that the image tool makes from the project description
// (data1 word 1 points at it too): what the entry routine hands RuntimeInit.
extern "C" const uint32_t ProjectTable[];
// The list of plug-ins the image carries (from the project's "plugin" lines):
// what the entry routine hands Win32InstallPlugins before RuntimeInit.
extern "C" const uint32_t PluginList[];

// The link name of a routine of a Windows library, for a declaration such as
//   extern "C" WINAPI_IMPORT unsigned GetTickCount_() APP_LIBRARY_IMPORT("kernel32.dll", "GetTickCount");
// The image links it as "!Xkernel32.dll!GetTickCount"; a missing library or
// routine refuses the start with a message.
#define APP_LIBRARY_IMPORT(library, routine) __asm__("\"!X" library "!" routine "\"")

// The link name of a member of a plug-in class or a global plug-in method:
// kind "M" (a method's first routine), "W" (its second), "G" (a property
// getter) or "S" (a setter), then "Class!member text" or the member text alone:
//   extern "C" void AddRow(void* self, StringHandle text)
//       APP_PLUGIN_MEMBER("M", "BevelButton!AddRow(text As String)");
// The text cannot contain a double quote.
#define APP_PLUGIN_MEMBER(kind, text) __asm__("\"!" kind text "\"")

// Windows routines use the stdcall convention.
#define WINAPI_IMPORT __attribute__((stdcall))
