#include "ImageBuilder.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>

#include "ProjectStructures.h"
#include "RelocationStreamWriter.h"
#include "ToolError.h"
#include "loader/ImageFormat.h"

namespace imagetool {
namespace {

enum class Fate { Code, Data, Discard };

// The largest alignment a section may ask for: the runtime places code1 and
// data1 at page boundaries.
constexpr uint32_t kMaxAlignment = 4096;
constexpr uint8_t kComdatNoDuplicates = 1;
constexpr const char* kProjectTableSymbol = "_ProjectTable";
constexpr const char* kPluginListSymbol = "_PluginList";

std::string hex(uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

uint32_t alignUp(uint32_t value, uint32_t alignment) { return (value + alignment - 1) / alignment * alignment; }

bool hasPrefix(std::string_view name, std::string_view base) {
    return name == base || name.starts_with(std::string(base) + "$") || name.starts_with(std::string(base) + ".");
}

// Why a section that cannot be placed is there, where the reason is known.
std::string_view placementHint(std::string_view name) {
    if (hasPrefix(name, ".eh_frame")) return " (unwind tables: compile with -fno-asynchronous-unwind-tables)";
    if (hasPrefix(name, ".ctors") || hasPrefix(name, ".dtors") || name.starts_with(".CRT") ||
        hasPrefix(name, ".init_array")) {
        return " (global objects with constructors or destructors: use constexpr or constinit)";
    }
    if (hasPrefix(name, ".tls")) return " (thread-local storage is not supported)";
    if (hasPrefix(name, ".idata")) return " (call library routines through \"!X\" imports)";
    return "";
}

// The name a call of an undefined routine imports, or nothing when the symbol
// cannot be an import. C names carry a leading "_" in COFF; quoted assembler
// labels ("!X...", "!M...") stand as written.
std::optional<std::string> importNameOf(const std::string& symbol) {
    if (symbol.starts_with('!')) return symbol;
    if (symbol.size() >= 2 && symbol[0] == '_' && symbol[1] != '_' && symbol.find('@') == std::string::npos) {
        return symbol.substr(1);
    }
    return std::nullopt;
}

std::string_view notAnImportHint(const std::string& symbol) {
    static const std::set<std::string, std::less<>> kLibraryRoutines{"_memcpy", "_memmove", "_memset", "_memcmp",
                                                                     "_strlen", "_abort"};
    if (symbol.starts_with("__Z")) return " (a C++ function that no object defines)";
    if (symbol.starts_with("___")) return " (a compiler helper: define it in the application's own code)";
    if (kLibraryRoutines.contains(symbol)) return " (a C library routine: define it in the application's own code)";
    if (symbol.find('@') != std::string::npos) return " (imports use the cdecl C names of extern \"C\" declarations)";
    return "";
}

struct Definition {
    size_t object;
    int16_t section;  // 1-based, or kSymAbsolute
    uint32_t value;
};

// A relocation's target, resolved.
struct Target {
    enum class Kind { Code, Data, Absolute, Import };
    Kind kind;
    uint32_t value;  // offset in code1 / data1, or the absolute value
    std::string symbol;
    std::string import;
};

// A place in an input section, for messages: "fixture.o: .text+0x1C".
struct Site {
    size_t object;
    size_t section;
    uint32_t offset;
};

class Builder {
public:
    Builder(const std::vector<CoffObject>& objects, const ProjectDescription& project)
        : objects_(objects), project_(project) {}

    BuiltImage build() {
        classifySections();
        defineSymbols();
        placeSections();
        placeCommons();
        placeProjectTable();
        placePluginList();
        for (size_t o = 0; o < objects_.size(); ++o) {
            for (size_t s = 0; s < objects_[o].sections.size(); ++s) {
                if (place_[o][s]) applyRelocations(o, s);
            }
        }
        placeEntry();
        emitLinkRecords();
        image_.data2 = encodeRelocationStream(addressWords_);
        return std::move(image_);
    }

private:
    std::string where(const Site& site) const {
        const CoffObject& object = objects_[site.object];
        return object.path + ": " + object.sections[site.section].name + "+" + hex(site.offset);
    }

    [[noreturn]] void fail(const Site& site, const std::string& message) const {
        throw ToolError(where(site) + ": " + message);
    }

    Fate classify(const CoffObject& object, const CoffSection& section) const {
        const std::string& name = section.name;
        if (section.has(kScnLinkRemove) || section.has(kScnLinkInfo) || name.starts_with(".debug") ||
            section.has(kScnDiscardable)) {
            return Fate::Discard;
        }
        if (hasPrefix(name, ".text") && section.has(kScnCode)) return Fate::Code;
        if (hasPrefix(name, ".data") || hasPrefix(name, ".rdata") || hasPrefix(name, ".bss")) return Fate::Data;
        throw ToolError(object.path + ": section " + name + " cannot be placed in the image" +
                        std::string(placementHint(name)));
    }

    // Sections by their fate; of COMDAT sections with the same key only the
    // first is kept, and associative ones follow the section they belong to.
    void classifySections() {
        fate_.resize(objects_.size());
        std::set<std::string> comdatKeys;
        for (size_t o = 0; o < objects_.size(); ++o) {
            const CoffObject& object = objects_[o];
            for (const CoffSection& section : object.sections) fate_[o].push_back(classify(object, section));
            for (size_t s = 0; s < object.sections.size(); ++s) {
                if (fate_[o][s] == Fate::Discard || !object.sections[s].has(kScnComdat)) continue;
                const SectionDefinition* definition = object.sectionDefinition(s);
                if (!definition) throw ToolError(object.path + ": COMDAT section " + object.sections[s].name + " has no definition");
                if (definition->selection == kComdatAssociative) continue;
                const CoffSymbol* key = object.comdatSymbol(s);
                if (!key) throw ToolError(object.path + ": COMDAT section " + object.sections[s].name + " has no symbol");
                if (comdatKeys.insert(key->name).second) continue;
                if (definition->selection == kComdatNoDuplicates) {
                    throw ToolError(object.path + ": " + key->name + " is defined twice (COMDAT without duplicates)");
                }
                fate_[o][s] = Fate::Discard;
            }
            for (size_t s = 0; s < object.sections.size(); ++s) {
                const SectionDefinition* definition =
                    object.sections[s].has(kScnComdat) ? object.sectionDefinition(s) : nullptr;
                if (!definition || definition->selection != kComdatAssociative) continue;
                const size_t parent = definition->associatedSection;
                if (parent == 0 || parent > object.sections.size()) {
                    throw ToolError(object.path + ": section " + object.sections[s].name + " is associated with no section");
                }
                if (fate_[o][parent - 1] == Fate::Discard) fate_[o][s] = Fate::Discard;
            }
        }
    }

    void defineSymbols() {
        for (size_t o = 0; o < objects_.size(); ++o) {
            const CoffObject& object = objects_[o];
            for (const CoffSymbol& symbol : object.symbols) {
                if (symbol.isAuxiliary) continue;
                if (symbol.storageClass == kSymWeakExternal) {
                    throw ToolError(object.path + ": weak symbol " + symbol.name + " is not supported");
                }
                if (symbol.storageClass != kSymExternal) continue;
                if (symbol.section == kSymUndefined) {
                    if (symbol.value != 0) commonSizes_[symbol.name] = std::max(commonSizes_[symbol.name], symbol.value);
                    continue;
                }
                if (symbol.section > 0) {
                    const size_t s = static_cast<size_t>(symbol.section) - 1;
                    if (s >= object.sections.size()) {
                        throw ToolError(object.path + ": symbol " + symbol.name + " names a section that does not exist");
                    }
                    if (fate_[o][s] == Fate::Discard) continue;
                } else if (symbol.section != kSymAbsolute) {
                    continue;
                }
                auto [it, inserted] = globals_.emplace(symbol.name, Definition{o, symbol.section, symbol.value});
                if (!inserted) {
                    throw ToolError("symbol " + symbol.name + " is defined in " + objects_[it->second.object].path +
                                    " and again in " + object.path);
                }
            }
        }
        // A definition wins over a common of the same name.
        std::erase_if(commonSizes_, [this](const auto& common) { return globals_.contains(common.first); });
    }

    void placeSections() {
        image_.data1.assign(4 * image::kFixedDataWords, 0);
        place_.resize(objects_.size());
        for (size_t o = 0; o < objects_.size(); ++o) {
            const CoffObject& object = objects_[o];
            place_[o].resize(object.sections.size());
            for (size_t s = 0; s < object.sections.size(); ++s) {
                if (fate_[o][s] == Fate::Discard) continue;
                const CoffSection& section = object.sections[s];
                if (section.alignment() > kMaxAlignment) {
                    throw ToolError(object.path + ": section " + section.name + " asks for an alignment of " +
                                    std::to_string(section.alignment()) + " bytes; the image honours at most 4096");
                }
                const bool code = fate_[o][s] == Fate::Code;
                std::vector<uint8_t>& block = code ? image_.code1 : image_.data1;
                const uint32_t offset = alignUp(static_cast<uint32_t>(block.size()), section.alignment());
                block.resize(offset, code ? kCodePadding : 0);
                block.insert(block.end(), section.data.begin(), section.data.end());
                place_[o][s] = offset;
                image_.placements.push_back({o, s, code ? BlockKind::Code : BlockKind::Data, offset,
                                             static_cast<uint32_t>(section.data.size())});
            }
        }
    }

    void placeCommons() {
        for (const auto& [name, size] : commonSizes_) {
            const uint32_t alignment = std::min<uint32_t>(16, std::bit_ceil(size));
            const uint32_t offset = alignUp(static_cast<uint32_t>(image_.data1.size()), alignment);
            image_.data1.resize(offset + size, 0);
            commonOffsets_[name] = offset;
        }
    }

    // A structure the tool makes in data1, which code reaches by a symbol of
    // that name.
    void defineGenerated(const std::string& symbol, uint32_t offset) {
        if (auto it = globals_.find(symbol); it != globals_.end()) {
            throw ToolError(objects_[it->second.object].path + ": symbol " + symbol +
                            " is reserved for a structure the image tool makes");
        }
        image_.generatedSymbols[symbol] = offset;
    }

    // The project table with the class descriptors and project items the
    // description declares. Code passes it to RuntimeInit as ProjectTable.
    void placeProjectTable() {
        StructureTarget target{image_.data1, addressWords_,
                               [this](const SymbolReference& s) { return offsetOf(s, Fate::Code, "the function"); },
                               [this](const SymbolReference& s) { return offsetOf(s, Fate::Data, "the variable"); },
                               [this](const SymbolReference& s, uint32_t offset) { defineGenerated("_" + s.name, offset); }};
        const uint32_t offset = emitProjectStructures(project_, target);
        defineGenerated(kProjectTableSymbol, offset);
        image::writeU32(image_.data1.data() + image::kProjectTableWordOffset, offset);
        addressWords_.push_back({image::kProjectTableWordOffset, AddressBase::Data});
    }

    // The embedded plug-in list: one record per plug-in, chained by address
    // words that data2 relocates. Code passes it to Win32InstallPlugins as
    // PluginList (defined only when the description names plug-ins).
    void placePluginList() {
        if (project_.plugins.empty()) return;
        std::vector<uint8_t>& data = image_.data1;
        uint32_t previousNext = 0;
        bool first = true;
        for (const PluginDescription& plugin : project_.plugins) {
            data.resize(alignUp(static_cast<uint32_t>(data.size()), 4), 0);
            const auto record = static_cast<uint32_t>(data.size());
            if (first) {
                defineGenerated(kPluginListSymbol, record);
                first = false;
            } else {
                image::writeU32(data.data() + previousNext, record);
                addressWords_.push_back({previousNext, AddressBase::Data});
            }
            const auto nameLength = static_cast<uint32_t>(plugin.fileName.size());
            const auto size = static_cast<uint32_t>(4 + 1 + nameLength + plugin.library.size());
            data.resize(record + 13, 0);
            image::writeU32(data.data() + record + 4, size);
            data[record + 12] = static_cast<uint8_t>(nameLength);
            data.insert(data.end(), plugin.fileName.begin(), plugin.fileName.end());
            data.insert(data.end(), plugin.library.begin(), plugin.library.end());
            previousNext = record;
        }
    }

    // The code1 or data1 offset of a symbol the description names.
    uint32_t offsetOf(const SymbolReference& reference, Fate expected, std::string_view label) const {
        const std::string named = std::string(label) + " " + reference.name;
        const std::string symbol = "_" + reference.name;
        if (expected == Fate::Data) {
            if (auto it = commonOffsets_.find(symbol); it != commonOffsets_.end()) return it->second;
        }
        auto it = globals_.find(symbol);
        if (it == globals_.end()) failAt(reference.where, named + " is not defined by the objects");
        const Definition& definition = it->second;
        if (definition.section <= 0 ||
            fate_[definition.object][static_cast<size_t>(definition.section) - 1] != expected) {
            failAt(reference.where, named + (expected == Fate::Code ? " is not code" : " is not data"));
        }
        return *place_[definition.object][static_cast<size_t>(definition.section) - 1] + definition.value;
    }

    void placeEntry() {
        const uint32_t offset = offsetOf(project_.entry, Fate::Code, "the entry routine");
        image::writeU32(image_.data1.data() + image::kEntryWordOffset, offset);
        addressWords_.push_back({image::kEntryWordOffset, AddressBase::Code});
    }

    Target targetOf(const Definition& definition, const std::string& symbol) const {
        if (definition.section == kSymAbsolute) return {Target::Kind::Absolute, definition.value, symbol, {}};
        const size_t s = static_cast<size_t>(definition.section) - 1;
        const Target::Kind kind = fate_[definition.object][s] == Fate::Code ? Target::Kind::Code : Target::Kind::Data;
        return {kind, *place_[definition.object][s] + definition.value, symbol, {}};
    }

    Target resolveGlobal(const Site& site, const std::string& symbol) const {
        if (auto it = globals_.find(symbol); it != globals_.end()) return targetOf(it->second, symbol);
        if (auto it = image_.generatedSymbols.find(symbol); it != image_.generatedSymbols.end()) {
            return {Target::Kind::Data, it->second, symbol, {}};
        }
        if (auto it = commonOffsets_.find(symbol); it != commonOffsets_.end()) {
            return {Target::Kind::Data, it->second, symbol, {}};
        }
        const std::optional<std::string> import = importNameOf(symbol);
        if (!import) fail(site, "\"" + symbol + "\" is undefined and is not an import" + std::string(notAnImportHint(symbol)));
        return {Target::Kind::Import, 0, symbol, *import};
    }

    // A name for what a relocation against a section symbol reaches: the symbol
    // defined at that place, or the section and offset.
    std::string nameAt(const CoffObject& object, int16_t section, uint32_t offset) const {
        for (const CoffSymbol& symbol : object.symbols) {
            if (!symbol.isAuxiliary && !symbol.definition && symbol.section == section && symbol.value == offset) {
                return symbol.name;
            }
        }
        return object.sections[static_cast<size_t>(section) - 1].name + "+" + hex(offset);
    }

    Target resolve(const Site& site, uint32_t index, uint32_t addend) const {
        const CoffObject& object = objects_[site.object];
        if (index >= object.symbols.size() || object.symbols[index].isAuxiliary) {
            fail(site, "the relocation refers to symbol index " + std::to_string(index) + ", which does not exist");
        }
        const CoffSymbol& symbol = object.symbols[index];
        if (symbol.section > 0) {
            const size_t s = static_cast<size_t>(symbol.section) - 1;
            if (s < object.sections.size() && place_[site.object][s]) {
                const Definition local{site.object, symbol.section, symbol.value};
                return targetOf(local, symbol.definition ? nameAt(object, symbol.section, addend) : symbol.name);
            }
            if (symbol.storageClass == kSymExternal) return resolveGlobal(site, symbol.name);
            fail(site, "\"" + symbol.name + "\" lies in a section that is not placed in the image");
        }
        if (symbol.section == kSymAbsolute) return {Target::Kind::Absolute, symbol.value, symbol.name, {}};
        if (symbol.section == kSymUndefined) return resolveGlobal(site, symbol.name);
        fail(site, "the relocation refers to \"" + symbol.name + "\", which is no address");
    }

    void applyRelocations(size_t o, size_t s) {
        const CoffSection& section = objects_[o].sections[s];
        const bool inCode = fate_[o][s] == Fate::Code;
        std::vector<uint8_t>& block = inCode ? image_.code1 : image_.data1;
        for (const CoffRelocation& relocation : section.relocations) {
            const Site site{o, s, relocation.offset};
            if (relocation.type == kRelAbsolute) continue;
            if (relocation.offset > section.data.size() || section.data.size() - relocation.offset < 4) {
                fail(site, "the relocation lies outside its section");
            }
            const uint32_t at = *place_[o][s] + relocation.offset;
            const uint32_t addend = image::readU32(block.data() + at);
            const Target target = resolve(site, relocation.symbolIndex, addend);
            switch (relocation.type) {
            case kRelDir32: image::writeU32(block.data() + at, addend + absolute(site, target, inCode, at)); break;
            case kRelRel32: image::writeU32(block.data() + at, addend + relative(site, target, inCode, at)); break;
            default:
                fail(site, "relocation type " + hex(relocation.type) + " against \"" + target.symbol +
                               "\" is not supported");
            }
        }
    }

    // The value a DIR32 field gets added, noting what the loader must fix up.
    uint32_t absolute(const Site& site, const Target& target, bool inCode, uint32_t at) {
        switch (target.kind) {
        case Target::Kind::Absolute: return target.value;
        case Target::Kind::Import:
            fail(site, "the address of import \"" + target.import + "\" is taken; imports can only be called");
        case Target::Kind::Code:
            if (inCode) {
                fail(site, "the address of code symbol \"" + target.symbol +
                               "\" is taken inside code, which the image cannot express; keep code addresses in data");
            }
            addressWords_.push_back({at, AddressBase::Code});
            return target.value;
        case Target::Kind::Data:
            if (inCode) {
                dataReferences_.push_back(at);
            } else {
                addressWords_.push_back({at, AddressBase::Data});
            }
            return target.value;
        }
        return 0;
    }

    // The value a REL32 field gets added; import calls join their chain.
    uint32_t relative(const Site& site, const Target& target, bool inCode, uint32_t at) {
        if (!inCode) fail(site, "a relative reference to \"" + target.symbol + "\" in data cannot be expressed");
        switch (target.kind) {
        case Target::Kind::Code: return target.value - (at + 4);
        case Target::Kind::Import: {
            if (at == 0 || image_.code1[at - 1] != image::kCallOpcode || image::readU32(image_.code1.data() + at) != 0) {
                fail(site, "the call of import \"" + target.import + "\" is not a 5-byte E8 call");
            }
            auto [it, first] = importSites_.try_emplace(target.import);
            if (first) importOrder_.push_back(target.import);
            it->second.push_back(at);
            return 0;
        }
        case Target::Kind::Data:
        case Target::Kind::Absolute: break;
        }
        fail(site, "a relative reference to \"" + target.symbol + "\" cannot be expressed; only code and imports can be called");
    }

    void emitLinkRecords() {
        for (const std::string& name : importOrder_) {
            if (name.size() > image::kMaxImportNameLength) {
                throw ToolError("import \"" + name + "\" has a name longer than 255 bytes");
            }
            if (name.starts_with("!X") && name.find('!', 2) == std::string::npos) {
                throw ToolError("import \"" + name + "\" names a library but no routine (\"!Xlibrary!routine\")");
            }
            std::vector<uint32_t>& sites = importSites_[name];
            std::sort(sites.begin(), sites.end());
            for (size_t k = 0; k < sites.size(); ++k) {
                image::writeU32(image_.code1.data() + sites[k], k + 1 < sites.size() ? sites[k + 1] : 0);
            }
            std::vector<uint8_t>& code2 = image_.code2;
            code2.push_back(static_cast<uint8_t>(image::LinkRecordKind::Import));
            code2.resize(code2.size() + 4);
            image::writeU32(code2.data() + code2.size() - 4, sites.front());
            code2.push_back(static_cast<uint8_t>(name.size()));
            code2.insert(code2.end(), name.begin(), name.end());
            image_.imports.push_back(name);
        }
        std::sort(dataReferences_.begin(), dataReferences_.end());
        for (uint32_t offset : dataReferences_) {
            image_.code2.push_back(static_cast<uint8_t>(image::LinkRecordKind::DataReference));
            image_.code2.resize(image_.code2.size() + 4);
            image::writeU32(image_.code2.data() + image_.code2.size() - 4, offset);
        }
    }

    const std::vector<CoffObject>& objects_;
    const ProjectDescription& project_;
    std::vector<std::vector<Fate>> fate_;
    std::vector<std::vector<std::optional<uint32_t>>> place_;
    std::unordered_map<std::string, Definition> globals_;
    std::map<std::string, uint32_t> commonSizes_;
    std::map<std::string, uint32_t> commonOffsets_;
    std::map<std::string, std::vector<uint32_t>> importSites_;
    std::vector<std::string> importOrder_;  // by first call site met
    std::vector<uint32_t> dataReferences_;
    std::vector<AddressWord> addressWords_;
    BuiltImage image_;
};

}  // namespace

BuiltImage buildImage(const std::vector<CoffObject>& objects, const ProjectDescription& project) {
    return Builder(objects, project).build();
}

}  // namespace imagetool
