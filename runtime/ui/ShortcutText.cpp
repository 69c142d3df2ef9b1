#include "ui/ShortcutText.h"

namespace runtime {
namespace {

constexpr const char* kKeys32To47[16] = {"Space", "PgUp",   "PgDn",    "End",      "Home", "Left", "Up",  "Right",
                                         "Down",  "Select", "Print",   "Execute",  "Snapshot", "Ins", "Del", "Help"};

}  // namespace

std::string keyName(uint32_t key) {
    switch (key) {
        case 8: return "Bsp";
        case 9: return "Tab";
        case 12: return "Clr";
        case 13: return "Enter";
        case 27: return "Esc";
        default: break;
    }
    if (key >= 32 && key <= 47) return kKeys32To47[key - 32];
    if (key >= 112 && key <= 135) return "F" + std::to_string(key - 111);
    return std::string(1, static_cast<char>(key));
}

std::string shortcutText(uint32_t key, KeyModifiers m) {
    std::string text;
    if (m.control) text += "Ctrl+";
    if (m.shift) text += "Shft+";
    if (m.alt) text += "Alt+";
    return text + keyName(key);
}

std::string menuShortcutText(const std::string& key) {
    if (key.empty()) return {};
    if (key.size() == 1) return "Ctrl+" + key;
    return key;
}

}  // namespace runtime
