// The application's menu bar as the image describes it: menus and their items
// as menu item objects, kept in a tree until the windows build native menus
// from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "objects/ObjectRef.h"
#include "objects/ProjectStreams.h"
#include "text/StringRecord.h"

namespace runtime {

// The instance data of a menu item object, after the data of `Object`.
struct MenuItemFields {
    StringHandle text;
    StringHandle name;
    int32_t index;  // -1: not an element of a menu item array
    StringHandle shortcut;
    int32_t flag;
    uint8_t enabled;
    uint8_t checked;
    uint8_t visible;
    uint8_t reserved;
    int32_t commandId;
};

constexpr int32_t kMenuItemFieldsOffset = 24;
#if defined(__i386__)
static_assert(kMenuItemFieldsOffset + sizeof(MenuItemFields) <= 72, "fits a MenuItem instance");
#endif

MenuItemFields& menuItemFields(ObjectHandle item);
// Releases the strings a menu item holds (the finaliser of `MenuItem`).
void finaliseMenuItem(ObjectHandle item, ClassRecord* owner);

struct MenuNode {
    ObjectRef item;
    std::vector<MenuNode> children;
};

// Builds the menu item objects of a parsed menu bar and keeps them as the
// process's menu bar (replacing any earlier one).
void buildMenuBar(const MenuBarStream& stream);
const std::vector<MenuNode>& menuBar();
// The same tree for the window subsystem, which adds and removes array elements.
std::vector<MenuNode>& mutableMenuBar();

}  // namespace runtime
