// Builds the four blocks of an application image from compiled i386 COFF
// objects and a project description: places code and data sections, resolves
// symbols, turns every call of an undefined routine into an import chain,
// every code reference to data into a data reference and every address word in
// data into the relocation stream. Whatever the image cannot express is refused
// with a message that names the object, section, offset and symbol.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "CoffObject.h"
#include "ProjectDescription.h"

namespace imagetool {

enum class BlockKind { Code, Data };

// Where one input section went.
struct PlacedSection {
    size_t object;   // index into the objects given
    size_t section;  // index into that object's sections
    BlockKind block;
    uint32_t offset;  // in code1 or data1
    uint32_t size;
};

struct BuiltImage {
    std::vector<uint8_t> code1;
    std::vector<uint8_t> code2;
    std::vector<uint8_t> data1;
    std::vector<uint8_t> data2;
    std::vector<PlacedSection> placements;
    std::vector<std::string> imports;  // the imported names, in code2 order
    std::map<std::string, uint32_t> generatedSymbols;  // structures the tool made: symbol -> data1 offset
};

// Padding between code sections: a breakpoint, should execution ever slide in.
inline constexpr uint8_t kCodePadding = 0xCC;

BuiltImage buildImage(const std::vector<CoffObject>& objects, const ProjectDescription& project);

}  // namespace imagetool
