// Lays out in data1 what the project description declares: the project table,
// the class descriptors with their string constants, and the project items
// (menu bar and settings streams, pictures, global instances, resources) and
// the window layouts.
// Every address word it writes is recorded for the relocation stream.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "ProjectDescription.h"
#include "RelocationStreamWriter.h"

namespace imagetool {

struct StructureTarget {
    std::vector<uint8_t>& data1;
    std::vector<AddressWord>& addressWords;
    // The code1 offset of a function and the data1 offset of a variable;
    // each fails at the reference when the objects do not define it so.
    std::function<uint32_t(const SymbolReference&)> codeOffset;
    std::function<uint32_t(const SymbolReference&)> dataOffset;
    // Gives a window layout's symbol the data1 offset of the layout.
    std::function<void(const SymbolReference&, uint32_t)> defineLayout;
};

// Appends the structures to data1; returns the data1 offset of the project table.
uint32_t emitProjectStructures(const ProjectDescription& project, StructureTarget& target);

}  // namespace imagetool
