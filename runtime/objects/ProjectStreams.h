// The menu bar stream and the settings stream of the project items, parsed
// into plain values. Parsing checks every count against the bytes present.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace runtime {

struct MenuEntry {
    int32_t kind = 0;  // 0 a menu or item, 1 another platform's application menu, 2 a placeholder
    std::string text;
    std::string name;
    std::optional<int32_t> index;  // the index within a menu item array
    std::string shortcut;
    std::string extra1, extra2;
    uint8_t flag = 0;
    int32_t classIndex = -1;
    bool hasSubmenu = false;
    std::vector<MenuEntry> items;
};

struct MenuBarStream {
    std::vector<MenuEntry> menus;  // the top-level records with their item lists
};

struct FileType {
    std::string name, creator, type, extensions;
};

struct SettingsStream {
    uint8_t firstByte = 0;
    uint32_t word1 = 0, word2 = 0;
    std::vector<FileType> fileTypes;
    std::vector<std::string> messages;  // at most 12 entries
    bool mdiFrame = false;
    std::string mdiTitle;
};

constexpr size_t kMaxMessages = 12;

// Null when the stream ends early or a count cannot be satisfied.
std::optional<MenuBarStream> parseMenuBarStream(std::span<const uint8_t> bytes);
std::optional<SettingsStream> parseSettingsStream(std::span<const uint8_t> bytes);

// Index values that stand for "no index".
bool isNoMenuIndex(int32_t value);

}  // namespace runtime
