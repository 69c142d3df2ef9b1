#include "objects/ProjectStreams.h"

#include "objects/DataStream.h"

namespace runtime {
namespace {

// Submenus nest; a damaged stream must not recurse without end.
constexpr int kMaxMenuDepth = 16;

bool readItemList(DataStream& in, std::vector<MenuEntry>& items, int depth);

bool readItemRecord(DataStream& in, MenuEntry& entry) {
    entry.kind = in.readVarint();
    entry.text = in.readString();
    entry.name = in.readString();
    const int32_t index = in.readVarint();
    if (!isNoMenuIndex(index)) entry.index = index;
    entry.shortcut = in.readString();
    entry.extra1 = in.readString();
    entry.extra2 = in.readString();
    entry.flag = in.readByte();
    entry.hasSubmenu = in.readByte() == 1;
    entry.classIndex = in.readVarint();
    return !in.failed();
}

bool readItemList(DataStream& in, std::vector<MenuEntry>& items, int depth) {
    if (depth > kMaxMenuDepth) return false;
    const int32_t count = in.readVarint();
    for (int32_t i = 0; i < count; ++i) {
        // Every record takes at least one byte: a count beyond the rest is damage.
        if (in.failed() || in.atEnd()) return false;
        MenuEntry& entry = items.emplace_back();
        if (!readItemRecord(in, entry)) return false;
        if (entry.hasSubmenu && !readItemList(in, entry.items, depth + 1)) return false;
    }
    return !in.failed();
}

}  // namespace

bool isNoMenuIndex(int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    return v == 0x80000000u || v == 0x80000010u || v == 0x80100000u;
}

std::optional<MenuBarStream> parseMenuBarStream(std::span<const uint8_t> bytes) {
    DataStream in(bytes);
    MenuBarStream bar;
    const int32_t count = in.readVarint();
    for (int32_t i = 0; i < count; ++i) {
        if (in.failed() || in.atEnd()) return std::nullopt;
        MenuEntry& menu = bar.menus.emplace_back();
        if (!readItemRecord(in, menu) || !readItemList(in, menu.items, 1)) return std::nullopt;
    }
    if (in.failed()) return std::nullopt;
    return bar;
}

std::optional<SettingsStream> parseSettingsStream(std::span<const uint8_t> bytes) {
    DataStream in(bytes);
    SettingsStream settings;
    settings.firstByte = in.readByte();
    settings.word1 = in.readWord();
    settings.word2 = in.readWord();
    const int32_t typeCount = in.readVarint();
    for (int32_t i = 0; i < typeCount && !in.failed(); ++i) {
        if (in.atEnd()) return std::nullopt;
        FileType type;
        type.name = in.readString();
        type.creator = in.readString();
        type.type = in.readString();
        type.extensions = in.readString();
        settings.fileTypes.push_back(std::move(type));
    }
    const int32_t messageCount = in.readVarint();
    for (int32_t i = 0; i < messageCount && !in.failed(); ++i) {
        if (in.atEnd()) return std::nullopt;
        std::string message = in.readString();
        // The table holds 12 entries; further ones are read past, not stored.
        if (settings.messages.size() < kMaxMessages) settings.messages.push_back(std::move(message));
    }
    settings.mdiFrame = in.readByte() != 0;
    settings.mdiTitle = in.readString();
    if (in.failed()) return std::nullopt;
    return settings;
}

}  // namespace runtime
