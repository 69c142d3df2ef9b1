// The plug-in libraries that travel in data1: a chain of records {next,
// size, reserved, name length, name, library bytes}. Every record, its name
// and its library must lie inside data1, the name must be a plain library
// file name, and the chain must end without visiting a record twice. The list
// is taken whole or not at all: a record that breaks a rule makes the whole
// list damaged, and the runtime refuses to start rather than install part of
// it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace runtime::plugins {

struct EmbeddedPlugin {
    std::string fileName;
    std::span<const uint8_t> library;
};

struct EmbeddedPluginList {
    std::vector<EmbeddedPlugin> plugins;  // empty when the list is damaged
    std::string problem;                  // empty when the whole chain was sound
};

// `data` is data1 as placed at address `dataBase`; `first` the address of the
// first record (0: no plug-ins).
EmbeddedPluginList readEmbeddedPluginList(std::span<const uint8_t> data, uint32_t dataBase, uint32_t first);

// True for a plain library file name such as "velmap1.dll": letters, digits,
// "_", "-" and inner dots, ending in ".dll", no path, no drive, no "..", and
// not a device name. Only such names are ever written into a folder.
bool isPlainLibraryName(std::string_view name);

}  // namespace runtime::plugins
