// The text that names a key combination, as menu items store their shortcuts:
// "Ctrl+", "Shft+", "Alt+" for the modifiers held, then the key's name.
#pragma once

#include <cstdint>
#include <string>

namespace runtime {

struct KeyModifiers {
    bool control = false;
    bool shift = false;
    bool alt = false;
};

// The name of a virtual key: "Bsp", "Tab", "Clr", "Enter", "Esc", the names of
// keys 32 to 47 ("Space" ... "Help"), "F1" to "F24", else the key's character.
std::string keyName(uint32_t virtualKey);
std::string shortcutText(uint32_t virtualKey, KeyModifiers modifiers);

// The shortcut text a menu item's key letter stands for: the items of the
// menu bar take Ctrl plus their key ("Q" -> "Ctrl+Q"); a key that already
// names its modifiers or a special key is kept as written.
std::string menuShortcutText(const std::string& key);

}  // namespace runtime
