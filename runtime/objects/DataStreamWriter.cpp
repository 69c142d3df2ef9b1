#include "objects/DataStreamWriter.h"

namespace runtime {
namespace {

constexpr uint32_t kNoIndex = 0x80000000u;

void writeItemList(DataStreamWriter& out, const std::vector<MenuEntry>& items);

void writeItemRecord(DataStreamWriter& out, const MenuEntry& entry, bool submenuFollows) {
    out.writeVarint(entry.kind);
    out.writeString(entry.text);
    out.writeString(entry.name);
    out.writeVarint(entry.index ? *entry.index : static_cast<int32_t>(kNoIndex));
    out.writeString(entry.shortcut);
    out.writeString(entry.extra1);
    out.writeString(entry.extra2);
    out.writeByte(entry.flag);
    out.writeByte(submenuFollows ? 1 : 0);
    out.writeVarint(entry.classIndex);
}

void writeItemList(DataStreamWriter& out, const std::vector<MenuEntry>& items) {
    out.writeVarint(static_cast<int32_t>(items.size()));
    for (const MenuEntry& item : items) {
        const bool submenu = item.hasSubmenu || !item.items.empty();
        writeItemRecord(out, item, submenu);
        if (submenu) writeItemList(out, item.items);
    }
}

}  // namespace

void DataStreamWriter::writeVarint(int32_t value) {
    // 0x80000000 is written as its magnitude, without the sign.
    const bool negative = value < 0 && static_cast<uint32_t>(value) != 0x80000000u;
    uint32_t magnitude = negative ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    uint8_t first = static_cast<uint8_t>(magnitude & 0x3F) | (negative ? 0x40 : 0);
    magnitude >>= 6;
    if (magnitude) first |= 0x80;
    writeByte(first);
    while (magnitude) {
        uint8_t next = magnitude & 0x7F;
        magnitude >>= 7;
        if (magnitude) next |= 0x80;
        writeByte(next);
    }
}

void DataStreamWriter::writeString(std::string_view text) {
    writeVarint(static_cast<int32_t>(text.size()));
    bytes_.insert(bytes_.end(), text.begin(), text.end());
}

void DataStreamWriter::writeWord(uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) writeByte(static_cast<uint8_t>(value >> shift));
}

std::vector<uint8_t> encodeMenuBarStream(const MenuBarStream& bar) {
    DataStreamWriter out;
    out.writeVarint(static_cast<int32_t>(bar.menus.size()));
    for (const MenuEntry& menu : bar.menus) {
        writeItemRecord(out, menu, false);
        writeItemList(out, menu.items);
    }
    return out.bytes();
}

std::vector<uint8_t> encodeSettingsStream(const SettingsStream& settings) {
    DataStreamWriter out;
    out.writeByte(settings.firstByte);
    out.writeWord(settings.word1);
    out.writeWord(settings.word2);
    out.writeVarint(static_cast<int32_t>(settings.fileTypes.size()));
    for (const FileType& type : settings.fileTypes) {
        out.writeString(type.name);
        out.writeString(type.creator);
        out.writeString(type.type);
        out.writeString(type.extensions);
    }
    out.writeVarint(static_cast<int32_t>(settings.messages.size()));
    for (const std::string& message : settings.messages) out.writeString(message);
    out.writeByte(settings.mdiFrame ? 1 : 0);
    out.writeString(settings.mdiTitle);
    return out.bytes();
}

}  // namespace runtime
