#include "loader/EmbeddedPluginList.h"

#include <algorithm>
#include <unordered_set>

#include "UnalignedAccess.h"
#include "glue/PluginRecords.h"

namespace runtime::plugins {
namespace {

// More records than this cannot be a real list.
constexpr size_t kMaxPlugins = 64;
constexpr uint32_t kWordBytes = 4;  // the size word counts itself, less the reserved word

std::string hex(uint32_t value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) text += digits[(value >> shift) & 0xF];
    return text;
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

// Names that the system maps to devices whatever their extension.
bool isDeviceName(std::string_view stem) {
    for (std::string_view device : {"con", "prn", "aux", "nul", "clock$", "conin$", "conout$"}) {
        if (equalsIgnoringCase(stem, device)) return true;
    }
    if (stem.size() == 4 && (equalsIgnoringCase(stem.substr(0, 3), "com") || equalsIgnoringCase(stem.substr(0, 3), "lpt"))) {
        return stem[3] >= '0' && stem[3] <= '9';
    }
    return false;
}

bool isNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '.';
}

EmbeddedPluginList damaged(std::string problem) {
    EmbeddedPluginList list;
    list.problem = std::move(problem);
    return list;
}

}  // namespace

bool isPlainLibraryName(std::string_view name) {
    constexpr std::string_view kExtension = ".dll";
    if (name.size() <= kExtension.size() || !equalsIgnoringCase(name.substr(name.size() - kExtension.size()), kExtension)) {
        return false;
    }
    if (!std::all_of(name.begin(), name.end(), isNameCharacter)) return false;
    if (name.front() == '.' || name.find("..") != std::string_view::npos) return false;
    const std::string_view stem = name.substr(0, name.find('.'));
    return !isDeviceName(stem);
}

EmbeddedPluginList readEmbeddedPluginList(std::span<const uint8_t> data, uint32_t dataBase, uint32_t first) {
    EmbeddedPluginList list;
    std::unordered_set<uint32_t> visited;
    for (uint32_t address = first; address != 0;) {
        const std::string where = "the plug-in record at " + hex(address);
        if (!visited.insert(address).second) return damaged("the plug-in list returns to the record at " + hex(address));
        if (list.plugins.size() == kMaxPlugins) return damaged("the plug-in list has more than 64 records");
        const uint32_t offset = address - dataBase;
        if (address < dataBase || offset > data.size() || data.size() - offset < kEmbeddedPluginNameOffset) {
            return damaged(where + " lies outside data1");
        }
        const uint8_t* record = data.data() + offset;
        const uint32_t next = loadUnaligned<uint32_t>(record);
        const uint32_t size = loadUnaligned<uint32_t>(record, 4);
        const uint8_t nameLength = record[12];
        const uint64_t end = uint64_t{offset} + kWordBytes + kWordBytes + size;  // reserved word not counted
        if (nameLength == 0 || size <= kWordBytes + 1u + nameLength || end > data.size()) {
            return damaged(where + " has a length that does not fit data1");
        }
        const std::string name(reinterpret_cast<const char*>(record + kEmbeddedPluginNameOffset), nameLength);
        if (!isPlainLibraryName(name)) return damaged(where + " names a file that is not a plain library name");
        const uint8_t* library = record + kEmbeddedPluginNameOffset + nameLength;
        const size_t libraryLength = size - kWordBytes - 1u - nameLength;
        list.plugins.push_back({name, {library, libraryLength}});
        address = next;
    }
    return list;
}

}  // namespace runtime::plugins
