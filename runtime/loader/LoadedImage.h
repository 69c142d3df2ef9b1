// The application image once it is in memory: code1 in executable pages (the
// code base), data1 (the data base), both at a fixed place until the process
// ends, and the plug-in member imports that wait for the deferred binding.
#pragma once

#include <cstdint>
#include <functional>

#include "loader/ImageContainer.h"
#include "loader/ImageLinker.h"
#include "loader/LoadResult.h"
#include "text/StringValue.h"

namespace runtime {

// Places the blocks, links code1 through `binder`, relocates data1 and checks
// that data1 word 0 names a routine in code1. Called once per process.
loader::LoadResult installImage(loader::ImageBlocks blocks, loader::ImportBinder& binder);

// Calls the entry routine (data1 word 0) of an installed image.
void callApplicationEntry();

// The anchors of the installed image (null and 0 before).
uint8_t* imageCodeBase();
uint32_t imageCodeSize();
uint8_t* imageDataBase();
uint32_t imageDataSize();

// Finds the routine of a plug-in member from its text (the import name without
// its "!", kind letter first, such as "MBevelButton!AddRow(text As String)"),
// or null when nothing matches.
using PluginMemberResolver = std::function<void*(const StringValue& memberText)>;

// Binds the deferred plug-in imports, newest first. A member that `resolve`
// cannot find is bound to a trap that reports it when it is called. The list
// is empty afterwards.
void bindDeferredPluginImports(const PluginMemberResolver& resolve);
size_t deferredPluginImportCount();

}  // namespace runtime
