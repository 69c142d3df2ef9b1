#include "loader/EmbeddedPluginList.h"

#include "UnalignedAccess.h"
#include "glue/PluginRecords.h"

namespace runtime::plugins {
namespace {

// More records than this cannot be a real list (and a cycle cannot hang).
constexpr size_t kMaxPlugins = 64;
constexpr uint32_t kSizeFieldBytes = 4;  // the size word counts itself, less the reserved word

std::string hex(uint32_t value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) text += digits[(value >> shift) & 0xF];
    return text;
}

}  // namespace

EmbeddedPluginList readEmbeddedPluginList(std::span<const uint8_t> data, uint32_t dataBase, uint32_t first) {
    EmbeddedPluginList list;
    uint32_t address = first;
    while (address != 0) {
        if (list.plugins.size() == kMaxPlugins) {
            list.problem = "the plug-in list has more than 64 records";
            break;
        }
        const uint32_t offset = address - dataBase;
        if (address < dataBase || offset > data.size() || data.size() - offset < kEmbeddedPluginNameOffset) {
            list.problem = "the plug-in record at " + hex(address) + " lies outside data1";
            break;
        }
        const uint8_t* record = data.data() + offset;
        const uint32_t next = loadUnaligned<uint32_t>(record);
        const uint32_t size = loadUnaligned<uint32_t>(record, 4);
        const uint8_t nameLength = record[12];
        const uint64_t end = uint64_t{offset} + kSizeFieldBytes + kSizeFieldBytes + size;  // reserved word not counted
        if (nameLength == 0 || size < kSizeFieldBytes + 1u + nameLength || end > data.size()) {
            list.problem = "the plug-in record at " + hex(address) + " has a length that does not fit data1";
            break;
        }
        const char* name = reinterpret_cast<const char*>(record + kEmbeddedPluginNameOffset);
        const uint8_t* library = record + kEmbeddedPluginNameOffset + nameLength;
        const size_t libraryLength = size - kSizeFieldBytes - 1u - nameLength;
        list.plugins.push_back({std::string(name, nameLength), {library, libraryLength}});
        address = next;
    }
    return list;
}

}  // namespace runtime::plugins
