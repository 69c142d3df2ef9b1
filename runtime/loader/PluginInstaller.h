// Installing the plug-ins carried by the image: each library is written out
// as a DLL file, loaded by its full path and asked to register itself.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

#include "glue/PluginRecords.h"
#include "loader/EmbeddedPluginList.h"

namespace runtime::plugins {

// Remembers the address of the embedded list (Win32InstallPlugins).
void setEmbeddedPluginList(uint32_t address);

// Writes, loads and registers every embedded plug-in, then completes the
// plug-in classes. Each library goes to the first of the system directory, the
// Windows directory and the per-user plug-in folder where its file then holds
// exactly its bytes (an existing file with other bytes is never replaced,
// except an older copy in the per-user folder) and is loaded by that full
// path. A library that cannot be placed, loaded or lacks its entry is skipped;
// a damaged list refuses the start with a message.
void installPlugins();

// The resolver handed to every plug-in: the runtime entry table by name,
// case-insensitive; 0 for an unknown name.
RUNTIME_CALL void* resolveRuntimeName(const char* name);

}  // namespace runtime::plugins
