#include "CoffObject.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "ToolError.h"

namespace imagetool {
namespace {

constexpr uint16_t kMachineI386 = 0x014C;
constexpr size_t kFileHeaderSize = 20;
constexpr size_t kSectionHeaderSize = 40;
constexpr size_t kSymbolSize = 18;
constexpr size_t kRelocationSize = 10;

// Bounds-checked little-endian reads of the object's bytes.
class Reader {
public:
    Reader(const std::string& path, std::span<const uint8_t> bytes) : path_(path), bytes_(bytes) {}

    std::span<const uint8_t> at(uint64_t offset, uint64_t size, const char* what) const {
        if (offset > bytes_.size() || bytes_.size() - offset < size) {
            throw ToolError(path_ + ": not a valid object file: " + what + " lies outside the file");
        }
        return bytes_.subspan(static_cast<size_t>(offset), static_cast<size_t>(size));
    }
    uint16_t u16(uint64_t offset) const {
        auto b = at(offset, 2, "a header field");
        return static_cast<uint16_t>(b[0] | b[1] << 8);
    }
    uint32_t u32(uint64_t offset) const {
        auto b = at(offset, 4, "a header field");
        return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
    }
    [[noreturn]] void fail(const std::string& what) const {
        throw ToolError(path_ + ": not a valid object file: " + what);
    }

private:
    const std::string& path_;
    std::span<const uint8_t> bytes_;
};

// Names of up to 8 bytes stand in place; longer ones in the string table.
std::string fixedName(std::span<const uint8_t> field) {
    size_t n = 0;
    while (n < field.size() && field[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(field.data()), n);
}

class StringTable {
public:
    StringTable(const Reader& reader, uint64_t offset, bool present) : reader_(reader), offset_(offset) {
        if (present) size_ = reader.u32(offset);
    }
    std::string at(uint32_t offset) const {
        if (offset < 4 || offset >= size_) reader_.fail("a name lies outside the string table");
        auto rest = reader_.at(offset_ + offset, size_ - offset, "the string table");
        const auto* text = reinterpret_cast<const char*>(rest.data());
        const size_t length = strnlen(text, rest.size());
        if (length == rest.size()) reader_.fail("a name in the string table is not terminated");
        return std::string(text, length);
    }

private:
    const Reader& reader_;
    uint64_t offset_;
    uint32_t size_ = 0;
};

CoffSection readSection(const Reader& reader, const StringTable& strings, uint64_t header) {
    CoffSection section;
    const auto nameField = reader.at(header, 8, "a section header");
    section.name = fixedName(nameField);
    if (section.name.starts_with('/')) {
        char* end = nullptr;
        const unsigned long offset = std::strtoul(section.name.c_str() + 1, &end, 10);
        if (*end != '\0') reader.fail("section name " + section.name + " is malformed");
        section.name = strings.at(static_cast<uint32_t>(offset));
    }
    const uint32_t rawSize = reader.u32(header + 16);
    const uint32_t rawPointer = reader.u32(header + 20);
    const uint32_t relocationPointer = reader.u32(header + 24);
    uint32_t relocationCount = reader.u16(header + 32);
    section.characteristics = reader.u32(header + 36);
    if (section.has(kScnUninitializedData) || rawPointer == 0) {
        section.data.assign(rawSize, 0);
    } else {
        auto raw = reader.at(rawPointer, rawSize, ("the contents of section " + section.name).c_str());
        section.data.assign(raw.begin(), raw.end());
    }
    uint64_t first = relocationPointer;
    if (section.has(kScnRelocationOverflow) && relocationCount == 0xFFFF) {
        // The true count stands in the first relocation, which counts itself.
        relocationCount = reader.u32(relocationPointer);
        if (relocationCount == 0) reader.fail("section " + section.name + " has a malformed relocation count");
        --relocationCount;
        first += kRelocationSize;
    }
    reader.at(first, uint64_t{relocationCount} * kRelocationSize, ("the relocations of " + section.name).c_str());
    section.relocations.reserve(relocationCount);
    for (uint32_t i = 0; i < relocationCount; ++i) {
        const uint64_t entry = first + uint64_t{i} * kRelocationSize;
        section.relocations.push_back({reader.u32(entry), reader.u32(entry + 4), reader.u16(entry + 8)});
    }
    return section;
}

void readSymbols(const Reader& reader, const StringTable& strings, uint64_t table, uint32_t count, CoffObject& object) {
    object.symbols.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint64_t entry = table + uint64_t{i} * kSymbolSize;
        CoffSymbol& symbol = object.symbols[i];
        const auto nameField = reader.at(entry, 8, "a symbol");
        symbol.name = reader.u32(entry) == 0 ? strings.at(reader.u32(entry + 4)) : fixedName(nameField);
        symbol.value = reader.u32(entry + 8);
        symbol.section = static_cast<int16_t>(reader.u16(entry + 12));
        symbol.storageClass = reader.at(entry + 16, 1, "a symbol")[0];
        symbol.auxCount = reader.at(entry + 17, 1, "a symbol")[0];
        if (symbol.auxCount > count - i - 1) reader.fail("symbol " + symbol.name + " has auxiliary records past the table");
        // A section symbol is a static symbol with the section's own name and a
        // definition record; a static function at offset 0 has an auxiliary
        // record too, but of another kind.
        const bool sectionSymbol = symbol.storageClass == kSymStatic && symbol.auxCount >= 1 && symbol.value == 0 &&
                                   symbol.section > 0 && static_cast<size_t>(symbol.section) <= object.sections.size() &&
                                   symbol.name == object.sections[static_cast<size_t>(symbol.section) - 1].name;
        if (sectionSymbol) {
            const uint64_t aux = entry + kSymbolSize;
            symbol.definition = SectionDefinition{reader.u32(aux), reader.u16(aux + 12), reader.at(aux + 14, 1, "a symbol")[0]};
        }
        for (uint8_t a = 0; a < symbol.auxCount; ++a) object.symbols[i + 1 + a].isAuxiliary = true;
        i += symbol.auxCount;
    }
}

}  // namespace

uint32_t CoffSection::alignment() const {
    const uint32_t code = (characteristics & kScnAlignMask) >> 20;
    return code == 0 ? 1 : 1u << (code - 1);
}

const CoffSymbol* CoffObject::comdatSymbol(size_t sectionIndex) const {
    const auto number = static_cast<int16_t>(sectionIndex + 1);
    bool sawSectionSymbol = false;
    for (const CoffSymbol& symbol : symbols) {
        if (symbol.isAuxiliary || symbol.section != number) continue;
        if (sawSectionSymbol) return &symbol;
        sawSectionSymbol = symbol.definition.has_value();
    }
    return nullptr;
}

const SectionDefinition* CoffObject::sectionDefinition(size_t sectionIndex) const {
    const auto number = static_cast<int16_t>(sectionIndex + 1);
    for (const CoffSymbol& symbol : symbols) {
        if (!symbol.isAuxiliary && symbol.section == number && symbol.definition) return &*symbol.definition;
    }
    return nullptr;
}

CoffObject parseCoffObject(const std::string& path, std::span<const uint8_t> bytes) {
    const Reader reader(path, bytes);
    if (bytes.size() < kFileHeaderSize || reader.u16(0) != kMachineI386) {
        throw ToolError(path + ": not an i386 COFF object file");
    }
    const uint16_t sectionCount = reader.u16(2);
    const uint32_t symbolTable = reader.u32(8);
    const uint32_t symbolCount = reader.u32(12);
    const uint16_t optionalHeaderSize = reader.u16(16);
    const uint64_t stringTable = symbolTable + uint64_t{symbolCount} * kSymbolSize;
    const StringTable strings(reader, stringTable, symbolTable != 0);

    CoffObject object;
    object.path = path;
    const uint64_t headers = kFileHeaderSize + optionalHeaderSize;
    for (uint16_t i = 0; i < sectionCount; ++i) {
        object.sections.push_back(readSection(reader, strings, headers + uint64_t{i} * kSectionHeaderSize));
    }
    if (symbolTable != 0) readSymbols(reader, strings, symbolTable, symbolCount, object);
    return object;
}

std::vector<uint8_t> readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ToolError(path + ": cannot be opened");
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw ToolError(path + ": cannot be read");
    return bytes;
}

CoffObject loadCoffObject(const std::string& path) { return parseCoffObject(path, readWholeFile(path)); }

}  // namespace imagetool
