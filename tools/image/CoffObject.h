// i386 COFF object files as the mingw-w64 compiler and assembler write them
// (and as `ld -r` combines them): sections with their relocations, and the
// symbol table with long names and section definitions.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace imagetool {

// Relocation types of i386 COFF that application code produces.
enum CoffRelocationType : uint16_t {
    kRelAbsolute = 0x0000,  // no-op
    kRelDir32 = 0x0006,     // 32-bit address of the target
    kRelDir32NB = 0x0007,   // 32-bit image-relative address
    kRelSection = 0x000A,   // section index (debug information)
    kRelSecRel = 0x000B,    // offset within the section (debug information)
    kRelRel32 = 0x0014,     // 32-bit displacement from the end of the field
};

// Section characteristics the tool looks at.
enum CoffSectionFlag : uint32_t {
    kScnCode = 0x00000020,
    kScnInitializedData = 0x00000040,
    kScnUninitializedData = 0x00000080,
    kScnLinkInfo = 0x00000200,
    kScnLinkRemove = 0x00000800,
    kScnComdat = 0x00001000,
    kScnAlignMask = 0x00F00000,
    kScnRelocationOverflow = 0x01000000,
    kScnDiscardable = 0x02000000,
};

// Storage classes and special section numbers of symbols.
enum CoffStorageClass : uint8_t {
    kSymExternal = 2,
    kSymStatic = 3,
    kSymWeakExternal = 105,
};
inline constexpr int16_t kSymUndefined = 0;
inline constexpr int16_t kSymAbsolute = -1;

inline constexpr uint8_t kComdatAssociative = 5;

struct CoffRelocation {
    uint32_t offset;  // within the section
    uint32_t symbolIndex;
    uint16_t type;
};

struct CoffSection {
    std::string name;
    uint32_t characteristics = 0;
    std::vector<uint8_t> data;  // zeros for uninitialised data
    std::vector<CoffRelocation> relocations;

    // Alignment in bytes (1 when the object gives none).
    uint32_t alignment() const;
    bool has(uint32_t flag) const { return (characteristics & flag) != 0; }
};

// The auxiliary record of a section symbol.
struct SectionDefinition {
    uint32_t length;
    uint16_t associatedSection;  // 1-based, for associative COMDAT sections
    uint8_t selection;           // COMDAT selection
};

struct CoffSymbol {
    bool isAuxiliary = false;  // a slot of the table taken by the previous symbol's auxiliary record
    std::string name;
    uint32_t value = 0;
    int16_t section = 0;  // 1-based section number, or kSymUndefined / kSymAbsolute / -2 (debug)
    uint8_t storageClass = 0;
    uint8_t auxCount = 0;
    std::optional<SectionDefinition> definition;  // for section symbols
};

struct CoffObject {
    std::string path;
    std::vector<CoffSection> sections;  // sections[n - 1] is section number n
    std::vector<CoffSymbol> symbols;    // by symbol table index

    // The COMDAT symbol of a COMDAT section (the second symbol that names it),
    // or null.
    const CoffSymbol* comdatSymbol(size_t sectionIndex) const;
    // The definition record of a section (from its section symbol), or null.
    const SectionDefinition* sectionDefinition(size_t sectionIndex) const;
};

// Parses an object file; throws ToolError naming `path` when it is not a valid
// i386 COFF object.
CoffObject parseCoffObject(const std::string& path, std::span<const uint8_t> bytes);
CoffObject loadCoffObject(const std::string& path);

std::vector<uint8_t> readWholeFile(const std::string& path);

}  // namespace imagetool
