// The plug-in libraries that travel in data1: a chain of records {next,
// size, reserved, name length, name, library bytes}. Every record, its name
// and its library must lie inside data1, and the chain is walked a bounded
// number of steps; a record that breaks a rule ends the walk (the libraries
// before it are kept).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace runtime::plugins {

struct EmbeddedPlugin {
    std::string fileName;
    std::span<const uint8_t> library;
};

struct EmbeddedPluginList {
    std::vector<EmbeddedPlugin> plugins;
    std::string problem;  // empty when the whole chain was sound
};

// `data` is data1 as placed at address `dataBase`; `first` the address of the
// first record (0: no plug-ins).
EmbeddedPluginList readEmbeddedPluginList(std::span<const uint8_t> data, uint32_t dataBase, uint32_t first);

}  // namespace runtime::plugins
